#include "core/files/InfoSection.h"

#include <array>

namespace rz::files {

void writeInfoSection(ByteWriter& writer, const std::u16string& dateTimeText,
                      const std::u16string& programFolder)
{
    writer.beginSection(kInfoSectionSlot, kInfoSectionId);
    writer.putZeros(kInfoReservedBytes);
    const std::size_t positionTable = writer.cursor();
    writer.putZeros(3 * kInfoPositionCount);
    const std::size_t textPosition = writer.cursor();

    std::u16string text = dateTimeText;
    text += u' ';
    text += programFolder;
    text += kMarkerSequenceHex;
    writer.putText(text, kMaxTextLength);

    std::array<uint32_t, kInfoPositionCount> positions{};
    positions[0] = static_cast<uint32_t>(textPosition);
    writer.putInt24ArrayAt(positionTable, positions);
}

} // namespace rz::files
