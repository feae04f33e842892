#include "core/app/TextEncoding.h"

#include "core/app/GbkTable.h"
#include "core/app/Utf.h"

#include <algorithm>

namespace rz {

namespace {

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        unsigned char low = 0x80; // allowed range of the second byte
        unsigned char high = 0xBF;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // overlong
            if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90; // overlong
            if (c == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high)
            return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!isContinuation(static_cast<unsigned char>(bytes[i + k])))
                return false;
        i += length;
    }
    return true;
}

TextEncoding detectEncoding(std::string_view bytes)
{
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gbk;
}

std::u16string fromGbk(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        if (lead >= gbk::kFirstLead && lead <= gbk::kLastLead && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if (trail >= gbk::kFirstTrail && trail <= gbk::kLastTrail) {
                const char16_t c = gbk::kToUnicode[static_cast<std::size_t>(
                    (lead - gbk::kFirstLead) * gbk::kTrailCount + (trail - gbk::kFirstTrail))];
                if (c != 0) {
                    text += c;
                    i += 2;
                    continue;
                }
            }
        }
        text += kReplacementCharacter;
        ++i;
    }
    return text;
}

std::optional<std::string> toGbk(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        const auto found = std::lower_bound(gbk::kFromUnicode.begin(), gbk::kFromUnicode.end(), c,
            [](const gbk::UnicodeToGbk& entry, char16_t u) { return entry.unicode < u; });
        if (found == gbk::kFromUnicode.end() || found->unicode != c)
            return std::nullopt;
        bytes += static_cast<char>(found->gbk >> 8);
        bytes += static_cast<char>(found->gbk & 0xFF);
    }
    return bytes;
}

std::u16string decodeText(std::string_view bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::Gbk ? fromGbk(bytes) : fromUtf8(bytes);
}

std::optional<std::string> encodeText(std::u16string_view text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Gbk)
        return toGbk(text);
    return toUtf8(text);
}

} // namespace rz
