// The container: identifier, section table, section order, gaps, the information section.
#include "ShowTestSupport.h"

#include "core/files/InfoSection.h"
#include "core/show/ShowPaths.h"

#include <algorithm>

namespace rz::test::showfile {
namespace {

struct SectionOfShow {
    int slot;
    const char* id;
};
constexpr SectionOfShow kWrittenSections[] = {
    {1, "F1042301"}, {2, "F1041101"}, {10, "F1040401"}, {11, "F10417A1"},
    {12, "F1040301"}, {13, "F1052601"}, {14, "F2012210"},
};

std::vector<uint8_t> savedImage(ShowRig& rig)
{
    EXPECT_TRUE(rig.file.saveShow());
    return readAll(rig.file.showPath());
}

void expectContainer(const std::vector<uint8_t>& image)
{
    ASSERT_GE(image.size(), show::kShowHeaderSize);
    EXPECT_EQ((std::vector<uint8_t>{image.begin(), image.begin() + 4}),
              (std::vector<uint8_t>{0xF1, 0x04, 0x10, 0xA1}));
    files::ByteReader in(image);
    uint32_t previous = 0;
    std::vector<int> written;
    for (const auto& [slot, id] : kWrittenSections) {
        const uint32_t p = show::sectionPosition(image, slot);
        SCOPED_TRACE(slot);
        EXPECT_GT(p, previous) << "sections follow in the order 1, 2, 10, 11, 12, 13, 14";
        ASSERT_LE(p + 4, image.size());
        EXPECT_EQ(in.getLongAt(p - 4), 0xEEEEEEEEu);
        in.setCursor(p);
        EXPECT_EQ(in.getId(), id);
        previous = p;
        written.push_back(slot);
    }
    for (int n = 1; n <= show::kShowSectionSlots; ++n) {
        if (std::find(written.begin(), written.end(), n) == written.end()) {
            EXPECT_EQ(show::sectionPosition(image, n), 0u) << "slot " << n;
        }
    }
    // The first section starts right after the table.
    EXPECT_EQ(show::sectionPosition(image, 1), show::kShowHeaderSize + 4);
}

TEST(ShowFileLayout, EmptyAndFullShowsHaveEverySectionInOrder)
{
    ShowRig empty;
    expectContainer(savedImage(empty));
    ShowRig full;
    fillShow(full);
    expectContainer(savedImage(full));
}

TEST(ShowFileLayout, EmptyLibraryStillWritesItsFixtureBlock)
{
    ShowRig rig;
    const auto image = savedImage(rig);
    const uint32_t fixtures = show::sectionPosition(image, 10);
    const uint32_t materials = show::sectionPosition(image, 11);
    // Identifier, 220-byte block, then the next section's marker without a gap.
    EXPECT_EQ(materials - 4 - (fixtures + 4), 220u);
}

TEST(ShowFileLayout, InformationSectionEndsTheFileWithStampAndFolder)
{
    ShowRig rig;
    const auto image = savedImage(rig);
    const uint32_t info = show::sectionPosition(image, 14);
    files::ByteReader in(image);
    const uint32_t textPosition = in.getInt24At(info + 4 + 20);
    in.setCursor(textPosition);
    const std::u16string text = in.getText();
    EXPECT_EQ(in.cursor(), image.size()) << "nothing follows the information text";
    const std::u16string expected =
        std::u16string(u"2026/12/10 11:19:05 ") + rig.dir.path().u16string();
    EXPECT_EQ(text.substr(0, expected.size()), expected.substr(0, text.size()));
    if (expected.size() + files::kMarkerSequenceHex.size() <= files::kMaxTextLength) {
        EXPECT_EQ(text, expected + std::u16string(files::kMarkerSequenceHex));
    }
}

TEST(ShowFileLayout, SavingTwiceDiffersOnlyInTheInformationSection)
{
    ShowRig rig;
    fillShow(rig);
    const auto first = savedImage(rig);
    rig.localTime.now = {2027, 1, 2, 3, 4, 5};
    const auto second = savedImage(rig);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.size(), second.size());
    EXPECT_EQ(withoutInfoSection(first), withoutInfoSection(second));
}

} // namespace
} // namespace rz::test::showfile
