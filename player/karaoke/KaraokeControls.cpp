#include "player/karaoke/KaraokeControls.h"

#include "platform/profile/Profile.h"
#include "player/karaoke/LyricOffsetWriter.h"

#include <algorithm>
#include <utility>

namespace {

const QString kRememberKey = QStringLiteral("RememberPerTrack");

QString Signed(int value)
{
    return value == 0 ? QStringLiteral("±0") : QString::asprintf("%+d", value);
}

} // namespace

CKaraokeControls::CKaraokeControls(const QString& memoryFile, QObject* parent)
    : QObject(parent), m_memory(memoryFile)
{
    m_remember = GetProfileInt(QString::fromLatin1(Section), kRememberKey, 0) != 0;
    m_memorySave.setSingleShot(true);
    m_memorySave.setInterval(MemorySaveDelayMs);
    connect(&m_memorySave, &QTimer::timeout, this, &CKaraokeControls::SaveMemory);
}

CKaraokeControls::~CKaraokeControls()
{
    WriteProfileInt(QString::fromLatin1(Section), kRememberKey, m_remember ? 1 : 0);
    SaveMemory();
}

int CKaraokeControls::SnappedTempo(int percent)
{
    const int clamped = std::clamp(percent, MinTempo, MaxTempo);
    return MinTempo + (clamped - MinTempo + TempoStep / 2) / TempoStep * TempoStep;
}

void CKaraokeControls::SetKey(int semitones)
{
    const int key = std::clamp(semitones, MinKey, MaxKey);
    if (key == m_key)
        return;
    m_key = key;
    Changed(Control::Key);
}

void CKaraokeControls::SetTempo(int percent)
{
    const int tempo = SnappedTempo(percent);
    if (tempo == m_tempo)
        return;
    m_tempo = tempo;
    Changed(Control::Tempo);
}

void CKaraokeControls::SetVocalReduction(bool on)
{
    if (on == m_vocalReduction)
        return;
    m_vocalReduction = on;
    Changed(Control::VocalReduction);
}

void CKaraokeControls::SetOffsetNudge(int milliseconds)
{
    const int nudge = std::clamp(milliseconds, -MaxOffsetNudge, MaxOffsetNudge);
    if (nudge == m_offsetNudge)
        return;
    m_offsetNudge = nudge;
    Changed(Control::Offset);
}

void CKaraokeControls::Reset(Control control)
{
    switch (control) {
    case Control::Key: SetKey(0); break;
    case Control::Tempo: SetTempo(100); break;
    case Control::VocalReduction: SetVocalReduction(false); break;
    case Control::Offset: SetOffsetNudge(0); break;
    }
}

void CKaraokeControls::Changed(Control control)
{
    if (control != Control::VocalReduction)
        StoreForTrack();
    emit ValueChanged(control);
}

void CKaraokeControls::SetAvailable(Control control, bool available)
{
    bool& flag = m_available[int(control)];
    if (flag == available)
        return;
    flag = available;
    emit StateChanged();
}

bool CKaraokeControls::IsAvailable(Control control) const
{
    return m_available[int(control)];
}

void CKaraokeControls::SetMonoItem(bool mono)
{
    if (mono == m_monoItem)
        return;
    m_monoItem = mono;
    emit StateChanged();
}

void CKaraokeControls::SetLyrics(int fileOffset, const QString& lyricPath)
{
    m_fileOffset = fileOffset;
    m_lyricPath = lyricPath;
    emit StateChanged();
}

bool CKaraokeControls::SaveOffset(int codePage)
{
    if (!CanSaveOffset() || !CLyricOffsetWriter::Write(m_lyricPath, codePage, LyricOffset()))
        return false;
    emit OffsetSaved(LyricOffset());
    m_fileOffset = LyricOffset();
    m_offsetNudge = 0;
    Changed(Control::Offset);
    emit StateChanged();
    return true;
}

void CKaraokeControls::OnNewTrack(const QString& trackPath)
{
    SaveMemory();
    m_trackPath = trackPath;
    const CTrackMemory::Entry stored =
        m_remember ? m_memory.Find(trackPath).value_or(CTrackMemory::Entry()) : CTrackMemory::Entry();
    // Applied before the path is known to the store, so that restoring does not store again.
    const QString path = std::exchange(m_trackPath, QString());
    SetKey(stored.Key);
    SetTempo(stored.Tempo);
    SetOffsetNudge(stored.OffsetNudge);
    m_trackPath = path;
}

void CKaraokeControls::SetRememberPerTrack(bool on)
{
    if (on == m_remember)
        return;
    m_remember = on;
    // Turned on while a track plays: its values are the ones to keep for it.
    StoreForTrack();
    emit StateChanged();
}

void CKaraokeControls::StoreForTrack()
{
    if (!m_remember || m_trackPath.isEmpty())
        return;
    m_memory.Store(m_trackPath, {m_key, m_tempo, m_offsetNudge});
    if (m_memory.IsDirty())
        m_memorySave.start();
}

void CKaraokeControls::SaveMemory()
{
    m_memorySave.stop();
    m_memory.Save();
}

QString CKaraokeControls::KeyText(int semitones)
{
    return Signed(semitones);
}

QString CKaraokeControls::TempoText(int percent)
{
    return QStringLiteral("%1%").arg(percent);
}

QString CKaraokeControls::OffsetText(int milliseconds)
{
    return Signed(milliseconds) + QStringLiteral(" ms");
}
