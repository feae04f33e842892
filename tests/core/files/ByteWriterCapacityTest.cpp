#include "core/files/ByteImage.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>
#include <vector>

using namespace rz::files;

TEST(ByteWriterCapacity, FillingExactlyToTheCapacityIsNoOverflow)
{
    ByteWriter w(7);
    w.putLong(0x01020304);
    w.putInt24(0x050607);
    EXPECT_FALSE(w.overflowed());
    EXPECT_EQ(w.bytes().size(), 7u);
}

// Each write crosses the end of a 6-byte image that already holds 4 bytes. The flag is set,
// the bytes that fit are kept and nothing is stored beyond the capacity.
TEST(ByteWriterCapacity, WritesPastTheCapacitySetTheFlagAndStoreNothingBeyond)
{
    struct Case {
        const char* name;
        std::function<void(ByteWriter&)> write;
    };
    const std::array<uint8_t, 3> block{9, 9, 9};
    const std::array<uint32_t, 2> values{0x0909, 0x0909};
    const Case cases[] = {
        {"long", [](ByteWriter& w) { w.putLong(0x09090909); }},
        {"int24", [](ByteWriter& w) { w.putInt24(0x090909); }},
        {"id", [](ByteWriter& w) { w.putId("09090909"); }},
        {"text", [](ByteWriter& w) { w.putText(u"\u0909\u0909", 20); }},
        {"bytes", [&](ByteWriter& w) { w.putBytes(block); }},
        {"zeros", [](ByteWriter& w) { w.putZeros(3); }},
        {"word array", [&](ByteWriter& w) { w.putWordArray(values); }},
        {"long at 5", [](ByteWriter& w) { w.putLongAt(5, 0x09090909); }},
        {"word at 6", [](ByteWriter& w) { w.putWordAt(6, 0x0909); }},
        {"byte far away", [](ByteWriter& w) { w.putByteAt(1'000'000, 9); }},
        {"24-bit array at 4", [&](ByteWriter& w) { w.putInt24ArrayAt(4, values); }},
        {"section start", [](ByteWriter& w) { w.beginSection(1, "09090909"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ByteWriter w(6);
        w.putLong(0x01020304);
        c.write(w);
        EXPECT_TRUE(w.overflowed());
        ASSERT_LE(w.bytes().size(), 6u);
        EXPECT_EQ(w.bytes()[0], 1); // nothing wrapped round to the start
    }
}

TEST(ByteWriterCapacity, ACursorNearTheTopOfTheAddressRangeDoesNotWrap)
{
    ByteWriter w(16);
    w.putLong(0x01020304);
    w.setCursor(std::numeric_limits<std::size_t>::max() - 1);
    w.putLong(0xAAAAAAAA);
    w.putZeros(std::numeric_limits<std::size_t>::max());
    EXPECT_TRUE(w.overflowed());
    EXPECT_EQ(std::vector<uint8_t>(w.bytes().begin(), w.bytes().end()),
              (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(ByteWriterCapacity, AHugeCapacityIsNotAllocatedUpFront)
{
    // Allocating this much would throw; a small file must cost only its own bytes.
    ByteWriter w(std::numeric_limits<std::size_t>::max() / 2);
    w.putId("F10410A1");
    w.putText(u"x", 250);
    EXPECT_EQ(w.bytes().size(), 7u);
    EXPECT_FALSE(w.overflowed());
}

TEST(ByteWriterCapacity, TakeHandsOverTheBytesAndEmptiesTheWriter)
{
    ByteWriter w(100);
    w.putWord(0xBEEF);
    w.putByteAt(5, 1);
    const auto bytes = w.take();
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xBE, 0xEF, 0, 0, 0, 1}));
    EXPECT_TRUE(w.bytes().empty());
    EXPECT_EQ(w.cursor(), 0u);
    w.putByte(7); // usable again
    EXPECT_EQ(w.bytes().size(), 1u);
}
