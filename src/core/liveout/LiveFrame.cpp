#include "core/liveout/LiveFrame.h"

#include "core/app/Conversions.h"

namespace rz::liveout {

std::vector<uint8_t> buildRawLiveFrame(const DmxFrame& frame, const RoomOutputs& room)
{
    std::vector<uint8_t> raw;
    raw.reserve(kRawLiveFrameSizeWithDimmers);
    raw.insert(raw.end(), frame.begin() + 1, frame.begin() + 1 + kSentAddresses);
    for (int j = 1; j <= kRelayCount; ++j)
        raw.push_back(room.debugRelays[j] != 0 ? room.debugRelays[j] : room.sceneRelays[j]);
    if (room.thyristorDimming) {
        raw.push_back(kDimmerBlockMarker);
        raw.insert(raw.end(), room.dimmers.begin() + 1, room.dimmers.end());
    }
    return raw;
}

std::vector<uint8_t> liveFramePayload(std::span<const uint8_t> raw)
{
    const std::vector<uint8_t> packed = encodeZeroRuns(raw);
    std::vector<uint8_t> payload;
    payload.reserve(packed.size() + 2);
    payload.push_back(static_cast<uint8_t>(packed.size() >> 8));
    payload.push_back(static_cast<uint8_t>(packed.size() & 0xFF));
    payload.insert(payload.end(), packed.begin(), packed.end());
    return payload;
}

} // namespace rz::liveout
