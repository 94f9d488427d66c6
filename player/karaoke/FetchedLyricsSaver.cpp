#include "player/karaoke/FetchedLyricsSaver.h"

#include "common/ui/PathParts.h"
#include "platform/text/TextFile.h"
#include "player/karaoke/SavedLyricsFolder.h"

#include <QDir>

namespace {

QByteArray utf8Lines(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    return bytes;
}

QString besideTrack(const QString& trackPath)
{
    CPathParts lyric(trackPath);
    lyric.Extension = QStringLiteral("lrc");
    return lyric.Path();
}

} // namespace

CFetchedLyricsSaver::Result CFetchedLyricsSaver::Save(const LyricsTrack& track, const QString& text,
                                                      const ConfirmOverwrite& confirmOverwrite)
{
    const QByteArray bytes = utf8Lines(text);
    const LrclibTrack& tags = track.Tags;
    if (const auto existing = CSavedLyricsFolder::FindLyrics(track.Path, tags.ArtistName, tags.TrackName)) {
        if (!confirmOverwrite || !confirmOverwrite(*existing))
            return {Outcome::Declined, *existing};
        return {TextFile::writeAtomically(*existing, bytes) ? Outcome::Saved : Outcome::Failed, *existing};
    }
    const QString beside = besideTrack(track.Path);
    if (TextFile::writeAtomically(beside, bytes))
        return {Outcome::Saved, beside};
    // The track's folder cannot be written (a read-only share, a disc): the user's data folder.
    const QString saved = CSavedLyricsFolder::PathFor(tags.ArtistName, CSavedLyricsFolder::TitleOrFileName(track.Path, tags.TrackName));
    if (!QDir().mkpath(CSavedLyricsFolder::Folder()))
        return {Outcome::Failed, saved};
    return {TextFile::writeAtomically(saved, bytes) ? Outcome::Saved : Outcome::Failed, saved};
}
