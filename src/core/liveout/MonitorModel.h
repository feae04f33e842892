#pragma once
// What the universe monitor shows: the live frame's levels grouped by the library fixture on
// each address, the room's relays and dimmers, and one tile per fixture whose colour and
// pan/tilt come from its channel definitions. Plain data for a window that only draws.
#include "core/fixtures/AddressMap.h"
#include "core/fixtures/ChannelDefinitions.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/liveout/LiveFrame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rz::liveout {

// What a channel does for the look of its fixture, derived from its definition's name.
enum class ChannelRole : uint8_t {
    None,
    Red,
    Green,
    Blue,
    White,
    Amber,
    Dimmer,
    Pan,
    PanFine,
    Tilt,
    TiltFine,
};

// "R", "R1", "红" -> Red; "X", "X1" -> Pan; "X微调" -> PanFine; "调光", "染色调光", "Dimmer" ->
// Dimmer; and so on. Case and surrounding spaces do not matter; anything else is None.
ChannelRole roleOfChannelName(std::u16string_view name);

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// One fixture's look: the colour its colour channels mix (scaled by its dimmers), and for a
// moving fixture the pan and tilt as 0..1.
struct FixtureLook {
    Rgb colour;
    bool hasColour = false; // colour or dimmer channels exist
    std::optional<double> pan;
    std::optional<double> tilt;
    bool operator==(const FixtureLook&) const = default;
};

// The look of fixture channels with these roles at these levels (both indexed 1..n).
FixtureLook lookOf(const std::vector<ChannelRole>& roles, const std::vector<uint8_t>& levels);

class MonitorModel {
public:
    struct ChannelRow {
        int address = 0;         // 1..512
        int channel = 0;         // 1..32 within the fixture
        std::u16string definition;
        uint8_t level = 0;
        bool shared = false;     // another fixture uses this address too
    };
    struct FixtureGroup {
        int fixture = 0;         // 1..100
        std::u16string name;
        std::vector<ChannelRow> rows;
        std::vector<ChannelRole> roles; // per row
        FixtureLook look;
        bool overlaps = false;
    };

    // The fixtures and their channel names; call again when the library changed.
    void rebuild(const fixtures::FixtureLibrary& library, const fixtures::ChannelDefinitions& names);
    // The levels of one live frame and the room outputs sent beside it.
    void update(const DmxFrame& frame, const RoomOutputs& room);

    const std::vector<FixtureGroup>& fixtures() const { return groups; }
    // Addresses no fixture occupies, with their levels, ascending.
    const std::vector<int>& freeAddresses() const { return unowned; }
    uint8_t level(int address) const;
    // Relay k (1..24) as the controller switches it: forced from the PC or by the scene.
    bool relayOn(int k) const;
    uint8_t dimmer(int k) const; // 1..8
    bool dimmersShown() const { return thyristorDimming; }

private:
    std::vector<FixtureGroup> groups;
    std::vector<int> unowned;
    DmxFrame levels{};
    std::array<bool, kRelayCount + 1> relays{};
    std::array<uint8_t, kDimmerCount + 1> dimmers{};
    bool thyristorDimming = false;
};

} // namespace rz::liveout
