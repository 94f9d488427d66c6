#pragma once

#include "platform/engine/Player.h"

#include <mpv/client.h>

// How the engine starts libmpv: its options for the player's use (no configuration files, no
// scripts, no key bindings, the outputs the Options ask for), initialised. A benchmark that
// measures mpv alone starts it the same way.
namespace MpvStartup {

// nullptr when libmpv cannot be started.
mpv_handle* start(const Player::Options& options);

} // namespace MpvStartup
