#include "core/app/Utf.h"

#include <cstdint>

namespace rz {

namespace {

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

bool isContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

} // namespace

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = kReplacementCharacter;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string fromUtf8(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto b0 = static_cast<uint8_t>(bytes[i]);
        if (b0 < 0x80) {
            out += static_cast<char16_t>(b0);
            ++i;
            continue;
        }
        // Length of the sequence and the allowed range of its second byte (which rules out
        // overlong forms, surrogates and values above U+10FFFF).
        std::size_t length = 0;
        uint8_t low = 0x80, high = 0xBF;
        char32_t c = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2;
            c = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3;
            c = b0 & 0x0F;
            if (b0 == 0xE0)
                low = 0xA0;
            if (b0 == 0xED)
                high = 0x9F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4;
            c = b0 & 0x07;
            if (b0 == 0xF0)
                low = 0x90;
            if (b0 == 0xF4)
                high = 0x8F;
        }
        if (length == 0) {
            out += kReplacementCharacter;
            ++i;
            continue;
        }
        std::size_t k = 1;
        for (; k < length && i + k < n; ++k) {
            const auto b = static_cast<uint8_t>(bytes[i + k]);
            const bool fits = k == 1 ? (b >= low && b <= high) : isContinuation(b);
            if (!fits)
                break;
            c = (c << 6) | (b & 0x3F);
        }
        if (k == length)
            appendUtf16(out, c);
        else
            out += kReplacementCharacter;
        i += k;
    }
    return out;
}

} // namespace rz
