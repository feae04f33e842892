#include "sim/RoomFunctions.h"

#include "core/link/Commands.h"
#include "sim/Controller.h"

#include <vector>

namespace rz::sim {

namespace {

namespace ce = link::cmd::ce;
constexpr uint8_t kVodKey = 0x22, kRoomControl = 0x25, kInternalKey = 0x30;
constexpr uint8_t kTestOn = 0x88, kTestOff = 0x44, kWallPanelPort = 0xA1, kVodPort = 0xA2;

} // namespace

std::string roomFunctionName(std::span<const uint8_t> payload)
{
    if (payload.empty())
        return {};
    const uint8_t second = payload.size() > 1 ? payload[1] : 0;
    switch (payload[0]) {
    case ce::kTestMode: return "test-mode";
    case ce::kDrumHit: return "bass";
    case ce::kCallScene: return "scene";
    case ce::kDenseDrumHits: return "dense-drums";
    case ce::kCheer: return "cheer";
    case ce::kBoo: return "boo";
    case ce::kSmokeMachine: return "smoke";
    case ce::kMicrophoneShake: return "mic-shake";
    case ce::kWallPanelReport:
        switch (second) {
        case kTestOn: return "test-functions-on";
        case kTestOff: return "test-functions-off";
        case kWallPanelPort: return "wall-panel-test";
        case kVodPort: return "vod-test";
        default: return {};
        }
    case kVodKey: return "vod-key";
    case kRoomControl:
        switch (second) {
        case 1: return "exhaust-fan";
        case 2: return "air-conditioner-mode";
        case 3: return "air-conditioner-fan";
        default: return {};
        }
    case kInternalKey: return "internal-key";
    default: return {};
    }
}

void RoomFunctions::routeInto(Controller& controller)
{
    for (uint8_t sub : {ce::kTestMode, ce::kDrumHit, ce::kCallScene, ce::kDenseDrumHits, ce::kCheer, ce::kBoo,
                        ce::kSmokeMachine, ce::kMicrophoneShake, ce::kWallPanelReport, kVodKey, kRoomControl,
                        kInternalKey})
        controller.route(link::cmd::kQuery, sub, *this);
}

void RoomFunctions::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    const std::string name = roomFunctionName(frame.payload);
    if (name.empty())
        return; // not a function the controller knows: ignored, as the controller does
    ControllerEvent e;
    e.kind = EventKind::RoomFunction;
    e.command = frame.command;
    e.payload = frame.payload;
    e.length = frame.payload.size();
    e.function = name;
    context.report(std::move(e));

    if (frame.payload[0] != ce::kWallPanelReport)
        return;
    const uint8_t what = frame.payload[1];
    if (what == kTestOn || what == kTestOff) {
        testFunctions = what == kTestOn;
        context.reply(link::cmd::kQuery, frame.payload);
        return;
    }
    // The test input comes back from its port; a report needs at least one byte behind it.
    if (frame.payload.size() >= 3)
        context.reply(link::cmd::kQuery, frame.payload);
}

} // namespace rz::sim
