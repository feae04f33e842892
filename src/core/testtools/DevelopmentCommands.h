#pragma once
// The development-mode window's sends: ready-made frames from its command list, any frame
// typed as hexadecimal text, and a frame built from a typed command and payload.
#include "core/link/Link.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rz::testtools {

// Each entry: a whole frame in hexadecimal (spaces carry no meaning), "-", a description.
const std::vector<std::u16string>& developmentCommandList();
// The entry's characters up to the first "-".
std::u16string entryFrameText(std::u16string_view entry);

// Spaces removed, two characters per byte, sent unchanged; false and nothing sent for text
// that is not whole hexadecimal bytes (or is empty).
bool sendFrameText(link::Link& link, std::u16string_view text);
// Command = the hexadecimal value of commandText (one byte), payload = dataText two characters
// per byte. The text of the frame actually sent, or nothing (and nothing sent) for bad text.
std::optional<std::string> sendBuiltFrame(link::Link& link, std::u16string_view commandText,
                                          std::u16string_view dataText);

} // namespace rz::testtools
