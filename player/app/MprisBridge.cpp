#include "player/app/MprisBridge.h"

#include "platform/engine/Player.h"
#include "platform/shell/MprisService.h"
#include "platform/text/NativeName.h"
#include "platform/varnkit/VolSlider.h"
#include "player/app/KaraokeControlsBridge.h"
#include "player/app/LyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/karaoke/KaraokeData.h"
#include "player/library/PictureCtrl.h"
#include "player/library/TrackLibrary.h"
#include "player/widgets/ScrollStatic.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDBusObjectPath>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kPlaying = 3;
constexpr int kPaused = 2;
constexpr double kMicroseconds = 1e6;

// Transitions between tracks (buffering, waiting, transitioning) keep the status shown before.
std::optional<MprisService::PlaybackStatus> StatusOf(int playState)
{
    switch (playState) {
    case kPlaying: return MprisService::PlaybackStatus::Playing;
    case kPaused: return MprisService::PlaybackStatus::Paused;
    case 0:
    case 1:
    case 8:
    case 10: return MprisService::PlaybackStatus::Stopped;
    default: return std::nullopt;
    }
}

// The lyrics of the playing track as plain text. The scrolling line always holds the playing
// track's lyrics, from a file or the tags, or none; the karaoke window may still hold those of a
// track whose time tags are being edited.
QString PlainLyrics(CLyricCommands& lyrics)
{
    return lyrics.ScrollLine().Data().PlainText();
}

} // namespace

CMprisBridge::CMprisBridge(CSonavelDlg& dialog)
    : m_dialog(dialog),
      m_service(std::make_unique<MprisService>(QStringLiteral("Sonavel"), QStringLiteral("sonavel")))
{
    ConnectRequests();
    ConnectWindowState();
    Register();
}

CMprisBridge::~CMprisBridge()
{
    if (!m_artworkFile.isEmpty())
        QFile::remove(m_artworkFile);
}

void CMprisBridge::Register()
{
    // One player runs at a time; a name still held by another program's bus connection gets the
    // instance form MPRIS allows.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_service->registerOn(bus, QString::fromLatin1(InstanceName)))
        m_service->registerOn(bus, QStringLiteral("%1.instance%2").arg(InstanceName).arg(QCoreApplication::applicationPid()));
}

void CMprisBridge::ConnectRequests()
{
    MprisService* service = m_service.get();
    connect(service, &MprisService::raiseRequested, &m_dialog, &CSonavelDlg::RaiseWindow);
    connect(service, &MprisService::quitRequested, &m_dialog, &CSonavelDlg::EndSession, Qt::QueuedConnection);
    connect(service, &MprisService::playRequested, this, &CMprisBridge::Play);
    connect(service, &MprisService::pauseRequested, this, &CMprisBridge::Pause);
    connect(service, &MprisService::playPauseRequested, this, &CMprisBridge::PlayPause);
    connect(service, &MprisService::stopRequested, this, [this] { m_dialog.OnCommand(CSonavelDlg::IdStop); });
    connect(service, &MprisService::nextRequested, this, [this] { m_dialog.OnCommand(CSonavelDlg::IdNext); });
    connect(service, &MprisService::previousRequested, this, [this] { m_dialog.OnCommand(CSonavelDlg::IdPrevious); });
    connect(service, &MprisService::seekRequested, this, &CMprisBridge::SeekBy);
    connect(service, &MprisService::setPositionRequested, this, &CMprisBridge::SeekTo);
    connect(service, &MprisService::openUriRequested, this, &CMprisBridge::OpenUri);
    connect(service, &MprisService::loopChangeRequested, this,
            [this](bool on) { SetBoxChecked(CSonavelDlg::IdLoopBox, on); });
    connect(service, &MprisService::shuffleChangeRequested, this,
            [this](bool on) { SetBoxChecked(CSonavelDlg::IdShuffleBox, on); });
    connect(service, &MprisService::volumeChangeRequested, this, &CMprisBridge::SetVolume);
    ConnectRate();
}

// Rate is the karaoke controls' tempo: desktops set it on the same path as the strip.
void CMprisBridge::ConnectRate()
{
    using Control = CKaraokeControls::Control;
    MprisService* service = m_service.get();
    CKaraokeControls& controls = m_dialog.KaraokeControls().Controls();
    if (controls.IsAvailable(Control::Tempo))
        service->setRateRange(CKaraokeControls::MinTempo / 100.0, CKaraokeControls::MaxTempo / 100.0);
    service->setRate(controls.TempoRate());
    connect(&controls, &CKaraokeControls::ValueChanged, service, [service, &controls](Control control) {
        if (control == Control::Tempo)
            service->setRate(controls.TempoRate());
    });
    connect(service, &MprisService::rateChangeRequested, &controls,
            [&controls](double rate) { controls.SetTempo(int(std::lround(rate * 100))); });
}

void CMprisBridge::ConnectWindowState()
{
    MprisService* service = m_service.get();
    service->setLoop(m_dialog.LoopBox()->isChecked());
    service->setShuffle(m_dialog.ShuffleBox()->isChecked());
    connect(m_dialog.LoopBox(), &QCheckBox::toggled, service, &MprisService::setLoop);
    connect(m_dialog.ShuffleBox(), &QCheckBox::toggled, service, &MprisService::setShuffle);
    CVolSlider* volume = m_dialog.VolumeSlider();
    service->setVolume(volume->GetPos() / 100.0);
    for (auto signal : {&CWmpSlider::sliderTrack, &CWmpSlider::sliderSet, &CWmpSlider::sliderCancel})
        connect(volume, signal, service, [service, volume] { service->setVolume(volume->GetPos() / 100.0); });
    // The position slider released by the user is a jump the desktop is told of.
    connect(m_dialog.PositionSlider(), &CWmpSlider::sliderSet, service,
            [this] { m_service->notifySeeked(m_service->position()); });

    Player* player = m_dialog.GetPlayer();
    if (!player)
        return;
    service->setPositionSource([player] { return qint64(std::llround(player->currentPosition() * kMicroseconds)); });
    // Connected after the main window's own handler, which loads the track's lyrics and picture.
    connect(player, &Player::PlayStateChange, this, &CMprisBridge::OnPlayStateChange);
    if (CTrackLibrary* library = m_dialog.Library())
        connect(library, &CTrackLibrary::NowPlayingInfo, this,
                [this](const QString&, const QString& title, const QString& artist, const QString& album,
                       const QString& track) { OnNowPlayingInfo(title, artist, album, track); });
    OnPlayStateChange(player->playState());
}

int CMprisBridge::PlayState() const
{
    const Player* player = m_dialog.GetPlayer();
    return player ? player->playState() : 0;
}

void CMprisBridge::Play()
{
    // Paused, the pause button resumes where the track stopped; the play button would start it
    // from the last place it was played from.
    const int state = PlayState();
    if (state == kPaused)
        m_dialog.OnCommand(CSonavelDlg::IdPause);
    else if (state != kPlaying)
        m_dialog.OnCommand(CSonavelDlg::IdPlay);
}

void CMprisBridge::Pause()
{
    if (PlayState() == kPlaying)
        m_dialog.OnCommand(CSonavelDlg::IdPause);
}

void CMprisBridge::PlayPause()
{
    if (PlayState() == kPlaying)
        Pause();
    else
        Play();
}

void CMprisBridge::SeekBy(qint64 offsetMicroseconds)
{
    const qint64 length = m_service->metadata().value(QStringLiteral("mpris:length")).toLongLong();
    const qint64 target = std::max<qint64>(0, m_service->position() + offsetMicroseconds);
    // Beyond the end is the next track, as MPRIS asks.
    if (length > 0 && target > length)
        m_dialog.OnCommand(CSonavelDlg::IdNext);
    else
        SeekTo(target);
}

void CMprisBridge::SeekTo(qint64 positionMicroseconds)
{
    if (!m_dialog.Control().SeekTo(positionMicroseconds / kMicroseconds))
        return;
    m_dialog.Control().UpdateTick();
    m_service->notifySeeked(m_service->position());
}

void CMprisBridge::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (url.isLocalFile())
        m_dialog.OpenPath(url.toLocalFile());
}

void CMprisBridge::SetBoxChecked(int controlId, bool on)
{
    // A click, so that the engine's mode follows as when the user clicks the box.
    QCheckBox* box = controlId == CSonavelDlg::IdLoopBox ? m_dialog.LoopBox() : m_dialog.ShuffleBox();
    if (box->isChecked() != on)
        box->click();
}

void CMprisBridge::SetVolume(double volume)
{
    const int position = int(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    m_dialog.VolumeSlider()->SetPos(position);
    m_dialog.Control().OnSliderSet(CSonavelDlg::IdVolumeSlider, position);
    m_service->setVolume(position / 100.0);
}

void CMprisBridge::OnPlayStateChange(int state)
{
    if (const auto status = StatusOf(state))
        m_service->setPlaybackStatus(*status);
    const Player* player = m_dialog.GetPlayer();
    m_service->setCanGoNext(player->isAvailable(QStringLiteral("next")));
    m_service->setCanGoPrevious(player->isAvailable(QStringLiteral("previous")));
    m_service->setCanSeek(state == kPlaying || state == kPaused);
    UpdateMetadata();
}

void CMprisBridge::OnNowPlayingInfo(const QString& title, const QString& artist, const QString& album,
                                    const QString& track)
{
    m_texts.clear();
    if (!title.isEmpty())
        m_texts.insert(QStringLiteral("xesam:title"), title);
    if (!artist.isEmpty())
        m_texts.insert(QStringLiteral("xesam:artist"), QStringList{artist});
    if (!album.isEmpty())
        m_texts.insert(QStringLiteral("xesam:album"), album);
    // "3/12" and "03" both count as track 3.
    if (const int number = track.section(u'/', 0, 0).trimmed().toInt(); number > 0)
        m_texts.insert(QStringLiteral("xesam:trackNumber"), number);
    // A new track's texts come before its picture is shown; its play state brings them out.
    const Player* player = m_dialog.GetPlayer();
    const MediaPtr media = player ? player->currentMedia() : nullptr;
    if (media && media->sourceURL() == m_trackUrl)
        UpdateMetadata();
}

void CMprisBridge::UpdateMetadata()
{
    const Player* player = m_dialog.GetPlayer();
    const MediaPtr media = player ? player->currentMedia() : nullptr;
    const QString url = media ? media->sourceURL() : QString();
    if (url.isEmpty()) {
        m_trackUrl.clear();
        m_service->setMetadata({});
        return;
    }
    const bool newTrack = url != m_trackUrl;
    if (newTrack) {
        m_trackUrl = url;
        ++m_trackNumber;
    }
    QVariantMap metadata = m_texts;
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/sonavel/Sonavel/track/%1").arg(m_trackNumber))));
    metadata.insert(QStringLiteral("xesam:url"), NativeName::fileUrl(url));
    if (const double seconds = media->duration(); seconds > 0)
        metadata.insert(QStringLiteral("mpris:length"), qint64(std::llround(seconds * kMicroseconds)));
    if (const QString art = newTrack ? WriteArtwork(url) : m_service->metadata().value(QStringLiteral("mpris:artUrl")).toString();
        !art.isEmpty())
        metadata.insert(QStringLiteral("mpris:artUrl"), art);
    if (const QString lyrics = PlainLyrics(m_dialog.Lyrics()); !lyrics.isEmpty())
        metadata.insert(QStringLiteral("xesam:asText"), lyrics);
    if (metadata != m_service->metadata())
        m_service->setMetadata(metadata);
}

QString CMprisBridge::WriteArtwork(const QString& trackUrl)
{
    if (!m_artworkFile.isEmpty())
        QFile::remove(m_artworkFile);
    m_artworkFile.clear();
    const QImage& image = m_dialog.Thumbnail()->Image();
    if (image.isNull())
        return {};
    // A name of its own per track: desktops cache pictures by their address.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QByteArray key =
        QCryptographicHash::hash(NativeName::toBytes(trackUrl), QCryptographicHash::Sha1).toHex().left(16);
    const QString file = folder + QStringLiteral("/cover-") + QString::fromLatin1(key) + QStringLiteral(".png");
    if (!QDir().mkpath(folder) || !image.save(file, "PNG"))
        return {};
    m_artworkFile = file;
    return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
}
