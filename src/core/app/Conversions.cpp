#include "core/app/Conversions.h"

#include "core/app/DurableFile.h"
#include "core/app/TextEncoding.h"
#include "core/app/Utf.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

namespace rz {

// ---- bit and hexadecimal texts ----

std::u16string nibbleBitsToHex(std::u16string_view bits)
{
    if (bits.size() != 4)
        return {};
    int value = 0;
    for (char16_t c : bits) {
        if (c != u'0' && c != u'1')
            return {};
        value = value * 2 + (c - u'0');
    }
    return std::u16string(1, static_cast<char16_t>(hexDigit(static_cast<unsigned>(value))));
}

std::u16string byteBitsToHex(std::u16string_view bits)
{
    const std::size_t half = std::min<std::size_t>(4, bits.size());
    return nibbleBitsToHex(bits.substr(0, half)) + nibbleBitsToHex(bits.substr(bits.size() - half));
}

namespace {

template <class String, class View>
String padLeftText(String text, int length, View pad)
{
    if (length <= 0 || text.size() >= static_cast<std::size_t>(length))
        return text;
    const std::size_t times = static_cast<std::size_t>(length) - text.size();
    String prefix;
    prefix.reserve(times * pad.size());
    for (std::size_t i = 0; i < times; ++i)
        prefix += pad;
    return prefix + text;
}

} // namespace

std::u16string padLeft(std::u16string text, int length, std::u16string_view pad)
{
    return padLeftText(std::move(text), length, pad);
}

std::string padLeft(std::string text, int length, std::string_view pad)
{
    return padLeftText(std::move(text), length, pad);
}

std::u16string padLeftZeros(std::u16string text, int length)
{
    return padLeft(std::move(text), length, u"0");
}

std::string padLeftZeros(std::string text, int length)
{
    return padLeft(std::move(text), length, "0");
}

// ---- byte splitting ----

std::optional<uint8_t> wordByteHex(int64_t value, int part)
{
    const auto word = static_cast<uint64_t>(value) & 0xFFFFu;
    switch (part) {
    case 1: return static_cast<uint8_t>(word >> 8);
    case 2: return static_cast<uint8_t>(word & 0xFF);
    default: return std::nullopt;
    }
}

uint32_t wordFromBytes(uint8_t a, uint8_t b)
{
    return uint32_t{a} << 8 | b;
}

std::optional<uint8_t> longByteHex(int64_t value, int part)
{
    if (part < 1 || part > 4)
        return std::nullopt;
    const auto word = static_cast<uint64_t>(value) & 0xFFFFFFFFu;
    return static_cast<uint8_t>(word >> (8 * (4 - part)));
}

uint32_t longFromBytes(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return uint32_t{a} << 24 | uint32_t{b} << 16 | uint32_t{c} << 8 | d;
}

bool bitIsSet(int32_t value, uint8_t bit)
{
    return bit < 32 && (static_cast<uint32_t>(value) >> bit & 1u) != 0;
}

int32_t setBit(int32_t value, uint8_t bit)
{
    if (bit >= 32)
        return value;
    return static_cast<int32_t>(static_cast<uint32_t>(value) | (1u << bit));
}

int64_t mod256(int64_t number)
{
    constexpr int64_t kMaxSubtractions = 5000;
    if (number < 256)
        return number;
    return number - 256 * std::min(kMaxSubtractions, number / 256);
}

// ---- zero-run compression ----

std::vector<uint8_t> encodeZeroRuns(std::span<const uint8_t> src)
{
    std::vector<uint8_t> dst;
    if (src.empty())
        return dst;
    dst.reserve(src.size() * 2);
    std::size_t run = 0; // position of the open run's counter; 0 = no open run
    for (std::size_t i = 0; i + 1 < src.size(); ++i) {
        if (src[i] == kZeroRunEscape) {
            dst.push_back(kZeroRunEscape);
            dst.push_back(kZeroRunLiteralEscape);
            run = 0;
        } else if (src[i] == 0 && (run > 0 || src[i + 1] == 0)) {
            if (run == 0) {
                dst.push_back(kZeroRunEscape);
                run = dst.size();
                dst.push_back(0);
            }
            if (++dst[run] >= kZeroRunMaxCount)
                run = 0; // the next zero may open a new run
        } else {
            dst.push_back(src[i]);
            run = 0;
        }
    }
    dst.push_back(src.back()); // the last byte is never escaped or counted
    return dst;
}

std::optional<std::vector<uint8_t>> decodeZeroRuns(std::span<const uint8_t> encoded)
{
    std::vector<uint8_t> out;
    out.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const uint8_t b = encoded[i];
        if (b != kZeroRunEscape || i + 1 == encoded.size()) {
            out.push_back(b);
            continue;
        }
        const uint8_t next = encoded[++i];
        if (next == kZeroRunLiteralEscape)
            out.push_back(kZeroRunEscape);
        else if (next >= 1 && next <= kZeroRunMaxCount)
            out.insert(out.end(), next, uint8_t{0});
        else
            return std::nullopt;
    }
    return out;
}

// ---- fades and time stamps ----

int32_t fadeValue(int32_t from, int32_t to, int32_t step, int32_t steps)
{
    if (from == to)
        return from;
    if (steps <= 0)
        return to;
    // x = d * |step| / steps; w = whole part of x rounded to tenths (halves up), exactly:
    // x = a + b / steps, and the tenths of b / steps round to r in 0..10.
    const auto d = static_cast<uint64_t>(std::abs(int64_t{to} - from));
    const auto s = static_cast<uint64_t>(std::abs(int64_t{step}));
    const auto n = static_cast<uint64_t>(steps);
    const uint64_t q = d * s; // below 2^63
    const uint64_t a = q / n;
    const uint64_t b = q % n;
    const uint64_t r = (20 * b + n) / (2 * n);
    // Rounding is symmetric, so a negative step moves the other way by the same amount.
    constexpr uint64_t kBeyondInt32 = uint64_t{1} << 33;
    int64_t w = static_cast<int64_t>(std::min(a + r / 10, kBeyondInt32));
    if (step < 0)
        w = -w;
    const int64_t result = from < to ? int64_t{from} + w : int64_t{from} - w;
    return static_cast<int32_t>(std::clamp<int64_t>(result, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::u16string timeStampText(const LocalDateTime& t)
{
    auto two = [](int v) {
        v = ((v % 100) + 100) % 100;
        return std::u16string{static_cast<char16_t>(u'0' + v / 10), static_cast<char16_t>(u'0' + v % 10)};
    };
    return u"[" + two(t.year) + two(t.month) + two(t.day) + u"-" + two(t.hour) + two(t.minute) +
           two(t.second) + u"]";
}

// ---- waiting and input ----

void delayMs(Clock& clock, Yield& yield, int32_t ms)
{
    if (ms < 0)
        return;
    const uint32_t start = clock.nowMs();
    const uint32_t span = static_cast<uint32_t>(ms);
    for (uint32_t elapsed = 0; (elapsed = clock.nowMs() - start) <= span;)
        yield.yieldUntilEvent(span - elapsed + 1); // strictly more than `ms` in all
}

int firstPressedKey(KeyState& keys)
{
    constexpr uint16_t kDownAndPressed = 0x8001;
    for (int vk = 1; vk <= 250; ++vk) {
        if ((keys.asyncKeyState(vk) & kDownAndPressed) == kDownAndPressed)
            return vk;
    }
    return 0;
}

// ---- text and file utilities ----

std::u16string upperText(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out) {
        const bool asciiLower = c >= u'a' && c <= u'z';
        const bool latin1Lower = c >= 0xE0 && c <= 0xFE && c != 0xF7;
        const bool fullWidthLower = c >= 0xFF41 && c <= 0xFF5A;
        if (asciiLower || latin1Lower || fullWidthLower)
            c = static_cast<char16_t>(c - 0x20);
    }
    return out;
}

bool containsText(std::u16string_view s, std::u16string_view t)
{
    return upperText(s).find(upperText(t)) != std::u16string::npos;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool writeFileBytesAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    return replaceFileDurably(path, bytes.data(), bytes.size());
}

std::vector<std::string_view> splitTextLines(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8ByteOrderMark))
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

std::u16string readTextFile(const std::filesystem::path& path)
{
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return {};
    const TextEncoding encoding = detectEncoding(*bytes);
    std::u16string text;
    for (std::string_view line : splitTextLines(*bytes))
        text += decodeText(line, encoding) + u"\r\n";
    return text;
}

std::uintmax_t fileLengthOrZero(const std::filesystem::path& path)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

std::u16string decimalText(int64_t value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace rz
