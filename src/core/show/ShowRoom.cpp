#include "core/show/ShowRoom.h"

#include "core/liveout/DebugRelays.h"

namespace rz::show {

liveout::RoomOutputs roomOutputsOf(const Show& show, const liveout::DebugRelays* debug)
{
    liveout::RoomOutputs room;
    if (debug)
        room.debugRelays = debug->levels();
    room.thyristorDimming = show.lightControl.thyristorDimming == 1;
    if (show.currentScene < 1 || show.currentScene > scenes::kSceneCount)
        return room;
    const scenes::Scene& scene = show.scenes.scene(show.currentScene);
    for (int r = 1; r <= liveout::kRelayCount; ++r)
        room.sceneRelays[static_cast<std::size_t>(r)] = scene.relays[static_cast<std::size_t>(r)] != 0 ? 1 : 0;
    // Levels go out as stored, like the page shows them.
    for (int d = 1; d <= liveout::kDimmerCount; ++d)
        room.dimmers[static_cast<std::size_t>(d)] = scene.dimmers[static_cast<std::size_t>(d)];
    return room;
}

} // namespace rz::show
