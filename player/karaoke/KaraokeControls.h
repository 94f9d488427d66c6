#pragma once

#include "player/karaoke/TrackMemory.h"

#include <QObject>
#include <QString>
#include <QTimer>

// The karaoke controls while a track plays: key, tempo, vocal reduction and a nudge of the lyric
// offset, and "曲ごとに記憶", which keeps key, tempo and nudge per track. It holds the values within
// their ranges and tells of every change; the main window applies them to the engine and to the
// lyric displays, and the strip, the shortcuts and the menu change them.
//
// On a new track the key, the tempo and the nudge go back to neutral, or, with "曲ごとに記憶" on,
// to what was stored for that track. Vocal reduction is the singer's choice for the session: it
// stays as it is.
//
// The nudge moves the lyrics on top of the offset their file has; SaveOffset writes the sum into
// the lyric file (nothing else of it changes) and the nudge becomes 0.
class CKaraokeControls : public QObject
{
    Q_OBJECT
public:
    static constexpr char Section[] = "CKaraokeControls";
    static constexpr int MinKey = -6;
    static constexpr int MaxKey = 6;
    static constexpr int MinTempo = 50;     // percent
    static constexpr int MaxTempo = 150;
    static constexpr int TempoStep = 5;
    static constexpr int OffsetStep = 50;   // milliseconds
    static constexpr int MaxOffsetNudge = 30000;
    // Changes are written to the per-track file this long after the last one.
    static constexpr int MemorySaveDelayMs = 1000;

    enum class Control { Key, Tempo, VocalReduction, Offset };

    // Reads "RememberPerTrack" (section "CKaraokeControls") and the per-track file.
    explicit CKaraokeControls(const QString& memoryFile = CTrackMemory::DefaultPath(), QObject* parent = nullptr);
    // Writes the setting and what is still to be stored.
    ~CKaraokeControls() override;

    int Key() const { return m_key; }
    int Tempo() const { return m_tempo; }
    double TempoRate() const { return m_tempo / 100.0; }
    bool VocalReduction() const { return m_vocalReduction; }
    int OffsetNudge() const { return m_offsetNudge; }
    // The lyrics' own offset plus the nudge: what the lyrics run at now.
    int LyricOffset() const { return m_fileOffset + m_offsetNudge; }

    // Values are clamped to their ranges (the tempo to a step as well).
    void SetKey(int semitones);
    void SetTempo(int percent);
    void SetVocalReduction(bool on);
    void SetOffsetNudge(int milliseconds);
    void StepKey(int steps) { SetKey(m_key + steps); }
    void StepTempo(int steps) { SetTempo(m_tempo + steps * TempoStep); }
    void StepOffset(int steps) { SetOffsetNudge(m_offsetNudge + steps * OffsetStep); }
    // Back to neutral: key 0, tempo 100 %, vocal reduction off, no nudge.
    void Reset(Control control);
    static int SnappedTempo(int percent);

    // Whether the engine can apply a control; one it cannot is greyed, with the reason as its tip.
    void SetAvailable(Control control, bool available);
    bool IsAvailable(Control control) const;
    // The playing item has a single channel: vocal reduction has no centre to cancel in it.
    void SetMonoItem(bool mono);
    bool IsMonoItem() const { return m_monoItem; }

    // The lyrics now shown: their own offset, and the file it can be saved to (empty for lyrics
    // from a tag, whose nudge is kept for the session only).
    void SetLyrics(int fileOffset, const QString& lyricPath);
    QString LyricPath() const { return m_lyricPath; }
    bool CanSaveOffset() const { return !m_lyricPath.isEmpty() && m_offsetNudge != 0; }
    // Writes LyricOffset() into the lyric file read in the code page; false (nothing changed)
    // when it could not be written.
    bool SaveOffset(int codePage);

    // A new track started: neutral values, or the stored ones with "曲ごとに記憶" on.
    void OnNewTrack(const QString& trackPath);
    QString TrackPath() const { return m_trackPath; }
    void SetRememberPerTrack(bool on);
    bool RememberPerTrack() const { return m_remember; }
    CTrackMemory& Memory() { return m_memory; }

    // The values as the strip and the menu show them: "+3", "80%", "+150 ms" (0 as "±0").
    static QString KeyText(int semitones);
    static QString TempoText(int percent);
    static QString OffsetText(int milliseconds);

signals:
    // A value changed (from any source); the main window applies it.
    void ValueChanged(CKaraokeControls::Control control);
    // Availability, the mono flag, the lyrics or "曲ごとに記憶" changed: what is shown changes.
    void StateChanged();
    // The lyric file now has this offset; the nudge goes to 0 right after.
    void OffsetSaved(int offset);

private:
    void Changed(Control control);
    void StoreForTrack();
    void SaveMemory();

    int m_key = 0;
    int m_tempo = 100;
    bool m_vocalReduction = false;
    int m_offsetNudge = 0;
    int m_fileOffset = 0;
    QString m_lyricPath;
    QString m_trackPath;
    bool m_remember = false;
    bool m_monoItem = false;
    bool m_available[4] = {true, true, true, true};
    CTrackMemory m_memory;
    QTimer m_memorySave;
};
