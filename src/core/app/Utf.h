#pragma once
// Conversion between the UTF-8 of text files and the UTF-16 texts the core works with.
// Malformed input never fails: each bad sequence becomes U+FFFD, so a damaged file still
// reads as far as it can.
#include <string>
#include <string_view>

namespace rz {

inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

// A lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// Overlong forms, encoded surrogates, values above U+10FFFF and truncated sequences each
// become one U+FFFD per maximal invalid subpart.
std::u16string fromUtf8(std::string_view bytes);

} // namespace rz
