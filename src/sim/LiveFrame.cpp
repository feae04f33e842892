#include "sim/LiveFrame.h"

#include "core/app/Conversions.h"

#include <algorithm>

namespace rz::sim {

LiveFrameDecode decodeLiveFrame(std::span<const uint8_t> payload)
{
    if (payload.size() < 2)
        return {std::nullopt, LiveFrameError::LengthMismatch};
    const std::size_t encoded = std::size_t{payload[0]} << 8 | payload[1];
    if (encoded != payload.size() - 2 || encoded == 0)
        return {std::nullopt, LiveFrameError::LengthMismatch};
    const auto raw = decodeZeroRuns(payload.subspan(2));
    if (!raw)
        return {std::nullopt, LiveFrameError::BadPacking};
    const bool withDimmers =
        raw->size() == kLiveRawSizeWithDimmers && (*raw)[kLiveRawSize] == kDimmerBlockMarker;
    if (raw->size() != kLiveRawSize && !withDimmers)
        return {std::nullopt, LiveFrameError::BadLayout};

    LiveOutput out;
    std::copy_n(raw->begin(), kDmxAddresses, out.levels.begin() + 1);
    std::copy_n(raw->begin() + kDmxAddresses, kRelayCount, out.relays.begin() + 1);
    if (withDimmers) {
        out.dimmerBlock = true;
        std::copy_n(raw->begin() + kLiveRawSize + 1, kDimmerCount, out.dimmers.begin() + 1);
    }
    return {out, LiveFrameError::None};
}

} // namespace rz::sim
