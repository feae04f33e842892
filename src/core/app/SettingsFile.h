#pragma once
// Settings files: text in UTF-8 or, when written by the older Windows tool, GBK (see
// TextEncoding.h), one "key=value" entry per line, lines ended by CR LF. No
// sections, comments or quoting. A key matches a line that starts with the exact key
// followed directly by "="; the value is the rest of that line, untrimmed.
//
// The program itself writes at most 500 lines per file; longer files written by hand are
// read and rewritten whole, never cut.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rz {

// The value of the last line that matches `key`; empty when no line matches or the file is
// missing or unreadable.
std::u16string readKey(const std::filesystem::path& path, std::u16string_view key);

// Replaces every line that matches `key` by key=value, or appends key=value as the last line
// when none does; a missing file (and its folders) is created holding that one line. Other
// lines keep their bytes and order; every line is written back ending in CR LF. The file is
// replaced atomically and keeps its encoding (a new file is UTF-8). False, with the file
// untouched, when the key is empty, the key or value holds a line break or has no form in
// the file's encoding, the existing file cannot be read, or writing fails.
bool writeKey(const std::filesystem::path& path, std::u16string_view key, std::u16string_view value);

// A whole decimal number with optional sign and surrounding spaces or tabs ("12", " -3 ");
// empty optional for anything else (empty text, "1.5", "abc", out of 64-bit range).
std::optional<int64_t> parseSettingNumber(std::u16string_view text);

// Typed readers: a missing key, a text that is not a number or a number outside the type's
// range leaves the caller's previous value.
uint8_t readByteKey(const std::filesystem::path& path, std::u16string_view key, uint8_t previous);
int32_t readInt32Key(const std::filesystem::path& path, std::u16string_view key, int32_t previous);

// An on/off option stored as "1"/"0": on only for the number 1.
bool readFlagKey(const std::filesystem::path& path, std::u16string_view key);
bool writeFlagKey(const std::filesystem::path& path, std::u16string_view key, bool on);

} // namespace rz
