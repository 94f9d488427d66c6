#include "player/app/OnlineLyricCommands.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "platform/engine/Media.h"
#include "platform/engine/Player.h"
#include "platform/net/LrclibClient.h"
#include "platform/profile/Profile.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelVersion.h"
#include "player/karaoke/AutoLyricsLookup.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeOnlineMenu.h"
#include "player/karaoke/LrclibLyrics.h"
#include "player/karaoke/LyricPublishDlg.h"
#include "player/karaoke/LyricSearchDlg.h"
#include "player/karaoke/OnlineLyricsStrings.h"
#include "player/karaoke/SavedLyricsFolder.h"
#include "player/library/TrackItem.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "player/settings/SettingsKeys.h"

#include <QUrl>

namespace {

using namespace Settings;

const QString kPublishCaption = QStringLiteral("OnLyricsPublish");

QString appSection()
{
    return QString::fromLatin1(App::Section);
}

QString userAgent()
{
    return QStringLiteral(SONAVEL_PRODUCT_NAME "/" SONAVEL_PRODUCT_VERSION " (" SONAVEL_HOME_PAGE ")");
}

} // namespace

COnlineLyricCommands::COnlineLyricCommands(CSonavelDlg& dialog, CLyricCommands& lyrics)
    : m_dialog(dialog), m_lyrics(lyrics), m_client(std::make_unique<LrclibClient>())
{
    RegisterOnlineLyricsStrings();
    m_client->SetUserAgent(userAgent());
    m_client->SetServer(QUrl(GetProfileStringInit(appSection(), App::LyricsServer,
                                                  QString::fromLatin1(App::DefaultLyricsServer))));
    m_autoLookupSetting = GetProfileInt(appSection(), App::LyricsAutoLookup, App::LyricsAutoLookupNotAsked);
    m_autoLookup = std::make_unique<CAutoLyricsLookup>(*m_client, m_misses);
    m_karaokeMenu = new CKaraokeOnlineMenu(
        lyrics.KaraokeWindow(), [this] { SearchForPlaying(); }, [this] { PublishShown(); },
        [this] { return CanPublishShown(); });
}

COnlineLyricCommands::~COnlineLyricCommands()
{
    delete m_search;
    delete m_publish;
}

CLyricSearchDlg* COnlineLyricCommands::SearchWindow() const
{
    return m_search;
}

CLyricPublishDlg* COnlineLyricCommands::PublishWindow() const
{
    return m_publish;
}

void COnlineLyricCommands::SetAutoLookupOn(bool on)
{
    m_autoLookupSetting = on ? 1 : 0;
    WriteProfileInt(appSection(), App::LyricsAutoLookup, m_autoLookupSetting);
}

QString COnlineLyricCommands::PlayingPath() const
{
    const Player* player = m_dialog.GetPlayer();
    const MediaPtr media = player ? player->currentMedia() : nullptr;
    return media ? media->sourceURL() : QString();
}

LyricsTrack COnlineLyricCommands::TrackOf(const QString& path, int row) const
{
    LyricsTrack track{path, {}};
    const Player* player = m_dialog.GetPlayer();
    const MediaPtr playing = player ? player->currentMedia() : nullptr;
    const MediaPtr media = playing && playing->sourceURL() == path ? playing : Media::forFile(path);
    const CTrackItem* item = row >= 0 ? m_dialog.TrackList()->GetItem(row) : nullptr;
    if (item && item->FullPath() == path) {
        track.Tags.TrackName = item->TitleText;
        track.Tags.ArtistName = item->ArtistText;
        track.Tags.AlbumName = item->AlbumText;
    } else {
        track.Tags.TrackName = media->getItemInfo(QStringLiteral("Title")).value_or(QString());
        track.Tags.ArtistName = media->getItemInfo(QStringLiteral("Author")).value_or(QString());
        track.Tags.AlbumName = media->getItemInfo(QStringLiteral("WM/AlbumTitle")).value_or(QString());
    }
    track.Tags.TrackName = CSavedLyricsFolder::TitleOrFileName(path, track.Tags.TrackName.trimmed());
    track.Tags.ArtistName = track.Tags.ArtistName.trimmed();
    track.Tags.AlbumName = track.Tags.AlbumName.trimmed();
    track.Tags.Duration = media->duration();
    return track;
}

std::optional<QString> COnlineLyricCommands::FindLyrics(const QString& path, int row) const
{
    const CTrackItem* item = row >= 0 ? m_dialog.TrackList()->GetItem(row) : nullptr;
    if (item && item->FullPath() == path)
        return CSavedLyricsFolder::FindLyrics(path, item->ArtistText, item->TitleText);
    const LyricsTrack track = TrackOf(path, row);
    return CSavedLyricsFolder::FindLyrics(path, track.Tags.ArtistName, track.Tags.TrackName);
}

// ---- Search ---------------------------------------------------------------------------------

void COnlineLyricCommands::SearchForRow(int row)
{
    if (const CTrackItem* item = row >= 0 ? m_dialog.TrackList()->GetItem(row) : nullptr)
        OpenSearch(TrackOf(item->FullPath(), row));
}

void COnlineLyricCommands::SearchForPlaying()
{
    const QString path = PlayingPath();
    if (!path.isEmpty())
        OpenSearch(TrackOf(path, m_dialog.FindPlayingRow(path)));
}

void COnlineLyricCommands::OpenSearch(const LyricsTrack& track)
{
    AskAutoLookupOnce();
    delete m_search;
    m_search = new CLyricSearchDlg(*m_client, track, &m_dialog);
    m_search->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_search, &CLyricSearchDlg::LyricsSaved, this,
            [this](const QString& trackPath, const QString& lyricPath) { OnLyricsSaved(trackPath, lyricPath, true); });
    m_search->show();
}

void COnlineLyricCommands::AskAutoLookupOnce()
{
    if (m_autoLookupSetting != App::LyricsAutoLookupNotAsked)
        return;
    const QString text = StringTable::format(OnlineLyricsString::AutoLookupQuestion,
                                             {m_client->Server().toString(QUrl::RemovePath)});
    SetAutoLookupOn(ShowMessageBox(&m_dialog, text, QStringLiteral("LyricsAutoLookup"),
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES);
}

// ---- Automatic lookup ---------------------------------------------------------------------------

void COnlineLyricCommands::OnTrackWithoutLyrics(const QString& path, int row)
{
    if (!IsAutoLookupOn() || path.isEmpty())
        return;
    m_autoLookup->LookUp(TrackOf(path, row), [this](const QString& trackPath, const QString& lyricPath) {
        OnLyricsSaved(trackPath, lyricPath, false);
    });
}

void COnlineLyricCommands::OnLyricsSaved(const QString& trackPath, const QString& lyricPath, bool showWindow)
{
    CTrackListCtrl* list = m_dialog.TrackList();
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (const CTrackItem* item = list->GetItem(row); item && item->FullPath() == trackPath)
            list->SetCheck(row, true);
    // Within the same play: a track that has gone on to the next keeps its file for next time.
    if (trackPath == PlayingPath())
        m_lyrics.AdoptLyricFile(lyricPath, showWindow);
}

// ---- Publish ----------------------------------------------------------------------------------

bool COnlineLyricCommands::CanPublishShown() const
{
    return !m_lyrics.KaraokeWindow().LyricPath().isEmpty() && !PlayingPath().isEmpty();
}

void COnlineLyricCommands::PublishShown()
{
    const QString path = PlayingPath();
    if (CanPublishShown())
        OpenPublish(TrackOf(path, m_dialog.FindPlayingRow(path)), m_lyrics.KaraokeWindow().LyricPath());
}

void COnlineLyricCommands::PublishForRow(int row)
{
    const CTrackItem* item = row >= 0 ? m_dialog.TrackList()->GetItem(row) : nullptr;
    if (!item)
        return;
    if (const auto lyricPath = FindLyrics(item->FullPath(), row))
        OpenPublish(TrackOf(item->FullPath(), row), *lyricPath);
}

void COnlineLyricCommands::OpenPublish(const LyricsTrack& track, const QString& lyricPath)
{
    CKaraokeData document;
    int codePage = m_dialog.Options().KaraokeCodePage;
    const bool inOrder = document.ReadKaraokeFile(lyricPath, codePage);
    const CLrclibLyrics::Lines lines = CLrclibLyrics::LineSynced(document);
    if (!inOrder || lines.Synced.isEmpty()) {
        ShowMessageBox(&m_dialog, StringTable::text(OnlineLyricsString::PublishNeedsTimedFile), kPublishCaption,
                       MB_OK | MB_ICONWARNING);
        return;
    }
    LyricsTrack named = track;
    // The names the user gave the lyrics in the karaoke window come before the tags'.
    if (!document.Header.Title.trimmed().isEmpty())
        named.Tags.TrackName = document.Header.Title.trimmed();
    if (!document.Header.Artist.trimmed().isEmpty())
        named.Tags.ArtistName = document.Header.Artist.trimmed();
    delete m_publish;
    m_publish = new CLyricPublishDlg(*m_client, named, lines, &m_dialog);
    m_publish->setAttribute(Qt::WA_DeleteOnClose);
    m_publish->show();
}
