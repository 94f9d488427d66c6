#include "demo/DemoSong.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>

namespace {

// "A4", "C#5", "Bb3" to Hz, equal temperament with A4 = 440 Hz; 0 when not a pitch.
double PitchFrequency(const QString& pitch)
{
    static const QRegularExpression form(QStringLiteral("^([A-G])([#b]?)([0-8])$"));
    const QRegularExpressionMatch match = form.match(pitch);
    if (!match.hasMatch())
        return 0;
    static const int semitoneOfLetter[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    int semitone = semitoneOfLetter[match.captured(1).at(0).unicode() - 'A'];
    if (match.captured(2) == QLatin1String("#"))
        ++semitone;
    else if (match.captured(2) == QLatin1String("b"))
        --semitone;
    const int midi = (match.captured(3).toInt() + 1) * 12 + semitone;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

} // namespace

std::optional<CDemoSong> CDemoSong::Read(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = file.errorString();
        return std::nullopt;
    }
    CDemoSong song;
    song.m_clock = song.LeadIn;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const bool ok = equals > 0 && !line.left(equals).contains(QLatin1Char(':'))
                            ? song.ReadSetting(line.left(equals).trimmed(), line.mid(equals + 1).trimmed(), error)
                            : song.ReadNoteLine(line, error);
        if (!ok) {
            error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(error);
            return std::nullopt;
        }
    }
    if (song.Notes.isEmpty()) {
        error = path + QStringLiteral(": no notes");
        return std::nullopt;
    }
    return song;
}

bool CDemoSong::ReadSetting(const QString& key, const QString& value, QString& error)
{
    if (key == QLatin1String("title"))
        Title = value;
    else if (key == QLatin1String("artist"))
        Artist = value;
    else if (key == QLatin1String("album"))
        Album = value;
    else if (key == QLatin1String("track"))
        Track = value.toInt();
    else if (key == QLatin1String("tempo"))
        m_tempo = value.toDouble();
    else if (key == QLatin1String("ruby"))
        HeaderRubies.append(value);
    else if (key == QLatin1String("cover"))
        CoverInTag = value == QLatin1String("tag");
    else if (key == QLatin1String("lyrics") && value == QLatin1String("kra"))
        Lyrics = LyricForm::OwnDialect;
    else if (key == QLatin1String("lyrics") && value == QLatin1String("lrc"))
        Lyrics = LyricForm::Lrc;
    else if (key == QLatin1String("lyrics") && value == QLatin1String("tag"))
        Lyrics = LyricForm::TagOnly;
    else {
        error = QStringLiteral("unknown setting %1 = %2").arg(key, value);
        return false;
    }
    if (m_tempo <= 0) {
        error = QStringLiteral("tempo must be positive");
        return false;
    }
    return true;
}

bool CDemoSong::ReadNoteLine(const QString& line, QString& error)
{
    const double beat = 60.0 / m_tempo;
    for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList fields = word.split(QLatin1Char(':'));
        const double beats = fields.value(1).toDouble();
        const bool rest = fields[0] == QLatin1String("R");
        DemoNote note{m_clock, beats * beat, rest ? 0 : PitchFrequency(fields[0]), fields.value(2), m_lines};
        note.syllable.replace(QLatin1Char('_'), QLatin1Char(' '));
        if (fields.size() < 2 || fields.size() > 3 || beats <= 0 || (!rest && note.frequency == 0)) {
            error = QStringLiteral("not a note: ") + word;
            return false;
        }
        Notes.append(note);
        m_clock += note.duration;
    }
    ++m_lines;
    return true;
}

double CDemoSong::Length() const
{
    return m_clock + TailOut;
}

int CDemoSong::LineCount() const
{
    return m_lines;
}

double CDemoSong::SyllableEnd(qsizetype noteIndex) const
{
    for (qsizetype i = noteIndex + 1; i < Notes.size(); ++i) {
        if (!Notes[i].syllable.isEmpty() || Notes[i].frequency == 0)
            return Notes[i].start;
    }
    return m_clock;
}
