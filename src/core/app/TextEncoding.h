#pragma once
// Text files written by the older Windows tool are in the system's ANSI code page, which
// on the Chinese Windows these rooms use is GBK; this program writes UTF-8. A file is read
// as UTF-8 when its bytes are valid UTF-8, otherwise as GBK, and rewritten in the encoding
// it was found in so that both tools keep working on the same data folder.
#include <optional>
#include <string>
#include <string_view>

namespace rz {

enum class TextEncoding { Utf8, Gbk };

// Strict: overlong forms, encoded surrogates, values above U+10FFFF and truncated
// sequences are not valid.
bool isValidUtf8(std::string_view bytes);

// Utf8 for valid UTF-8 (pure ASCII included), Gbk for anything else.
TextEncoding detectEncoding(std::string_view bytes);

// A byte that does not start a GBK character, or a lead byte whose pair is not one,
// becomes U+FFFD; an ASCII byte after a bad lead byte is kept.
std::u16string fromGbk(std::string_view bytes);

// Empty optional when a character has no GBK form (nothing is ever written as '?').
std::optional<std::string> toGbk(std::u16string_view text);

std::u16string decodeText(std::string_view bytes, TextEncoding encoding);
// Empty optional when the text cannot be written in `encoding` (a character without a GBK
// form); UTF-8 takes every text.
std::optional<std::string> encodeText(std::u16string_view text, TextEncoding encoding);

} // namespace rz
