#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Key, tempo and lyric offset per track ("曲ごとに記憶"), by the track's path, kept in a small
// JSON file of the data folder that is written atomically. A file that cannot be read counts as
// empty; values read from it are clamped to the controls' ranges, so a hand-edited or damaged
// file never gives a key or tempo the engine refuses.
class CTrackMemory
{
public:
    struct Entry {
        int Key = 0;            // semitones
        int Tempo = 100;        // percent
        int OffsetNudge = 0;    // milliseconds
        bool IsNeutral() const { return Key == 0 && Tempo == 100 && OffsetNudge == 0; }
        bool operator==(const Entry&) const = default;
    };
    // The oldest stored tracks are forgotten beyond this many.
    static constexpr int MaxEntries = 5000;

    explicit CTrackMemory(const QString& filePath = DefaultPath());

    // "<data folder>/sonavel/karaoke-controls.json".
    static QString DefaultPath();
    static Entry Clamped(const Entry& entry);

    std::optional<Entry> Find(const QString& trackPath) const;
    // Neutral values remove the track. Stored in memory; Save() writes the file.
    void Store(const QString& trackPath, const Entry& entry);
    bool IsDirty() const { return m_dirty; }
    // Writes the file when something changed since it was read or written.
    bool Save();
    QString FilePath() const { return m_path; }

private:
    void Load();

    QString m_path;
    QHash<QString, Entry> m_entries;
    QStringList m_order;   // least recently stored first
    bool m_dirty = false;
};
