#pragma once
// The GBK (code page 936) two-byte table, generated once into GbkTable.cpp.
#include <array>
#include <cstdint>

namespace rz::gbk {

inline constexpr int kFirstLead = 0x81;
inline constexpr int kLastLead = 0xFE;
inline constexpr int kFirstTrail = 0x40;
inline constexpr int kLastTrail = 0xFE;
inline constexpr int kTrailCount = kLastTrail - kFirstTrail + 1;

// Indexed by (lead - kFirstLead) * kTrailCount + (trail - kFirstTrail); 0 where the pair
// is not a character.
extern const std::array<char16_t, (kLastLead - kFirstLead + 1) * kTrailCount> kToUnicode;

struct UnicodeToGbk {
    char16_t unicode;
    uint16_t gbk; // lead byte in the high half
};
// Sorted by unicode.
extern const std::array<UnicodeToGbk, 21791> kFromUnicode;

} // namespace rz::gbk
