#include "core/materials/MaterialFiles.h"
#include "core/materials/MaterialRecord.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <random>

using namespace rz;
using namespace rz::materials;

namespace {

constexpr uint8_t kR1 = 24;

class MaterialFilesTest : public ::testing::Test {
protected:
    MaterialFilesTest()
    {
        fixtures::Fixture& fx = library.fixture(3);
        fx.startAddress = 10;
        fx.channelCount = 2;
        fx.channelCode[1] = 5;
        fx.channelCode[2] = kR1;
    }

    // A small material that uses every part of the record except the motion block.
    void fillSmall(Material& m)
    {
        m.name = u"ab";
        m.stepCount = 2;
        m.fixtureCount = 1;
        m.channelCount = 2;
        m.channelCodes[1] = kR1;
        m.patch[1][3] = 1;
        m.patch[1][4] = 1; // not a valid library fixture: not kept
        m.jumpInterval = 4;
        m.uniformTime = 10;
        m.brightnessReduction = 30;
        m.startMode = 1;
        m.dimmingRole = 2;
        m.hwAcceleration = 1;
        m.perStepTimeMode = 1;
        m.restartOnCall = 1;
        m.tempChannels[2] = kR1;
        MaterialStep& s1 = m.editStep(1);
        s1.stepTime = 10;
        s1.fadeToNext = 1;
        s1.setLevel(1, 1, 7);
        MaterialStep& s2 = m.editStep(2);
        s2.stepTime = 5;
        s2.stepMark = 1;
    }

    void fillMotion(Material& m)
    {
        fillSmall(m);
        m.motionType = 1;
        m.motionGlobal[1] = 10;
        m.motionGlobal[20] = -3;
        m.motionPerFixture[1][7] = 100;
        m.motionPerFixture[1][8] = 360;
    }

    MaterialStore store;
    fixtures::FixtureLibrary library;
    EditingContext context;
    test::TempDir root;
    test::ScriptedFileChooser chooser;
    test::RecordingPrompt prompt;
    MaterialFiles files{store, library, context, root.path(), chooser, prompt};
};

std::vector<uint8_t> bytes(std::initializer_list<int> v) { return std::vector<uint8_t>(v.begin(), v.end()); }

} // namespace

TEST_F(MaterialFilesTest, SingleMaterialFileLayout)
{
    fillSmall(store.at(1, 1));
    const std::vector<uint8_t> expected = bytes({
        0xF1, 0x04, 0x26, 0x01,             // identifier
        0x00, 0x02,                         // stepCount
        0x25,                               // per-step time, marked steps, restart on call
        0x04, 0x00, 0x0A,                   // jump interval, uniform time
        0x01, 0x02, 0x1E, 0x01, 0x02, 0x01, // fixtures, channels, reduction, start, dimming, accel
        0, 0, 0, 0, 0, 0, 0, 0,             // header padding
        0x00, 0x00, 0x32,                   // patch section at 50
        0x00, 0x00, 0x36,                   // address table at 54
        0x00, 0x00, 0x00,                   //
        0x00, 0x00, 0x40,                   // name at 64
        0x00, 0x00, 0x2A, 0x00, 0x00, 0x2F, // steps at 42 and 47
        0x00, 0x0A, 0x01, 0x07, 0x00,       // step 1: time 10, fades, levels
        0x00, 0x05, 0x06,                   // step 2: time 5, marked, all zero
        0x18, 0x00,                         // channel codes
        0x01, 0x03,                         // fixture 1 -> library fixture 3
        0x00, 0x02,                         // address table bytes
        0x01, 0x00, 0x0B,                   // (1, 1) -> address 11
        0x00,                               // (1, 2) -> nowhere
        0x00, 0x01, 0x00, 0x02,             // one marked step: 2
        0x02, 0x00, 0x61, 0x00, 0x62,       // name "ab"
        0x01, 0x18,                         // temporary channels
    });
    EXPECT_EQ(files.materialFileImage(1, 1), expected);
}

TEST_F(MaterialFilesTest, RecordsRoundTripByteForByte)
{
    fillSmall(store.at(1, 1));
    fillMotion(store.at(1, 2));
    Material& longName = store.at(1, 3);
    fillSmall(longName);
    longName.name = u"一二三四五六七八九十一二三四五六七八九十廿一二三四";
    longName.channelCount = 0; // exported alone even though no set would keep it

    for (int s = 1; s <= 3; ++s) {
        const std::vector<uint8_t> first = files.materialFileImage(1, s);
        const auto path = root / ("m" + std::to_string(s) + ".K_1SC");
        test::writeAll(path, first);
        ASSERT_TRUE(files.importMaterial(2, s, {ImportSource::path, path}));
        EXPECT_EQ(files.materialFileImage(2, s), first) << "slot " << s;
    }
    const Material& motion = store.at(2, 2);
    EXPECT_EQ(motion.motionType, 1);
    EXPECT_EQ(motion.motionGlobal[20], -3);
    EXPECT_EQ(motion.motionPerFixture[1][8], 360);
    EXPECT_EQ(motion.patch[1][3], 1);
    EXPECT_EQ(motion.patch[1][4], 0);
    EXPECT_EQ(motion.step(1).fadeToNext, 1);
    EXPECT_EQ(motion.step(2).stepMark, 1);
    EXPECT_EQ(motion.tempChannels[1], kR1);
    EXPECT_EQ(store.at(2, 3).name.size(), 20u);
    // No channels: no patch section nor address table.
    const std::vector<uint8_t> noChannels = files.materialFileImage(1, 3);
    EXPECT_EQ(std::vector<uint8_t>(noChannels.begin() + 24, noChannels.begin() + 30), bytes({0, 0, 0, 0, 0, 0}));
}

TEST_F(MaterialFilesTest, AllZeroStepsReadBackAsZeroWhateverTheSlotHeld)
{
    fillSmall(store.at(1, 1));
    ASSERT_TRUE(files.exportMaterial(1, 1, true));
    Material& target = store.at(3, 3);
    target.fixtureCount = 0; // the levels below are outside the used area: clearing keeps them
    target.editStep(2).setLevel(1, 1, 99);
    ASSERT_TRUE(files.importMaterial(3, 3, {ImportSource::clipboard, {}}));
    EXPECT_EQ(target.step(2).level(1, 1), 0);
}

TEST_F(MaterialFilesTest, ImportFailuresLeaveTheMaterialUntouched)
{
    fillSmall(store.at(1, 1));
    const std::vector<uint8_t> good = files.materialFileImage(1, 1);
    std::vector<uint8_t> moduleFile = good;
    moduleFile[2] = 0x30; // "F1043001"
    const auto empty = root / "empty.K_1SC";
    test::writeAll(empty, {});
    const auto other = root / "module.K_1MK";
    test::writeAll(other, moduleFile);

    struct Case {
        const char* what;
        ImportSource source;
        std::optional<std::filesystem::path> chosen;
        std::u16string message;
    } cases[] = {
        {"cancelled dialog", {ImportSource::ask, {}}, std::nullopt, u"读取失败"},
        {"empty file", {ImportSource::path, empty}, std::nullopt, u"读取失败"},
        {"missing clipboard", {ImportSource::clipboard, {}}, std::nullopt, u"读取失败"},
        {"chosen module file", {ImportSource::ask, {}}, other, u"素材无效!"},
    };
    for (const Case& c : cases) {
        chooser.paths = {c.chosen};
        prompt.messages.clear();
        store.at(5, 5).name = u"keep";
        EXPECT_FALSE(files.importMaterial(5, 5, c.source)) << c.what;
        ASSERT_EQ(prompt.messages.size(), 1u) << c.what;
        EXPECT_EQ(prompt.messages[0], c.message) << c.what;
        EXPECT_EQ(store.at(5, 5).name, u"keep") << c.what;
    }
    ASSERT_FALSE(chooser.calls.empty());
    EXPECT_EQ(chooser.calls[0].title, u"读取素材");
    EXPECT_EQ(chooser.calls[0].extension, u"K_1SC");

    // Every truncation of a sound file, and a few damaged bytes, fail cleanly.
    const auto cut = root / "cut.K_1SC";
    for (std::size_t n = 1; n < good.size(); ++n) {
        test::writeAll(cut, std::vector<uint8_t>(good.begin(), good.begin() + n));
        EXPECT_FALSE(files.importMaterial(5, 5, {ImportSource::path, cut})) << n;
        EXPECT_EQ(store.at(5, 5).name, u"keep");
    }
    struct Damage {
        std::size_t at;
        uint8_t value;
    } damage[] = {{4, 0x03}, {10, 21}, {11, 33}, {26, 0xFF}, {53, 0}, {53, 101}, {69, 21}};
    for (const Damage& d : damage) {
        std::vector<uint8_t> bad = good;
        bad[d.at] = d.value;
        test::writeAll(cut, bad);
        EXPECT_FALSE(files.importMaterial(5, 5, {ImportSource::path, cut})) << d.at;
        EXPECT_EQ(store.at(5, 5).name, u"keep");
    }
}

TEST_F(MaterialFilesTest, ExportGoesToTheChosenFileOrTheClipboard)
{
    fillSmall(store.at(1, 1));
    chooser.paths = {std::nullopt, root / "out" / "x.K_1SC"};
    EXPECT_FALSE(files.exportMaterial(1, 1, false)); // cancelled: silently nothing
    EXPECT_TRUE(prompt.messages.empty());
    ASSERT_TRUE(files.exportMaterial(1, 1, false));
    EXPECT_EQ(chooser.calls[1].title, u"保存素材");
    EXPECT_EQ(test::readAll(root / "out" / "x.K_1SC"), files.materialFileImage(1, 1));

    ASSERT_TRUE(files.exportMaterial(1, 1, true)); // the folders are created on a fresh root
    EXPECT_EQ(test::readAll(root / "AppSet" / "Sys_config" / "SC_TEMP" / "SCCOPY.K_1SC"),
              files.materialFileImage(1, 1));
    files.deleteClipboardFile();
    EXPECT_FALSE(std::filesystem::exists(files.clipboardFile()));
}

TEST_F(MaterialFilesTest, SwitchingEffectsParksTheMaterialsInTemporaryFiles)
{
    files.switchEffect(1);
    fillSmall(store.at(4, 7));
    fillSmall(store.at(4, 8));
    store.at(4, 8).channelCount = 0; // not valid: not parked
    files.switchEffect(2);
    EXPECT_EQ(context.currentEffect, 2);
    EXPECT_EQ(store.validCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(root / "AppSet" / "Sys_config" / "SC_TEMP" / "001"));

    files.switchEffect(1);
    EXPECT_FALSE(std::filesystem::exists(files.tempFile(2))); // nothing valid, no file
    EXPECT_EQ(store.at(4, 7).name, u"ab");
    EXPECT_EQ(store.at(4, 8).name, u"");
    const std::vector<uint8_t> parked = test::readAll(files.tempFile(1));
    ASSERT_TRUE(files.saveEffectToTemp(1));
    EXPECT_EQ(test::readAll(files.tempFile(1)), parked);
    // Count, then (number 43 = module 4 slot 7, position 9) after the identifier.
    EXPECT_EQ(std::vector<uint8_t>(parked.begin(), parked.begin() + 9),
              bytes({0xF1, 0x04, 0x16, 0xA1, 1, 43, 0, 0, 9}));

    clearMaterial(store.at(4, 7));
    files.switchEffect(3);
    EXPECT_FALSE(std::filesystem::exists(files.tempFile(1)));

    // A damaged temporary file loads as an empty store.
    test::writeAll(files.tempFile(9), bytes({0xF1, 0x04, 0x16, 0xA1, 1, 43, 0, 0, 200}));
    fillSmall(store.at(1, 1));
    files.loadEffectFromTemp(9);
    EXPECT_EQ(store.validCount(), 0);
}

TEST_F(MaterialFilesTest, MaterialsSectionPacksEveryTemporaryFile)
{
    auto section = [&] {
        files::ByteWriter w(1 << 24);
        w.beginSectionedFile("F10410A1", 50);
        EXPECT_TRUE(files.writeMaterialsSection(kShowMaterialsSection, w));
        return w.take();
    };
    const std::vector<uint8_t> empty = section();
    std::vector<uint8_t> expected(204, 0);
    expected[0] = 0xF1, expected[1] = 0x04, expected[2] = 0x10, expected[3] = 0xA1;
    expected[4 * 11 + 3] = 208; // slot 11
    for (uint8_t b : {0xEE, 0xEE, 0xEE, 0xEE, 0xF1, 0x04, 0x17, 0xA1})
        expected.push_back(b);
    expected.resize(expected.size() + 150, 0);
    expected.insert(expected.end(), kMaterialsTrailer.begin(), kMaterialsTrailer.end());
    EXPECT_EQ(empty, expected);

    files.switchEffect(7);
    fillSmall(store.at(1, 1));
    files.switchEffect(3);
    fillMotion(store.at(20, 12));
    const std::vector<uint8_t> first = section();
    EXPECT_EQ(section(), first); // two saves in a row agree
    EXPECT_EQ(store.at(20, 12).motionType, 1); // the store holds the current effect again
    const std::vector<uint8_t> effect7 = test::readAll(files.tempFile(7));
    const std::vector<uint8_t> effect3 = test::readAll(files.tempFile(3));

    files.deleteAllTemps();
    test::writeAll(files.tempFile(5), bytes({1})); // stale: not in the section
    files::ByteReader r(first);
    ASSERT_TRUE(files.readMaterialsSection(kShowMaterialsSection, r));
    EXPECT_EQ(context.currentEffect, 0);
    EXPECT_EQ(test::readAll(files.tempFile(7)), effect7);
    EXPECT_EQ(test::readAll(files.tempFile(3)), effect3);
    EXPECT_FALSE(std::filesystem::exists(files.tempFile(5)));

    // A section whose block runs past the image writes nothing.
    files.deleteAllTemps();
    std::vector<uint8_t> cut(first.begin(), first.end() - 60);
    files::ByteReader rc(cut);
    EXPECT_FALSE(files.readMaterialsSection(kShowMaterialsSection, rc));
    EXPECT_FALSE(std::filesystem::exists(files.tempFile(3)));
    files::ByteReader wrong(empty);
    EXPECT_FALSE(files.readMaterialsSection(12, wrong));
}

TEST_F(MaterialFilesTest, DamagedSetsNeverReadOutsideTheirBytes)
{
    fillSmall(store.at(1, 1));
    fillMotion(store.at(3, 5));
    files::ByteWriter w(1 << 20);
    ASSERT_TRUE(writeMaterialSet(store, library, w));
    const std::vector<uint8_t> good = w.take();
    std::mt19937 random(760);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bad = good;
        const int changes = 1 + round % 4;
        for (int k = 0; k < changes; ++k)
            bad[random() % bad.size()] = static_cast<uint8_t>(random());
        if (round % 5 == 0)
            bad.resize(random() % bad.size());
        MaterialStore target;
        target.at(9, 9).name = u"keep";
        files::ByteReader r(bad);
        if (!readMaterialSet(target, r)) {
            EXPECT_EQ(target.at(9, 9).name, u"keep"); // a refused set changes nothing
        }
        for (int m = 1; m <= kModules; ++m)
            for (int s = 1; s <= kSlots; ++s) {
                const Material& read = target.at(m, s);
                EXPECT_LE(read.stepCount, kMaxSteps);
                EXPECT_LE(read.fixtureCount, kMaxVirtualFixtures);
                EXPECT_LE(read.channelCount, kMaxChannels);
            }
    }
}
