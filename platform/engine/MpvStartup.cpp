#include "platform/engine/MpvStartup.h"

#include <clocale>

namespace MpvStartup {

namespace {

void setOption(mpv_handle* mpv, const char* name, const char* value)
{
    mpv_set_option_string(mpv, name, value);
}

} // namespace

mpv_handle* start(const Player::Options& options)
{
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return nullptr;
    setOption(mpv, "config", "no");
    setOption(mpv, "terminal", "no");
    setOption(mpv, "idle", "yes");
    // Each item is loaded on its own and its end comes as an end-of-file event with its entry id,
    // which cannot be missed the way a flag property flipping back and forth can.
    setOption(mpv, "keep-open", "no");
    setOption(mpv, "ytdl", "no");
    setOption(mpv, "load-scripts", "no");
    // mpv's built-in scripts (on-screen controller, statistics, console, profile switching) each
    // keep a Lua state and a thread that wakes up with every event: nothing the player shows.
    setOption(mpv, "osc", "no");
    setOption(mpv, "load-stats-overlay", "no");
    setOption(mpv, "load-osd-console", "no");
    setOption(mpv, "load-auto-profiles", "no");
    setOption(mpv, "input-default-bindings", "no");
    setOption(mpv, "input-vo-keyboard", "no");
    // Cover art is the player's own business; an mp3 must not open a picture.
    setOption(mpv, "audio-display", "no");
    setOption(mpv, "ao", options.nullAudio ? "null" : "pulse,alsa,jack,oss,null");
    if (!options.audioFile.isEmpty()) {
        setOption(mpv, "ao", "pcm");
        setOption(mpv, "ao-pcm-file", options.audioFile.toUtf8().constData());
    }
    // Video goes to the surface once it can draw (Engine::chooseVideoOutput); until then nowhere,
    // since libmpv output without a render context would fail every video-only file.
    setOption(mpv, "vo", "null");
    if (options.untimed) {
        setOption(mpv, "untimed", "yes");
        setOption(mpv, "ao-null-untimed", "yes");
    }
    if (mpv_initialize(mpv) < 0) {
        mpv_terminate_destroy(mpv);
        return nullptr;
    }
    return mpv;
}

} // namespace MpvStartup
