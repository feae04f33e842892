#include "core/app/HexText.h"

namespace rz {

int hexDigitValue(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A') + 10;
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a') + 10;
    return -1;
}

std::string byteHex(uint8_t value)
{
    return {hexDigit(value >> 4u), hexDigit(value)};
}

std::string hexText(std::span<const uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes)
        text += byteHex(b);
    return text;
}

std::u16string spacedHexText(std::span<const uint8_t> bytes)
{
    std::u16string text;
    text.reserve(bytes.size() * 3);
    for (uint8_t b : bytes) {
        text += static_cast<char16_t>(hexDigit(b >> 4u));
        text += static_cast<char16_t>(hexDigit(b));
        text += u' ';
    }
    return text;
}

std::u16string hexDigits(uint32_t value, int digits)
{
    std::u16string text;
    for (int i = digits - 1; i >= 0; --i)
        text += static_cast<char16_t>(hexDigit(value >> (4 * i)));
    return text;
}

std::string prefixedHex(std::size_t value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), hexDigit(static_cast<unsigned>(value % 16)));
        value /= 16;
    } while (value != 0);
    return "0x" + digits;
}

namespace {

template <class View>
std::optional<std::vector<uint8_t>> bytesFromDigits(View text)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    int high = -1;
    for (auto c : text) {
        if (c == ' ')
            continue;
        const int v = hexDigitValue(static_cast<char32_t>(c));
        if (v < 0)
            return std::nullopt;
        if (high < 0) {
            high = v;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<std::vector<uint8_t>> bytesFromHexText(std::string_view text)
{
    return bytesFromDigits(text);
}

std::optional<std::vector<uint8_t>> bytesFromHexText(std::u16string_view text)
{
    return bytesFromDigits(text);
}

} // namespace rz
