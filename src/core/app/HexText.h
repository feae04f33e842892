#pragma once
// The one place that spells bytes as hexadecimal and reads them back. Texts are upper-case;
// spaced texts put a space after every byte ("0A 1B "), as the logs and the key fields show them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz {

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// The upper-case digit of the value's low four bits.
constexpr char hexDigit(unsigned value)
{
    return kHexDigits[value & 0x0F];
}

// 0..15 for a hexadecimal digit of either case, -1 for any other character.
int hexDigitValue(char32_t c);

// Two digits per byte, no separators: {0x0A, 0x1B} -> "0A1B".
std::string byteHex(uint8_t value);
std::string hexText(std::span<const uint8_t> bytes);
// Two digits and a space per byte: {0x0A, 0x1B} -> "0A 1B ".
std::u16string spacedHexText(std::span<const uint8_t> bytes);
// `digits` digits of the value's low bits: (0x60, 4) -> "0060".
std::u16string hexDigits(uint32_t value, int digits);
// "0x" and as many digits as the value needs: 0x1A0 -> "0x1A0".
std::string prefixedHex(std::size_t value);

// Digit pairs to bytes, spaces ignored; no value for an odd digit count or a character that is
// neither a digit nor a space.
std::optional<std::vector<uint8_t>> bytesFromHexText(std::string_view text);
std::optional<std::vector<uint8_t>> bytesFromHexText(std::u16string_view text);

// The digits of a fixed byte array, made at compile time (for constants such as markers).
template <std::size_t N>
constexpr std::array<char16_t, 2 * N> hexDigitArray(const std::array<uint8_t, N>& bytes)
{
    std::array<char16_t, 2 * N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        out[2 * i] = static_cast<char16_t>(hexDigit(bytes[i] >> 4));
        out[2 * i + 1] = static_cast<char16_t>(hexDigit(bytes[i]));
    }
    return out;
}

} // namespace rz
