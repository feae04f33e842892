#pragma once
// What the live frame carries besides the universe: the relays and dimmer levels of the
// current scene, thyristor dimming from the light-control settings, and the title bar's relay
// debugging.
#include "core/liveout/LiveFrame.h"
#include "core/show/Show.h"

namespace rz::liveout {
class DebugRelays;
}

namespace rz::show {

// `debug` may be null (no relay debugging). A current scene outside 1..50 sends no relays.
liveout::RoomOutputs roomOutputsOf(const Show& show, const liveout::DebugRelays* debug);

} // namespace rz::show
