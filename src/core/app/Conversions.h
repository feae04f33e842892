#pragma once
// Small conversions and timing helpers shared across the program: hexadecimal and bit
// texts, byte splitting (most significant byte first), bit tests, the link checksum's
// modulo-256 reduction, the zero-run compression of bulk data, fades, time stamps, a yielding
// delay and a few text and file utilities. All are stateless.
//
// Hexadecimal texts are upper-case without separators; the byte splitters work on numbers
// directly and return the byte a two-digit hexadecimal text would hold.
#include "core/app/HexText.h"
#include "core/app/Seams.h"

#include <concepts>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz {

// ---- bit and hexadecimal texts ----

// The decimal digits of a value, with "-" before a negative one.
std::u16string decimalText(int64_t value);


// "0000" ... "1111" (most significant bit first) -> "0" ... "F"; anything else -> "".
std::u16string nibbleBitsToHex(std::u16string_view bits);
// The left four characters, then the right four: "10100101" -> "A5".
std::u16string byteBitsToHex(std::u16string_view bits);

// Prepends `pad` (length - current length) times; a text at or above `length` is returned
// unchanged, never truncated.
std::u16string padLeft(std::u16string text, int length, std::u16string_view pad);
std::string padLeft(std::string text, int length, std::string_view pad);
std::u16string padLeftZeros(std::u16string text, int length);
std::string padLeftZeros(std::string text, int length);

// ---- byte splitting, most significant first ----

// `part` 1 = high byte, 2 = low byte of the value's low 16 bits (two's complement for
// negative values); any other part -> no value.
std::optional<uint8_t> wordByteHex(int64_t value, int part);
// a * 256 + b.
uint32_t wordFromBytes(uint8_t a, uint8_t b);
// `part` k (1..4) = byte k of the value's low 32 bits, part 1 the most significant; else no value.
std::optional<uint8_t> longByteHex(int64_t value, int part);
// a * 2^24 + b * 2^16 + c * 256 + d, unsigned; callers that hold the value signed cast it.
uint32_t longFromBytes(uint8_t a, uint8_t b, uint8_t c, uint8_t d);

// Bits are numbered from 0 (least significant). A bit number above 31 tests false and sets
// nothing.
bool bitIsSet(int32_t value, uint8_t bit);
int32_t setBit(int32_t value, uint8_t bit);

// Subtracts 256 while the number is 256 or more, at most 5000 times: exact up to 1 280 255,
// numbers below 256 (negative ones too) come back unchanged.
int64_t mod256(int64_t number);

// ---- zero-run compression ----

inline constexpr uint8_t kZeroRunEscape = 0xFE;
inline constexpr uint8_t kZeroRunLiteralEscape = 0xFF; // FE FF stands for one FE
inline constexpr uint8_t kZeroRunMaxCount = 250;

// FE n stands for n zero bytes (1..250), FE FF for a literal FE; a single zero between other
// bytes stays literal and the last byte is always copied unchanged. Empty input -> empty.
std::vector<uint8_t> encodeZeroRuns(std::span<const uint8_t> source);

// The exact inverse of encodeZeroRuns. A final lone FE is the literal FE the encoder copies
// as the last byte. Empty optional when FE is followed by a count outside 1..250 that is
// not FF.
std::optional<std::vector<uint8_t>> decodeZeroRuns(std::span<const uint8_t> encoded);

// ---- fades and time stamps ----

// Moves `from` towards `to` by the whole part of |to - from| * step / steps after rounding it
// to one decimal (halves away from zero): 2.94 -> 2, 2.96 -> 3, 25.5 -> 25. Computed exactly
// in integers. A fade of no steps (steps <= 0) has arrived: the result is `to`. Results
// outside the 32-bit range (only possible with step outside 0..steps) saturate.
int32_t fadeValue(int32_t from, int32_t to, int32_t step, int32_t steps);

// The local date and time as the caller reads it; the core never reads a clock itself.
struct LocalDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "[YYMMDD-hhmmss]", every field two digits with a leading zero.
std::u16string timeStampText(const LocalDateTime& t);

// ---- waiting and input ----

// Yields until strictly more than `ms` milliseconds have passed since the call (safe across
// the clock's wrap). A negative duration returns at once.
void delayMs(Clock& clock, Yield& yield, int32_t ms);

// The first virtual key of 1..250, in ascending order, that is down now and was pressed
// since the last query; 0 when none. Keys after the one found are not queried.
int firstPressedKey(KeyState& keys);

// 1 becomes 0, any other value becomes 1.
template <std::integral T>
void toggle01(T& value)
{
    value = value == 1 ? T{0} : T{1};
}

// ---- text and file utilities ----

// Upper-cases ASCII, Latin-1 and full-width Latin letters; other characters are unchanged.
std::u16string upperText(std::u16string_view text);
// True when `t` occurs in `s`, both compared upper-cased (an empty `t` is always found).
bool containsText(std::u16string_view s, std::u16string_view t);

// The whole file's bytes; empty optional when it is missing or unreadable.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// Replaces the file's content atomically and durably (replaceFileDurably). False on failure.
bool writeFileBytesAtomically(const std::filesystem::path& path, std::string_view bytes);

// The lines of a text file's bytes, without their ends. A line ends in LF or CR LF; a last
// line without an end counts, nothing after the last end does. A leading UTF-8 byte-order
// mark is not part of the first line.
std::vector<std::string_view> splitTextLines(std::string_view bytes);
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// A UTF-8 or GBK text file (see TextEncoding.h) as one text, every line followed by CR LF (lines may end in LF or CR LF
// in the file); a missing or unreadable file gives an empty text.
std::u16string readTextFile(const std::filesystem::path& path);

// The file's length in bytes; 0 when it cannot be examined (missing, a folder, no access).
std::uintmax_t fileLengthOrZero(const std::filesystem::path& path);

} // namespace rz
