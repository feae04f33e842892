#include "core/app/SettingsFile.h"

#include "core/app/Conversions.h"
#include "core/app/TextEncoding.h"
#include "core/app/Utf.h"

#include <limits>
#include <system_error>

namespace rz {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool holdsLineBreak(std::u16string_view text)
{
    return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

template <class T>
T readRangedKey(const std::filesystem::path& path, std::u16string_view key, T previous)
{
    const auto number = parseSettingNumber(readKey(path, key));
    if (!number || *number < std::numeric_limits<T>::min() || *number > std::numeric_limits<T>::max())
        return previous;
    return static_cast<T>(*number);
}

} // namespace

std::u16string readKey(const std::filesystem::path& path, std::u16string_view key)
{
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return {};
    const TextEncoding encoding = detectEncoding(*bytes);
    const auto prefix = encodeText(std::u16string(key) + u'=', encoding);
    if (!prefix)
        return {}; // such a key cannot be in this file
    std::optional<std::string_view> value;
    for (std::string_view line : splitTextLines(*bytes)) {
        if (line.starts_with(*prefix))
            value = line.substr(prefix->size());
    }
    return value ? decodeText(*value, encoding) : std::u16string{};
}

bool writeKey(const std::filesystem::path& path, std::u16string_view key, std::u16string_view value)
{
    if (key.empty() || holdsLineBreak(key) || holdsLineBreak(value))
        return false;
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (ec)
        return false;
    std::optional<std::string> old;
    if (exists) {
        old = readFileBytes(path);
        if (!old)
            return false; // never replace a file we could not read
    }
    // A file keeps its own encoding, so the older tool still reads it.
    const TextEncoding encoding = old ? detectEncoding(*old) : TextEncoding::Utf8;
    const auto encodedPrefix = encodeText(std::u16string(key) + u'=', encoding);
    const auto encodedValue = encodeText(value, encoding);
    if (!encodedPrefix || !encodedValue)
        return false;
    const std::string& prefix = *encodedPrefix;
    const std::string entry = prefix + *encodedValue;

    std::string out;
    bool matched = false;
    if (old) {
        out.reserve(old->size() + entry.size() + kLineEnd.size());
        if (std::string_view(*old).starts_with(kUtf8ByteOrderMark))
            out += kUtf8ByteOrderMark;
        for (std::string_view line : splitTextLines(*old)) {
            if (line.starts_with(prefix)) {
                out += entry;
                matched = true;
            } else {
                out += line;
            }
            out += kLineEnd;
        }
    }
    if (!matched) {
        out += entry;
        out += kLineEnd;
    }
    return writeFileBytesAtomically(path, out);
}

std::optional<int64_t> parseSettingNumber(std::u16string_view text)
{
    auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Accumulate as a negative number so that the 64-bit minimum fits.
    int64_t value = 0;
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (kMin + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == kMin)
        return std::nullopt;
    return -value;
}

uint8_t readByteKey(const std::filesystem::path& path, std::u16string_view key, uint8_t previous)
{
    return readRangedKey<uint8_t>(path, key, previous);
}

int32_t readInt32Key(const std::filesystem::path& path, std::u16string_view key, int32_t previous)
{
    return readRangedKey<int32_t>(path, key, previous);
}

bool readFlagKey(const std::filesystem::path& path, std::u16string_view key)
{
    const auto value = parseSettingNumber(readKey(path, key));
    return value && *value == 1;
}

bool writeFlagKey(const std::filesystem::path& path, std::u16string_view key, bool on)
{
    return writeKey(path, key, on ? u"1" : u"0");
}

} // namespace rz
