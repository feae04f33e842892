#include "core/files/InfoSection.h"

#include "core/app/HexText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace rz::files;

namespace {

std::vector<uint8_t> showWithInfo(const std::u16string& dateTime, const std::u16string& folder)
{
    ByteWriter w(2'097'153);
    w.beginSectionedFile("F10410A1", 50);
    w.putBytes(std::vector<uint8_t>(7, 0x55)); // whatever the earlier sections left
    writeInfoSection(w, dateTime, folder);
    EXPECT_EQ(w.cursor(), w.bytes().size()); // the cursor is left after the text
    return w.take();
}

} // namespace

TEST(MarkerSequence, HexTextSpellsTheBytes)
{
    ASSERT_EQ(kMarkerSequenceHex.size(), 40u);
    std::u16string expected;
    for (uint8_t b : kMarkerSequence) {
        expected += static_cast<char16_t>(rz::hexDigit(b >> 4));
        expected += static_cast<char16_t>(rz::hexDigit(b & 15));
    }
    EXPECT_EQ(std::u16string(kMarkerSequenceHex), expected);
    // Twenty fixed bytes that do not look like an unwritten area.
    EXPECT_GT(std::set<uint8_t>(kMarkerSequence.begin(), kMarkerSequence.end()).size(), 10u);
}

TEST(InfoSection, Layout)
{
    const auto image = showWithInfo(u"2026/12/10 10:47:10", u"C:\\RZ760");
    const std::size_t start = 204 + 7;
    const std::size_t text = start + 4 + 4 + 20 + 30;

    ByteReader r(image);
    ASSERT_TRUE(r.openSection(14, "F2012210"));
    EXPECT_EQ(r.cursor(), start + 8);
    EXPECT_EQ(r.getLongAt(start), 0xEEEEEEEEu);                // marker
    EXPECT_EQ(r.getBytes(20), std::vector<uint8_t>(20, 0));   // reserved
    const auto positions = r.getInt24Array(10);                // first: the text's position
    EXPECT_EQ(positions, (std::vector<uint32_t>{text, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.cursor(), text);
    EXPECT_EQ(r.getText(), u"2026/12/10 10:47:10 C:\\RZ760" + std::u16string(kMarkerSequenceHex));
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_TRUE(r.ok());
}

TEST(InfoSection, ALongFolderCutsTheEndOfTheText)
{
    const std::u16string folder(300, u'\u76EE');
    const auto image = showWithInfo(u"2026/12/10 10:47:10", folder);
    ByteReader r(image);
    ASSERT_TRUE(r.openSection(14, "F2012210"));
    r.getBytes(50);
    const auto text = r.getText();
    ASSERT_EQ(text.size(), 250u);
    EXPECT_EQ(text, (u"2026/12/10 10:47:10 " + folder).substr(0, 250));
    EXPECT_EQ(r.remaining(), 0u);
}
