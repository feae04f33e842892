#include "core/files/ByteImage.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rz::files;

namespace {

// A file with three slots; section 3 written before section 1, slot 2 never written.
std::vector<uint8_t> threeSlotFile()
{
    ByteWriter w(100);
    w.beginSectionedFile("F10410A1", 3);
    w.beginSection(3, "F1041101");
    w.putByte(0x33);
    w.beginSection(1, "F1042301");
    w.putWord(0x1111);
    return w.take();
}

} // namespace

TEST(SectionedFile, GoldenLayout)
{
    const std::vector<uint8_t> expected{
        0xF1, 0x04, 0x10, 0xA1, // file identifier at 0
        0x00, 0x00, 0x00, 0x1D, // slot 1: section 1's identifier is at 29
        0x00, 0x00, 0x00, 0x00, // slot 2: never written
        0x00, 0x00, 0x00, 0x14, // slot 3: section 3's identifier is at 20
        0xEE, 0xEE, 0xEE, 0xEE, // 16: marker
        0xF1, 0x04, 0x11, 0x01, // 20: section 3's identifier
        0x33,                   // 24: its data
        0xEE, 0xEE, 0xEE, 0xEE, // 25: marker
        0xF1, 0x04, 0x23, 0x01, // 29: section 1's identifier
        0x11, 0x11,             // 33: its data
    };
    EXPECT_EQ(threeSlotFile(), expected);
}

TEST(SectionedFile, OpenSectionFindsEachSectionInAnyOrder)
{
    const auto image = threeSlotFile();
    ByteReader r(image);
    ASSERT_TRUE(r.openSection(1, "F1042301"));
    EXPECT_EQ(r.getWord(), 0x1111u);
    ASSERT_TRUE(r.openSection(3, "f1041101")); // either case
    EXPECT_EQ(r.getByte(), 0x33u);
    EXPECT_TRUE(r.ok());
}

TEST(SectionedFile, MissingOrMismatchingSectionReturnsFalseWithoutFailing)
{
    const auto image = threeSlotFile();
    ByteReader r(image);
    // The unwritten slot reads position 0, where the file's own identifier is.
    EXPECT_FALSE(r.openSection(2, "F1041101"));
    EXPECT_EQ(r.cursor(), 4u);
    EXPECT_FALSE(r.openSection(1, "F1041101")); // another section's identifier
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.openSection(3, "F1041101")); // the reader is still usable
}

TEST(SectionedFile, SlotOrPositionOutsideTheImageFailsCleanly)
{
    struct Case {
        const char* name;
        int slot;
        uint32_t storedPosition;
    } const cases[] = {
        {"slot beyond the image", 40, 0},
        {"position beyond the end", 1, 0xFFFFFFF0},
        {"position at the end", 1, 35},
        {"identifier cut by the end", 1, 33},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = threeSlotFile();
        ASSERT_EQ(image.size(), 35u);
        if (c.storedPosition != 0) {
            ByteWriter patch(image.size());
            patch.putBytes(image);
            patch.putLongAt(4, c.storedPosition);
            image = patch.take();
        }
        ByteReader r(image);
        EXPECT_FALSE(r.openSection(c.slot, "F1042301"));
        EXPECT_TRUE(r.failed());
    }
}
