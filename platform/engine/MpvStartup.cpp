#include "platform/engine/MpvStartup.h"

#include <clocale>
#include <utility>

namespace MpvStartup {

namespace {

void setOption(mpv_handle* mpv, const char* name, const char* value)
{
    mpv_set_option_string(mpv, name, value);
}

} // namespace

// Options every engine starts with.
constexpr std::pair<const char*, const char*> kFixedOptions[] = {
    {"config", "no"},
    {"terminal", "no"},
    {"idle", "yes"},
    // Each item is loaded on its own and its end comes as an end-of-file event with its entry id,
    // which cannot be missed the way a flag property flipping back and forth can.
    {"keep-open", "no"},
    {"ytdl", "no"},
    {"load-scripts", "no"},
    // mpv's built-in scripts (on-screen controller, statistics, console, profile switching) each
    // keep a Lua state and a thread that wakes up with every event: nothing the player shows.
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    // Cover art is the player's own business; an mp3 must not open a picture.
    {"audio-display", "no"},
};

mpv_handle* start(const Player::Options& options)
{
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return nullptr;
    for (const auto& [name, value] : kFixedOptions)
        setOption(mpv, name, value);
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
