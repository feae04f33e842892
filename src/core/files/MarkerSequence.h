#pragma once
// The fixed 20-byte marker sequence that the light-control and effects sections end with, and
// that the information text carries as 40 hexadecimal digits. Nothing ever checks it; it only
// has to be the same everywhere.
#include "core/app/HexText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rz::files {

inline constexpr std::array<uint8_t, 20> kMarkerSequence{
    0x52, 0x5A, 0x07, 0x60, 0xA1, 0x62, 0x3C, 0xD5, 0x19, 0x8E,
    0xF4, 0x2B, 0x70, 0x06, 0xBD, 0x43, 0xE9, 0x11, 0x5F, 0xC8,
};

namespace detail {
inline constexpr auto kMarkerSequenceHexDigits = hexDigitArray(kMarkerSequence);
} // namespace detail

// The 40 upper-case hexadecimal digits of kMarkerSequence, two per byte in order.
inline constexpr std::u16string_view kMarkerSequenceHex{detail::kMarkerSequenceHexDigits.data(),
                                                        detail::kMarkerSequenceHexDigits.size()};

} // namespace rz::files
