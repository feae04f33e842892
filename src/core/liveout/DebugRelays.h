#pragma once
// The title bar's relay debugging: relays forced on from the PC whatever the scene says.
// Stored as "调试继电器NN" in the work settings file; the live frame lays them over the scene's
// relays. The title bar only draws this state and passes clicks in.
#include "core/app/Notifier.h"
#include "core/liveout/LiveFrame.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace rz::liveout {

inline constexpr int kShownDebugRelays = 24;  // the title bar's relay images
inline constexpr int kStoredDebugRelays = 30; // keys read at start-up
static_assert(kStoredDebugRelays <= kDebugRelayCount);

class DebugRelays {
public:
    using Levels = std::array<uint8_t, kDebugRelayCount + 1>; // index 0 unused

    explicit DebugRelays(std::filesystem::path workFile) : workFile(std::move(workFile)) {}

    // The keys for relays 1..30; a value that is not a number in 0..255 is ignored.
    void load();
    // Relay k (1..24) between 0 and 255, stored at once. Other numbers change nothing.
    void toggle(int k);

    const Levels& levels() const { return relays; }
    bool forced(int k) const { return k >= 1 && k <= kDebugRelayCount && relays[static_cast<std::size_t>(k)] != 0; }

    // After load() and every toggle (the live sender sends fresh frames).
    Notifier<> changed;

private:
    std::filesystem::path workFile;
    Levels relays{};
};

} // namespace rz::liveout
