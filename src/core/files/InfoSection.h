#pragma once
// The information section the show file ends with: when it was saved, from which program
// folder, and the marker text. It is written only; nothing reads it back.
#include "core/files/ByteImage.h"

#include <string>
#include <string_view>

namespace rz::files {

inline constexpr int kInfoSectionSlot = 14;
inline constexpr std::string_view kInfoSectionId = "F2012210";
inline constexpr std::size_t kInfoReservedBytes = 20;
inline constexpr std::size_t kInfoPositionCount = 10; // 24-bit positions; only the first is used

// Writes the section at the writer's cursor (section start in slot 14, 20 zero bytes, ten
// 24-bit positions, then the text "<dateTime> <programFolder><marker hex>" cut to 250 code
// units) and fills the first position with the text field's absolute position. The cursor is
// left after the text. `dateTimeText` is the save date and time as the caller formats them
// ("date time"); the core has no wall clock of its own.
void writeInfoSection(ByteWriter& writer, const std::u16string& dateTimeText,
                      const std::u16string& programFolder);

} // namespace rz::files
