#include "platform/engine/Player.h"

#include "platform/engine/AudioEffects.h"
#include "platform/engine/MpvCommand.h"
#include "platform/engine/MpvProperties.h"
#include "platform/engine/MpvStartup.h"
#include "platform/engine/VideoSurface.h"

#include <QPointer>
#include <QWidget>

#include <mpv/client.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <random>

using namespace MpvProperties;

namespace {

enum PlayState { Undefined = 0, Stopped = 1, Paused = 2, Playing = 3, MediaEnded = 8, Transitioning = 9, Ready = 10 };
enum OpenState { PlaylistChanged = 7, MediaChanging = 8, MediaOpening = 12, MediaOpen = 13 };

// Items remembered for "previous" in shuffle; a long session forgets the oldest.
constexpr size_t kHistoryLimit = 1000;

struct PictureSize {
    bool hasVideo = false;
    int width = 0;
    int height = 0;
};

// The first real video track (not cover art) of the open file.
PictureSize pictureSize(mpv_handle* mpv)
{
    const QByteArray prefix = trackPrefix(mpv, "video", false);
    if (prefix.isEmpty())
        return {};
    return {true, int(intProperty(mpv, prefix + "demux-w")), int(intProperty(mpv, prefix + "demux-h"))};
}

} // namespace

struct Player::Engine {
    Player* owner = nullptr;
    mpv_handle* mpv = nullptr;
    Options options;
    std::unique_ptr<PlaylistCollection> playlists;
    std::unique_ptr<MediaCollection> library;
    std::unique_ptr<CdromCollection> discs;
    std::unique_ptr<AudioEffects> effects;
    QPointer<VideoSurface> surface;

    int state = Undefined;
    PlaylistPtr playlist;
    MediaPtr media;
    int index = -1;
    bool loop = false;
    bool shuffle = false;
    bool autoStart = true;
    int volume = 100;
    QByteArray videoOutput = "null";

    // The file mpv was last asked to open, and whether it has opened.
    int64_t expectedEntry = -1;
    int64_t startedEntry = -1;
    bool loaded = false;
    bool startOnLoad = true;
    // Where the last seek went: mpv reports it exactly only once playback runs again.
    std::optional<double> pendingSeek;
    bool seekSettled = false;
    int failuresInRow = 0;

    std::vector<MediaPtr> playedThisRound;
    std::deque<MediaPtr> history;
    mutable std::mt19937 random{std::random_device{}()};

    // Signals waiting to be emitted, in order.
    std::deque<std::function<void()>> announcements;
    bool flushScheduled = false;
    bool handlingEvents = false;
    // Counts the starts and stops, so a handler that took over is noticed.
    int generation = 0;

    void setState(int newState);
    void announceOpenState(int openState);
    void announce(std::function<void()> signal);
    void flushAnnouncements();
    bool isOpen() const { return state == Playing || state == Paused || state == Ready; }
    int resolvedIndex() const;
    bool open(int itemIndex, bool start);
    void stopPlayback();
    void chooseVideoOutput();
    void finishList();
    void advance();
    bool goTo(int itemIndex);
    int nextIndex() const;
    bool roundIsOver() const;
    int previousIndex() const;
    void remember(const MediaPtr& item);
    void forgetUpTo(int itemIndex);
    void resetRound();

    void handle(const mpv_event& event);
    void fileLoaded();
    void fileEnded(const mpv_event_end_file& end);
    void failed();
    void reachedEnd();
};

Player::Options Player::Options::fromEnvironment()
{
    Options options;
    if (qEnvironmentVariable("SONAVEL_ENGINE_OUTPUT") == QLatin1String("null")) {
        options.nullAudio = true;
        options.nullVideo = true;
    }
    return options;
}

std::unique_ptr<Player> Player::create(const Options& options)
{
    auto engine = std::make_unique<Engine>();
    engine->mpv = MpvStartup::start(options);
    if (!engine->mpv)
        return nullptr;
    engine->options = options;
    return std::unique_ptr<Player>(new Player(std::move(engine)));
}

Player::Player(std::unique_ptr<Engine> engine) : d(std::move(engine))
{
    d->owner = this;
    const QString folder =
        d->options.playlistFolder.isEmpty() ? PlaylistCollection::defaultFolder() : d->options.playlistFolder;
    d->playlists = std::make_unique<PlaylistCollection>(folder);
    d->library = std::make_unique<MediaCollection>(*d->playlists);
    d->discs = std::make_unique<CdromCollection>(d->options.discDrives);
    d->effects = std::make_unique<AudioEffects>(d->mpv);
    connect(d->discs.get(), &CdromCollection::mediaChanged, this, &Player::CdromMediaChange);

    mpv_set_wakeup_callback(
        d->mpv,
        [](void* player) {
            QMetaObject::invokeMethod(static_cast<Player*>(player), "drainEvents", Qt::QueuedConnection);
        },
        this);
}

Player::~Player()
{
    mpv_set_wakeup_callback(d->mpv, nullptr, nullptr);
    if (d->surface) {
        d->surface->detach();
    }
    mpv_terminate_destroy(d->mpv);
}

// ---- state and playlist logic -------------------------------------------------------------

// Events go out in order from the event loop, never from inside an operation the player's code
// called: what an operation changes is announced once control is back in the event loop, what
// mpv reports is announced while its event is handled (so a handler sees the matching item).
void Player::Engine::setState(int newState)
{
    if (state == newState)
        return;
    state = newState;
    announce([player = owner, newState] { emit player->PlayStateChange(newState); });
}

void Player::Engine::announceOpenState(int openState)
{
    announce([player = owner, openState] { emit player->OpenStateChange(openState); });
}

void Player::Engine::announce(std::function<void()> signal)
{
    announcements.push_back(std::move(signal));
    if (!handlingEvents && !flushScheduled) {
        flushScheduled = true;
        QMetaObject::invokeMethod(
            owner, [this] { flushAnnouncements(); }, Qt::QueuedConnection);
    }
}

void Player::Engine::flushAnnouncements()
{
    flushScheduled = false;
    while (!announcements.empty()) {
        const auto signal = std::move(announcements.front());
        announcements.pop_front();
        signal();
    }
}

// The index of the current item, found again when the list was changed under it.
int Player::Engine::resolvedIndex() const
{
    if (!playlist)
        return -1;
    if (playlist->item(index) == media && media)
        return index;
    const int found = playlist->indexOf(media);
    if (found >= 0)
        return found;
    return std::clamp(index, 0, std::max(playlist->count() - 1, 0));
}

bool Player::Engine::open(int itemIndex, bool start)
{
    const MediaPtr item = playlist ? playlist->item(itemIndex) : nullptr;
    if (!item)
        return false;
    ++generation;
    index = itemIndex;
    media = item;
    if (shuffle && std::find(playedThisRound.begin(), playedThisRound.end(), item) == playedThisRound.end())
        playedThisRound.push_back(item);
    setState(Transitioning);
    announceOpenState(MediaChanging);

    chooseVideoOutput();
    effects->itemOpening();
    int pause = start ? 0 : 1;
    mpv_set_property(mpv, "pause", MPV_FORMAT_FLAG, &pause);
    MpvCommand load("loadfile");
    load.arg("url", item->playbackUrl()).arg("flags", QStringLiteral("replace"));
    if (const Media::PlaybackOptions options = item->playbackOptions(); !options.empty())
        load.arg("options", options);
    mpv_node result{};
    loaded = false;
    startOnLoad = start;
    pendingSeek.reset();
    expectedEntry = -1;
    if (load.run(mpv, &result) < 0) {
        setState(Stopped);
        return false;
    }
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0)
                expectedEntry = result.u.list->values[i].u.int64;
        }
    }
    mpv_free_node_contents(&result);
    announceOpenState(MediaOpening);
    return true;
}

void Player::Engine::chooseVideoOutput()
{
    const QByteArray wanted = !options.nullVideo && surface && surface->hasRenderer() ? QByteArrayLiteral("libmpv")
                                                                                      : QByteArrayLiteral("null");
    if (wanted != videoOutput && mpv_set_property_string(mpv, "vo", wanted.constData()) >= 0)
        videoOutput = wanted;
}

void Player::Engine::stopPlayback()
{
    ++generation;
    MpvCommand("stop").run(mpv);
    expectedEntry = -1;
    loaded = false;
    pendingSeek.reset();
}

// The end of the list without loop: stopped, with the first item current again.
void Player::Engine::finishList()
{
    stopPlayback();
    index = 0;
    media = playlist ? playlist->item(0) : nullptr;
    resetRound();
    setState(Stopped);
}

void Player::Engine::advance()
{
    const int next = nextIndex();
    if (next < 0 || !goTo(next))
        finishList();
}

// Opens the item that follows in play order; a shuffle round that is over starts a new one.
bool Player::Engine::goTo(int itemIndex)
{
    if (shuffle && roundIsOver())
        playedThisRound.clear();
    return open(itemIndex, true);
}

bool Player::Engine::roundIsOver() const
{
    const int count = playlist ? playlist->count() : 0;
    const int current = resolvedIndex();
    for (int i = 0; i < count; ++i) {
        if (i != current && std::find(playedThisRound.begin(), playedThisRound.end(), playlist->item(i)) ==
                                playedThisRound.end())
            return false;
    }
    return true;
}

int Player::Engine::nextIndex() const
{
    const int count = playlist ? playlist->count() : 0;
    if (count == 0)
        return -1;
    const int current = resolvedIndex();
    if (!shuffle) {
        if (current + 1 < count)
            return current + 1;
        return loop ? 0 : -1;
    }
    const bool newRound = roundIsOver();
    if (newRound && !loop)
        return -1;
    // A new round takes every item again, the one just played last unless it is the only one.
    std::vector<int> candidates;
    for (int i = 0; i < count; ++i) {
        const bool played =
            std::find(playedThisRound.begin(), playedThisRound.end(), playlist->item(i)) != playedThisRound.end();
        if ((i != current || count == 1) && (newRound || !played))
            candidates.push_back(i);
    }
    return candidates[std::uniform_int_distribution<size_t>(0, candidates.size() - 1)(random)];
}

// In shuffle the last remembered item still in the list; otherwise the one before in list order.
int Player::Engine::previousIndex() const
{
    const int count = playlist ? playlist->count() : 0;
    if (count == 0)
        return -1;
    if (shuffle) {
        for (auto it = history.rbegin(); it != history.rend(); ++it) {
            const int found = playlist->indexOf(*it);
            if (found >= 0)
                return found;
        }
    }
    const int current = resolvedIndex();
    if (current > 0)
        return current - 1;
    return loop ? count - 1 : -1;
}

// Only shuffle goes back through what was played; list order needs no memory.
void Player::Engine::remember(const MediaPtr& item)
{
    if (!shuffle || !item)
        return;
    history.push_back(item);
    if (history.size() > kHistoryLimit)
        history.pop_front();
}

// Going back to an item drops it and whatever was remembered after it.
void Player::Engine::forgetUpTo(int itemIndex)
{
    const MediaPtr item = playlist ? playlist->item(itemIndex) : nullptr;
    const auto found = std::find(history.rbegin(), history.rend(), item);
    if (found != history.rend())
        history.erase(std::prev(found.base()), history.end());
}

void Player::Engine::resetRound()
{
    playedThisRound.clear();
    history.clear();
}

// ---- mpv events ---------------------------------------------------------------------------

void Player::drainEvents()
{
    d->flushAnnouncements();
    while (d->mpv) {
        const mpv_event* event = mpv_wait_event(d->mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        d->handlingEvents = true;
        d->handle(*event);
        d->handlingEvents = false;
        d->flushAnnouncements();
    }
}

void Player::Engine::handle(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        startedEntry = static_cast<mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (startedEntry == expectedEntry && expectedEntry >= 0)
            fileLoaded();
        break;
    case MPV_EVENT_END_FILE:
        fileEnded(*static_cast<mpv_event_end_file*>(event.data));
        break;
    case MPV_EVENT_HOOK:
        effects->hook(event);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        seekSettled = true;
        if (state == Playing)
            pendingSeek.reset();
        break;
    default:
        break;
    }
}

void Player::Engine::fileLoaded()
{
    loaded = true;
    failuresInRow = 0;
    const PictureSize picture = pictureSize(mpv);
    media->noteOpened(doubleProperty(mpv, "duration").value_or(0), picture.width, picture.height, picture.hasVideo);
    announceOpenState(MediaOpen);
    setState(startOnLoad ? Playing : Ready);
}

void Player::Engine::fileEnded(const mpv_event_end_file& end)
{
    if (end.playlist_entry_id != expectedEntry || expectedEntry < 0)
        return;
    if (end.reason == MPV_END_FILE_REASON_EOF && loaded) {
        expectedEntry = -1;
        loaded = false;
        reachedEnd();
        return;
    }
    // An end before the file was open means it could not be opened. A playlist file (redirect)
    // is no media item of its own either: mpv would go on with its entries behind the list's back.
    if (end.reason == MPV_END_FILE_REASON_ERROR || end.reason == MPV_END_FILE_REASON_EOF ||
        end.reason == MPV_END_FILE_REASON_REDIRECT)
        failed();
}

// The item cannot be played: go on with the next one, unless every item has failed in turn.
void Player::Engine::failed()
{
    expectedEntry = -1;
    loaded = false;
    ++failuresInRow;
    if (!playlist || failuresInRow >= playlist->count()) {
        failuresInRow = 0;
        finishList();
        return;
    }
    advance();
}

void Player::Engine::reachedEnd()
{
    remember(media);
    setState(MediaEnded);
    // A handler of "media ended" may start something else (another folder's list); then that wins.
    const int before = generation;
    flushAnnouncements();
    if (generation == before)
        advance();
}

// ---- controls -----------------------------------------------------------------------------

bool Player::isAvailable(const QString& action) const
{
    const bool hasItems = d->playlist && d->playlist->count() > 0;
    if (action == QLatin1String("play")) {
        const bool starting = d->state == Transitioning && d->startOnLoad;
        return d->state != Playing && !starting && (hasItems || d->media);
    }
    if (action == QLatin1String("pause"))
        return d->state == Playing;
    if (action == QLatin1String("stop"))
        return d->state != Stopped && d->state != Undefined;
    if (action == QLatin1String("next"))
        return d->nextIndex() >= 0;
    if (action == QLatin1String("previous"))
        return d->previousIndex() >= 0;
    return false;
}

bool Player::play()
{
    if (!isAvailable(QStringLiteral("play")))
        return false;
    // An item still opening without auto start: let it start when it is open.
    if (d->state == Transitioning) {
        int pause = 0;
        mpv_set_property(d->mpv, "pause", MPV_FORMAT_FLAG, &pause);
        d->startOnLoad = true;
        return true;
    }
    if (d->state == Paused || d->state == Ready) {
        int pause = 0;
        if (mpv_set_property(d->mpv, "pause", MPV_FORMAT_FLAG, &pause) < 0)
            return false;
        if (d->seekSettled)
            d->pendingSeek.reset();
        d->setState(Playing);
        return true;
    }
    const int start = std::max(d->resolvedIndex(), 0);
    return d->open(start, true);
}

bool Player::pause()
{
    if (d->state != Playing)
        return false;
    int pause = 1;
    if (mpv_set_property(d->mpv, "pause", MPV_FORMAT_FLAG, &pause) < 0)
        return false;
    d->setState(Paused);
    return true;
}

bool Player::stop()
{
    if (d->state == Stopped || d->state == Undefined)
        return false;
    d->stopPlayback();
    d->setState(Stopped);
    return true;
}

bool Player::next()
{
    const int target = d->nextIndex();
    if (target < 0)
        return false;
    d->remember(d->media);
    return d->goTo(target);
}

bool Player::previous()
{
    const int target = d->previousIndex();
    if (target < 0)
        return false;
    d->forgetUpTo(target);
    return d->open(target, true);
}

bool Player::playItem(const MediaPtr& item)
{
    const int target = d->playlist && item ? d->playlist->indexOf(item) : -1;
    if (target < 0)
        return false;
    if (d->media != item)
        d->remember(d->media);
    return d->open(target, true);
}

double Player::currentPosition() const
{
    if (d->pendingSeek)
        return *d->pendingSeek;
    if (!d->loaded)
        return 0;
    return std::max(doubleProperty(d->mpv, "time-pos").value_or(0), 0.0);
}

bool Player::setCurrentPosition(double seconds)
{
    if (!d->loaded || !d->isOpen() || !(seconds >= 0))
        return false;
    const double duration = d->media ? d->media->duration() : 0;
    if (duration > 0)
        seconds = std::min(seconds, duration);
    MpvCommand seek("seek");
    seek.arg("target", QString::number(seconds, 'f', 3)).arg("flags", QStringLiteral("absolute+exact"));
    if (seek.run(d->mpv) < 0)
        return false;
    d->pendingSeek = seconds;
    d->seekSettled = false;
    return true;
}

// ---- settings -----------------------------------------------------------------------------

bool Player::setMode(const QString& mode, bool on)
{
    if (mode == QLatin1String("loop")) {
        d->loop = on;
        return true;
    }
    if (mode == QLatin1String("shuffle")) {
        d->shuffle = on;
        d->resetRound();
        return true;
    }
    return false;
}

std::optional<bool> Player::getMode(const QString& mode) const
{
    if (mode == QLatin1String("loop"))
        return d->loop;
    if (mode == QLatin1String("shuffle"))
        return d->shuffle;
    return std::nullopt;
}

bool Player::autoStart() const
{
    return d->autoStart;
}

void Player::setAutoStart(bool on)
{
    d->autoStart = on;
}

int Player::volume() const
{
    return d->volume;
}

bool Player::setVolume(int volume)
{
    if (volume < 0 || volume > 100)
        return false;
    double value = volume;
    if (mpv_set_property(d->mpv, "volume", MPV_FORMAT_DOUBLE, &value) < 0)
        return false;
    d->volume = volume;
    return true;
}

bool Player::setPitch(int semitones)
{
    return d->effects->setPitch(semitones);
}

bool Player::setTempo(double rate)
{
    return d->effects->setTempo(rate);
}

bool Player::setVocalReduction(bool on)
{
    return d->effects->setVocalReduction(on);
}

const AudioEffects& Player::audioEffects() const
{
    return *d->effects;
}

// ---- items and playlists ------------------------------------------------------------------

int Player::playState() const
{
    return d->state;
}

MediaPtr Player::currentMedia() const
{
    return d->media;
}

PlaylistPtr Player::currentPlaylist() const
{
    return d->playlist;
}

bool Player::setCurrentPlaylist(const PlaylistPtr& playlist)
{
    if (!playlist)
        return false;
    const bool wasActive = d->state != Stopped && d->state != Undefined;
    d->stopPlayback();
    d->playlist = playlist;
    d->index = 0;
    d->media = playlist->item(0);
    d->failuresInRow = 0;
    d->resetRound();
    d->announceOpenState(PlaylistChanged);
    if (d->media && d->open(0, d->autoStart))
        return true;
    if (wasActive)
        d->setState(Stopped);
    return true;
}

MediaPtr Player::newMedia(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    return Media::forFile(path);
}

QString Player::versionInfo() const
{
    return stringProperty(d->mpv, "mpv-version");
}

bool Player::fullScreen() const
{
    return d->surface && d->surface->window()->isFullScreen();
}

bool Player::setFullScreen(bool on)
{
    if (!d->surface)
        return false;
    QWidget* window = d->surface->window();
    if (on == window->isFullScreen())
        return true;
    if (on)
        window->showFullScreen();
    else
        window->showNormal();
    return true;
}

PlaylistCollection& Player::playlistCollection()
{
    return *d->playlists;
}

MediaCollection& Player::mediaCollection()
{
    return *d->library;
}

CdromCollection& Player::cdromCollection()
{
    return *d->discs;
}

VideoSurface* Player::createVideoSurface(QWidget* parent)
{
    if (!d->surface)
        d->surface = new VideoSurface(*this, d->options.nullVideo ? nullptr : d->mpv, parent);
    return d->surface;
}

VideoSurface* Player::videoSurface() const
{
    return d->surface;
}

void Player::videoRendererChanged()
{
    // mpv opens the output again for the file that is open, so a video that began while the
    // surface could not draw (its window not shown yet) appears now.
    d->chooseVideoOutput();
}
