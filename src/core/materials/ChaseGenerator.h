#pragma once
// The chase tool's generator: writes a running light into a material, one step per virtual
// fixture, a block of fixtures at the "on" level moving one fixture per step and wrapping from
// the last fixture to the first.
#include "core/materials/Material.h"

#include <string>
#include <string_view>

namespace rz::materials {

inline constexpr std::u16string_view kChaseTypeNone = u"00-无";
inline constexpr std::u16string_view kChaseTypeHeadToTail = u"01-头尾衔接";
inline constexpr std::u16string_view kMsgNoChaseType = u"未选择任何跑马类型";
inline constexpr std::u16string_view kMsgChaseNoFixtures = u"灯具数量不能为0";

// The tool's boxes as typed; a number that is empty or outside 0..255 takes its default.
struct ChaseInputs {
    std::u16string type;          // "01-头尾衔接" generates
    std::u16string litCount;      // width of the lit block, default 1
    std::u16string startPosition; // first lit fixture, default 1
    std::u16string onLevel;       // default 255
    std::u16string offLevel;      // default 0
    bool reverse = false;         // mirror the fixture order
};

struct ChaseOutcome {
    bool generated = false;
    std::u16string info; // the listing, or the reason nothing was generated
};

// Replaces the material's steps (clearSteps first) by exactly fixtureCount steps; step 1
// lights the block that ends at the start position. A start position or width outside
// 1..fixtureCount is brought into that range, so the chase always closes on itself.
ChaseOutcome generateChase(Material& m, const ChaseInputs& in);

} // namespace rz::materials
