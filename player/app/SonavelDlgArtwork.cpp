// The main window's side of the artwork: the thumbnail, the artwork window it opens, and bringing
// both up to date for the playing track on every play-state change and thumbnail click.

#include "player/app/SonavelDlg.h"

#include "player/library/ArtWorkDlg.h"
#include "player/library/ArtworkSource.h"
#include "player/library/PictureCtrl.h"
#include "player/library/TrackLibrary.h"

CPictureCtrl* CSonavelDlg::CreateArtworkThumbnail(QWidget* parent)
{
    return new CPictureCtrl(parent);
}

CArtWorkDlg* CSonavelDlg::ArtWorkWindow() const
{
    return m_artWork;
}

QImage CSonavelDlg::CurrentArtwork()
{
    if (!m_library || m_library->PlayingSlot() == CTrackLibrary::DiscSlot)
        return {};
    const MediaPtr media = GetPlayer()->currentMedia();
    const QString url = media ? media->sourceURL() : QString();
    if (url.isEmpty()) {
        UpdateNowPlayingInfo(); // without a current item it empties the scrolling line's texts
        return {};
    }
    const int slot = m_library->PlayingSlot();
    return ArtworkSource::ImageFor(slot == 0 || slot == 1 ? &m_library->Records(slot) : nullptr, url);
}

void CSonavelDlg::RefreshArtwork()
{
    // Decoded once per track for both controls (and the desktop's media controls, which take
    // the thumbnail's): the play-state changes of the same track reuse it. A track without a
    // picture, or with one that cannot be decoded, clears the thumbnail and hides the artwork
    // window rather than leaving the last track's picture on show; the window comes back with
    // the next track that has one.
    const MediaPtr media = GetPlayer() ? GetPlayer()->currentMedia() : nullptr;
    const QString url = media ? media->sourceURL() : QString();
    const bool sameTrack = !url.isEmpty() && url == m_artworkUrl && media == m_artworkMedia.lock();
    const QImage artwork = sameTrack ? Thumbnail()->Image() : CurrentArtwork();
    m_artworkUrl = url;
    m_artworkMedia = media;
    if (!sameTrack)
        Thumbnail()->SetImage(artwork);
    if (!m_artWork)
        return;
    if (!sameTrack || m_artWork->Picture()->Image().cacheKey() != artwork.cacheKey())
        m_artWork->Picture()->SetImage(artwork);
    m_artWork->setVisible(!artwork.isNull());
}

void CSonavelDlg::OnArtworkClicked()
{
    if (!m_artWork) {
        m_artWork = new CArtWorkDlg(this);
        // Closing destroys the window a moment later; from now on it is gone for the updates.
        connect(m_artWork, &QDialog::finished, this, [this] { m_artWork = nullptr; });
    }
    RefreshArtwork();
    if (m_artWork->isVisible()) {
        m_artWork->raise();
        m_artWork->activateWindow();
    }
}

void CSonavelDlg::DestroyArtworkWindow()
{
    delete m_artWork;
}
