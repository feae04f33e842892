#pragma once
// The live output frame (command 0x60) as the controller takes it apart: a 16-bit encoded
// length, then zero-run packed bytes that unpack to 512 DMX levels and 24 relay bytes,
// optionally followed by 0xA8 and 8 dimmer levels.
#include "core/app/Universe.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace rz::sim {

inline constexpr uint8_t kLiveFrameCommand = 0x60;
inline constexpr int kDmxAddresses = kUniverseSize;
inline constexpr int kRelayCount = 24;
inline constexpr int kDimmerCount = 8;
inline constexpr uint8_t kDimmerBlockMarker = 0xA8;
inline constexpr std::size_t kLiveRawSize = kDmxAddresses + kRelayCount;             // 536
inline constexpr std::size_t kLiveRawSizeWithDimmers = kLiveRawSize + 1 + kDimmerCount; // 545

// What the controller outputs. Indexes follow the device's numbering: levels[a] is DMX
// address a (1..512), relays[j] relay j (1..24), dimmers[d] dimmer d (1..8); index 0 unused.
struct LiveOutput {
    std::array<uint8_t, kDmxAddresses + 1> levels{};
    std::array<uint8_t, kRelayCount + 1> relays{};
    std::array<uint8_t, kDimmerCount + 1> dimmers{};
    bool dimmerBlock = false; // the frame carried the dimmer block; dimmers are 0 otherwise

    bool operator==(const LiveOutput&) const = default;
};

enum class LiveFrameError {
    None,
    LengthMismatch, // the encoded length does not match the payload
    BadPacking,     // a zero-run pair the packer never writes
    BadLayout,      // unpacked size is neither 536 nor 545 with the 0xA8 marker
};

struct LiveFrameDecode {
    std::optional<LiveOutput> output;
    LiveFrameError error = LiveFrameError::None;
};

LiveFrameDecode decodeLiveFrame(std::span<const uint8_t> payload);

} // namespace rz::sim
