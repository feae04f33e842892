#pragma once
// Hexadecimal and decimal texts of the RDM module's logs, tools and UID forms.
#include "core/app/Conversions.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::rdm {

// One byte per digit pair; no value for an odd count or a character that is not a digit.
std::optional<std::vector<uint8_t>> bytesFromHex(std::u16string_view digits);
// `digits` upper-case hexadecimal digits of the value's low bits: (0x60, 4) -> "0060".
using ::rz::hexDigits;

} // namespace rz::rdm
