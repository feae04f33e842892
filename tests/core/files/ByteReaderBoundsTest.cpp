#include "core/files/ByteImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

using namespace rz::files;

namespace {

constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();

struct ReadCase {
    const char* name;
    std::function<bool(ByteReader&)> readReturnsZero; // true when the read gave zeros / empty
};

bool allZero(const auto& values)
{
    return std::all_of(values.begin(), values.end(), [](auto v) { return v == 0; });
}

// Every read on a 3-byte image of FF bytes, with the cursor at 1, so a 2-byte read still fits
// and anything wider does not.
const ReadCase kReadsThatDoNotFit[] = {
    {"int24", [](ByteReader& r) { return r.getInt24() == 0; }},
    {"long", [](ByteReader& r) { return r.getLong() == 0; }},
    {"id", [](ByteReader& r) { return r.getId().empty(); }},
    {"text of 255 units", [](ByteReader& r) { return r.getText().empty(); }},
    {"bytes 3", [](ByteReader& r) { return allZero(r.getBytes(3)); }},
    {"bytes huge", [](ByteReader& r) { return r.getBytes(kHuge).empty(); }},
    {"word array 2", [](ByteReader& r) { return allZero(r.getWordArray(2)); }},
    {"word array huge", [](ByteReader& r) { return r.getWordArray(kHuge).empty(); }},
    {"24-bit array 1", [](ByteReader& r) { return allZero(r.getInt24Array(1)); }},
    {"24-bit array huge", [](ByteReader& r) { return r.getInt24Array(kHuge / 2).empty(); }},
    {"byte at 3", [](ByteReader& r) { return r.getByteAt(3) == 0; }},
    {"word at 2", [](ByteReader& r) { return r.getWordAt(2) == 0; }},
    {"24-bit at 1", [](ByteReader& r) { return r.getInt24At(1) == 0; }},
    {"long at huge", [](ByteReader& r) { return r.getLongAt(kHuge - 1) == 0; }},
    {"section 1", [](ByteReader& r) { return !r.openSection(1, "FFFFFFFF"); }},
    {"section -1", [](ByteReader& r) { return !r.openSection(-1, "FFFFFFFF"); }},
};

} // namespace

TEST(ByteReaderBounds, AReadPastTheEndFailsReturnsZerosAndStaysFailed)
{
    const std::vector<uint8_t> image{0xFF, 0xFF, 0xFF};
    for (const auto& c : kReadsThatDoNotFit) {
        SCOPED_TRACE(c.name);
        ByteReader r(image);
        r.setCursor(1);
        EXPECT_TRUE(c.readReturnsZero(r));
        EXPECT_TRUE(r.failed());
        EXPECT_EQ(r.cursor(), 1u);
        // Later reads that would fit still give zeros: a failed reader stays failed.
        EXPECT_EQ(r.getWord(), 0u);
        EXPECT_EQ(r.getByteAt(0), 0u);
        EXPECT_TRUE(r.failed());
    }
}

TEST(ByteReaderBounds, ReadsUpToTheLastByteSucceed)
{
    const std::vector<uint8_t> image{0x01, 0x02, 0x03, 0x04};
    ByteReader r(image);
    EXPECT_EQ(r.getLongAt(0), 0x01020304u);
    EXPECT_EQ(r.getByteAt(3), 0x04u);
    r.setCursor(1);
    EXPECT_EQ(r.getInt24(), 0x020304u);
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_TRUE(r.getBytes(0).empty());
    EXPECT_TRUE(r.getWordArray(0).empty());
    EXPECT_TRUE(r.ok());
}

TEST(ByteReaderBounds, TextWhoseDeclaredLengthPassesTheEndFails)
{
    // Length 3 announces 6 bytes; only 5 follow.
    const std::vector<uint8_t> image{0x03, 0x00, 0x41, 0x00, 0x42, 0x00};
    ByteReader r(image);
    EXPECT_EQ(r.getText(), u"");
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.cursor(), 0u);
}

TEST(ByteReaderBounds, CursorMayReachTheEndButNotPassIt)
{
    const std::vector<uint8_t> image{1, 2};
    ByteReader r(image);
    r.setCursor(2);
    EXPECT_TRUE(r.ok());
    r.setCursor(3);
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.cursor(), 2u);
}

TEST(ByteReaderBounds, EmptyImage)
{
    ByteReader r(std::span<const uint8_t>{});
    EXPECT_EQ(r.getByte(), 0u);
    EXPECT_TRUE(r.failed());
    EXPECT_TRUE(r.getBytes(1).empty()); // one zero would not fit in the image either
}
