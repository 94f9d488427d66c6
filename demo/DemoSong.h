#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One note of a demo melody and the syllable sung on it (empty when the note holds the previous
// syllable or is a rest).
struct DemoNote {
    double start = 0;     // seconds from the start of the track
    double duration = 0;  // seconds
    double frequency = 0; // Hz; 0 for a rest
    QString syllable;     // "_" already turned into a trailing space
    int line = 0;         // lyric line of the note
};

// A song of the demo library read from a .song file: tags, tempo, where its lyrics go, and its
// notes timed in seconds, so the melody and the lyric time tags come from the same numbers.
class CDemoSong
{
public:
    enum class LyricForm { OwnDialect, Lrc, TagOnly };

    // Nothing, with the reason in `error`, when the file cannot be read or a line is not understood.
    static std::optional<CDemoSong> Read(const QString& path, QString& error);

    QString Title, Artist, Album;
    // "base,reading" of each "ruby =" line: readings the lyric file's header gives.
    QStringList HeaderRubies;
    int Track = 0;
    LyricForm Lyrics = LyricForm::OwnDialect;
    bool CoverInTag = false;
    QList<DemoNote> Notes;
    double LeadIn = 2.0;   // silence before the first note
    double TailOut = 2.0;  // silence after the last note

    double Length() const;
    int LineCount() const;
    // Seconds from a note's start to the next sung note or rest, i.e. how long its syllable lasts.
    double SyllableEnd(qsizetype noteIndex) const;

private:
    bool ReadSetting(const QString& key, const QString& value, QString& error);
    bool ReadNoteLine(const QString& line, QString& error);

    double m_tempo = 100;
    double m_clock = 0;
    int m_lines = 0;
};
