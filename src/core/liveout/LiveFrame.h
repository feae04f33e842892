#pragma once
// The live universe and the live frame (command 0x60) that carries it to the controller:
// DMX addresses 1..512, the 24 relay bytes, and with thyristor dimming the byte 0xA8 and the
// 8 dimmer levels; zero-run packed, behind the packed length as a 16-bit big-endian number.
#include "core/app/Universe.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rz::liveout {

// Index a is the level of DMX address a. 1..512 are sent; 0 and 513..600 are room for
// fixtures that run past the end of the universe.
inline constexpr std::size_t kDmxFrameSize = 601;
using DmxFrame = std::array<uint8_t, kDmxFrameSize>;

inline constexpr int kSentAddresses = kUniverseSize;
inline constexpr int kRelayCount = 24;
inline constexpr int kDebugRelayCount = 30;
inline constexpr int kDimmerCount = 8;
inline constexpr uint8_t kLiveFrameCommand = 0x60;
inline constexpr uint8_t kDimmerBlockMarker = 0xA8;
inline constexpr std::size_t kRawLiveFrameSize = kSentAddresses + kRelayCount; // 536
inline constexpr std::size_t kRawLiveFrameSizeWithDimmers = kRawLiveFrameSize + 1 + kDimmerCount;

// The room devices as the current scene, the light-control settings and the title bar's
// relay debugging have them. Indexes follow the device numbering; index 0 is unused.
struct RoomOutputs {
    std::array<uint8_t, kRelayCount + 1> sceneRelays{};      // 0 or 1
    std::array<uint8_t, kDebugRelayCount + 1> debugRelays{}; // 0 = not forced, 255 = forced on
    bool thyristorDimming = false;
    std::array<uint8_t, kDimmerCount + 1> dimmers{};
};

// The frame before packing: 536 bytes, or 545 with thyristor dimming. A non-zero debug relay
// replaces the scene's relay.
std::vector<uint8_t> buildRawLiveFrame(const DmxFrame& frame, const RoomOutputs& room);

// Packed length L (high byte, low byte), then the L packed bytes.
std::vector<uint8_t> liveFramePayload(std::span<const uint8_t> raw);

} // namespace rz::liveout
