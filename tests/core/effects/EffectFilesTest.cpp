#include "core/effects/EffectFiles.h"
#include "core/files/FileDialogs.h"
#include "core/materials/MaterialRecord.h"
#include "EffectTestSupport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;
using namespace rz::effects;
using materials::Material;
using rz::test::fx::fillEffect;
using rz::test::fx::fillMaterial;

namespace {

class EffectFilesTest : public ::testing::Test {
protected:
    EffectFilesTest()
    {
        test::fx::fillLibrary(library);
        context.currentEffect = 3;
    }

    std::vector<uint8_t> record(const Material& m) const
    {
        files::ByteWriter w(1 << 20);
        materials::writeMaterial(m, library, w);
        return w.take();
    }
    std::vector<uint8_t> tempOf(int e) const
    {
        const auto p = materialFiles.tempFile(e);
        return std::filesystem::exists(p) ? test::readAll(p) : std::vector<uint8_t>{};
    }
    // Everything an import may touch, to see that a refused one touched nothing.
    struct Snapshot {
        EffectTable table;
        std::vector<std::vector<uint8_t>> materials, temps;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const
    {
        Snapshot s{table, {}, {}};
        for (int n = 1; n <= materials::kMaterialsPerEffect; ++n)
            s.materials.push_back(record(store.at(*materials::materialFromNumber(n))));
        for (int e = 1; e <= kEffectCount; ++e)
            s.temps.push_back(tempOf(e));
        return s;
    }
    // Effect e's materials parked in its temporary file.
    void parkMaterials(int e, uint8_t base)
    {
        const uint8_t current = context.currentEffect;
        context.currentEffect = static_cast<uint8_t>(e);
        store.clearAll();
        fillMaterial(store.at(1, 1), 2, base);
        fillMaterial(store.at(20, 12), 3, static_cast<uint8_t>(base + 50));
        materialFiles.saveEffectToTemp(e);
        store.clearAll();
        context.currentEffect = current;
    }

    test::TempDir dir;
    EffectTable table;
    materials::MaterialStore store;
    fixtures::FixtureLibrary library;
    materials::EditingContext context;
    test::ScriptedFileChooser chooser;
    test::RecordingPrompt prompt;
    materials::MaterialFiles materialFiles{store, library, context, dir.path(), chooser, prompt};
    EffectFiles files{table, store, materialFiles, library, context, chooser, prompt};
};

} // namespace

TEST_F(EffectFilesTest, OneEffectFileHoldsBodyTextAndMaterialSetAtItsEntries)
{
    Effect& e = table.effect(3);
    e.note = u"N";
    e.barCount = {1, 0};
    e.beatCount = {1, 0};
    fillMaterial(store.at(2, 5), 1, 10);
    const std::vector<uint8_t> image = *files.effectImage(3);

    files::ByteReader r(image);
    EXPECT_EQ(r.getId(), "F1042901");
    EXPECT_EQ(r.getBytes(20), std::vector<uint8_t>(20, 0));
    EXPECT_EQ(r.getInt24(), 30u) << "the body follows the entries";
    const uint32_t set = r.getInt24();
    // Body: table (30), header (10), three empty slot lists, one cell, two bar record blocks,
    // module records; then the text block: "N" and 20 empty module notes.
    const std::size_t bodySize = 30 + 10 + 3 + (2 + 1) + 0 + (1 + 3) + 1 + (1 + 40);
    EXPECT_EQ(set, 30 + bodySize + 3 + 20);
    EXPECT_EQ(r.getByteAt(set), 1) << "one valid material";
    EXPECT_EQ(r.getByteAt(set + 1), materials::materialNumber(2, 5));

    table.effect(3).barCount = {0, 0};
    table.effect(3).beatCount = {0, 0};
    store.clearAll();
    const std::vector<uint8_t> bare = *files.effectImage(3);
    files::ByteReader b(bare);
    EXPECT_EQ(b.getInt24At(24), 0u);
    EXPECT_EQ(b.getInt24At(27), 0u) << "no material set written";
    EXPECT_EQ(bare.size(), 30u + 3 + 20) << "just the text block at 30";
}

TEST_F(EffectFilesTest, OneEffectImportReplacesFieldsAndMaterialsOfTheTarget)
{
    fillEffect(table.effect(3), 11);
    table.effect(3).bassSwitchJumpsBar = 0;
    fillMaterial(store.at(1, 2), 4, 1, 3);
    fillMaterial(store.at(7, 12), 2, 100);
    const std::vector<uint8_t> image = *files.effectImage(3);
    const std::vector<uint8_t> first = record(store.at(1, 2)), second = record(store.at(7, 12));
    const std::vector<uint8_t> sourceEffect = *files.effectImage(3);

    // Into effect 8, current now, with its own flags and materials that the import clears.
    context.currentEffect = 8;
    store.clearAll();
    table.effect(8).bassSwitchJumpsBar = 1;
    table.effect(8).bars[0][1].bassHold = 1;
    table.effect(8).bars[1][16].beatDwell = 9;
    parkMaterials(8, 1);
    fillMaterial(store.at(3, 3), 1, 1);

    ASSERT_TRUE(files.importEffect(8, image));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(table.effect(8).bassSwitchJumpsBar, 0);
    EXPECT_EQ(table.effect(8).bars[1][16].beatDwell, 0);
    EXPECT_EQ(record(store.at(1, 2)), first);
    EXPECT_EQ(record(store.at(7, 12)), second);
    EXPECT_FALSE(store.at(3, 3).isValid());
    EXPECT_FALSE(std::filesystem::exists(materialFiles.tempFile(8))) << "the clear deleted it";
    EXPECT_EQ(*files.effectImage(8), sourceEffect) << "byte-stable through export and import";
}

TEST_F(EffectFilesTest, ImportsIntoAnotherThanTheCurrentEffectGoThroughItsTemporaryFile)
{
    table.effect(3).note = u"源";
    fillMaterial(store.at(1, 1), 2, 7);
    const std::vector<uint8_t> effect = *files.effectImage(3);
    const std::vector<uint8_t> module = *files.moduleImage(3, 1);
    const std::vector<uint8_t> kept = record(store.at(1, 1));
    parkMaterials(12, 30); // (1, 1) and (20, 12)

    ASSERT_TRUE(files.importModule(12, 1, module));
    store.clearAll();
    context.currentEffect = 0;
    materialFiles.switchEffect(12);
    EXPECT_EQ(record(store.at(1, 1)), kept);
    EXPECT_TRUE(store.at(20, 12).isValid()) << "other modules stay";

    materialFiles.switchEffect(3);
    store.clearAll();
    ASSERT_TRUE(files.importEffect(20, effect));
    EXPECT_EQ(table.effect(20).note, u"源");
    materialFiles.switchEffect(20);
    EXPECT_EQ(record(store.at(1, 1)), kept);
}

TEST_F(EffectFilesTest, ModuleFileSkipsInvalidSlotsAndItsImportLeavesThemCleared)
{
    EffectModule& mod = table.effect(3).modules[2];
    mod.note = u"模块二";
    mod.fourMaterialLink = 1;
    mod.linkRepeatCount = 30;
    fillMaterial(store.at(2, 1), 2, 5);
    fillMaterial(store.at(2, 2), 2, 5);
    store.at(2, 2).channelCount = 0; // steps but no channels: not valid
    fillMaterial(store.at(2, 12), 1, 9);
    const std::vector<uint8_t> image = *files.moduleImage(3, 2);
    const std::vector<uint8_t> slot1 = record(store.at(2, 1)), slot12 = record(store.at(2, 12));

    files::ByteReader r(image);
    EXPECT_EQ(r.getId(), "F1043001");
    const std::vector<uint32_t> entries = r.getInt24Array(13);
    EXPECT_EQ(entries[0], 43u);
    const std::size_t block = 43 + 1 + 2 * 3;
    EXPECT_EQ(r.getByteAt(block), 1);
    EXPECT_EQ(r.getByteAt(block + 1), 30);
    EXPECT_EQ(entries[1], block + 200);
    for (int s = 2; s <= 11; ++s)
        EXPECT_EQ(entries[static_cast<std::size_t>(s)], 0u) << s;
    EXPECT_EQ(entries[12], entries[1] + slot1.size());
    EXPECT_EQ(image.size(), entries[12] + slot12.size());

    // Into module 5, whose slot 2 holds a material and whose flags and cells must stay.
    Effect& e = table.effect(3);
    fillMaterial(store.at(5, 2), 3, 60);
    e.modules[5].allBassBeats[2] = 1;
    e.beatGrid.setCell(1, 4, 4, 5, 2, true);
    ASSERT_TRUE(files.importModule(3, 5, image));
    EXPECT_EQ(e.modules[5].note, u"模块二");
    EXPECT_EQ(e.modules[5].fourMaterialLink, 1);
    EXPECT_EQ(e.modules[5].linkRepeatCount, 30);
    EXPECT_EQ(record(store.at(5, 1)), slot1);
    EXPECT_FALSE(store.at(5, 2).isValid());
    EXPECT_EQ(store.at(5, 2).stepCount, 0);
    EXPECT_EQ(record(store.at(5, 12)), slot12);
    EXPECT_EQ(e.modules[5].allBassBeats[2], 1);
    EXPECT_TRUE(e.beatGrid.cell(1, 4, 4, 5, 2));
}

TEST_F(EffectFilesTest, AllEffectsFileCarriesMaterialsAndEffectsThroughExportAndImport)
{
    table = test::fx::richEffectTable();
    parkMaterials(1, 10);
    parkMaterials(50, 20);
    fillMaterial(store.at(4, 4), 5, 40); // effect 3's, in the store
    const std::vector<uint8_t> image = *files.allEffectsImage();
    files::ByteReader r(image);
    EXPECT_EQ(r.getId(), "F1042701");
    EXPECT_EQ(r.getLongAt(4 * 11), 204u + 4) << "materials right after the table";
    const Snapshot saved = snapshot();

    table.clearAllEffects();
    materialFiles.deleteAllTemps();
    store.clearAll();
    ASSERT_TRUE(files.importAllEffects(image));
    EXPECT_EQ(context.currentEffect, 0);
    for (int e : {1, 3, 50})
        EXPECT_EQ(tempOf(e), saved.temps[static_cast<std::size_t>(e - 1)]) << e;
    EXPECT_TRUE(tempOf(2).empty());
    EXPECT_EQ(*files.allEffectsImage(), image) << "byte-stable through export and import";
    EXPECT_EQ(table.effect(7).note, u"只有备注");
}

TEST_F(EffectFilesTest, FilesOfAnotherKindOrCutShortChangeNothing)
{
    fillEffect(table.effect(3), 5);
    fillMaterial(store.at(1, 1), 3, 1, 2);
    fillMaterial(store.at(1, 2), 1, 1);
    parkMaterials(4, 70);
    const std::vector<uint8_t> all = *files.allEffectsImage();
    const std::vector<uint8_t> one = *files.effectImage(3);
    const std::vector<uint8_t> module = *files.moduleImage(3, 1);
    const Snapshot before = snapshot();

    using Import = std::function<bool(std::span<const uint8_t>)>;
    struct Kind {
        const char* name;
        Import import;
        const std::vector<uint8_t>& own;
        std::size_t unreadTail; // bytes at the end that no reader looks at
    } kinds[] = {
        {"all", [&](auto b) { return files.importAllEffects(b); }, all, files::kMarkerSequence.size()},
        {"one", [&](auto b) { return files.importEffect(3, b); }, one, 0},
        {"module", [&](auto b) { return files.importModule(3, 1, b); }, module, 0},
    };
    for (const Kind& k : kinds) {
        for (const Kind& other : kinds) {
            if (&other == &k)
                continue;
            prompt.messages.clear();
            EXPECT_FALSE(k.import(other.own)) << k.name << " from " << other.name;
            EXPECT_EQ(prompt.messages, std::vector<std::u16string>{u"文件错误！！！"}) << k.name;
            EXPECT_TRUE(snapshot() == before) << k.name << " from " << other.name;
        }
        for (std::size_t n = 0; n + k.unreadTail < k.own.size(); n += 1 + n / 64) {
            const std::span<const uint8_t> cut(k.own.data(), n);
            prompt.messages.clear();
            ASSERT_FALSE(k.import(cut)) << k.name << " cut at " << n;
            ASSERT_EQ(prompt.messages.size(), 1u) << k.name << " cut at " << n;
            ASSERT_TRUE(snapshot() == before) << k.name << " cut at " << n;
        }
    }
}

TEST_F(EffectFilesTest, DialogsUseTheirTitlesAndAnEmptyChoiceDoesNothingElse)
{
    struct Op {
        bool save;
        std::u16string title, extension;
        std::function<bool()> run;
    } ops[] = {
        {true, u"全部效果另存为", u"K_AXG", [&] { return files.exportAllEffects(); }},
        {false, u"导入全部效果", u"K_AXG", [&] { return files.importAllEffects(); }},
        {true, u"一个效果另存为", u"K_1XG", [&] { return files.exportEffect(3); }},
        {false, u"导入一个效果", u"K_1XG", [&] { return files.importEffect(3); }},
        {true, u"模块另存为", u"K_1MK", [&] { return files.exportModule(3, 1); }},
        {false, u"导入模块", u"K_1MK", [&] { return files.importModule(3, 1); }},
    };
    table.effect(3).note = u"keep";
    for (const Op& op : ops) {
        chooser.calls.clear();
        prompt.messages.clear();
        chooser.paths.push_back(std::nullopt);
        EXPECT_FALSE(op.run());
        ASSERT_EQ(chooser.calls.size(), 1u);
        EXPECT_EQ(chooser.calls[0].save, op.save);
        EXPECT_EQ(chooser.calls[0].title, op.title);
        EXPECT_EQ(chooser.calls[0].extension, op.extension);
        EXPECT_EQ(prompt.messages, std::vector<std::u16string>{u"文件名错误！"});
        EXPECT_EQ(table.effect(3).note, u"keep");
    }

    // A chosen name gets its extension; the file written is the image.
    chooser.paths.push_back(dir / "mine");
    ASSERT_TRUE(files.exportEffect(3));
    EXPECT_EQ(test::readAll(dir / "mine.K_1XG"), *files.effectImage(3));
    table.effect(3).note.clear();
    chooser.paths.push_back(dir / "mine.K_1XG");
    ASSERT_TRUE(files.importEffect(3));
    EXPECT_EQ(table.effect(3).note, u"keep");

    // A missing file is no effect file.
    prompt.messages.clear();
    chooser.paths.push_back(dir / "missing.K_1MK");
    EXPECT_FALSE(files.importModule(3, 1));
    EXPECT_EQ(prompt.messages, std::vector<std::u16string>{u"文件错误！！！"});
}

TEST_F(EffectFilesTest, UserClearTakesTheMaterialsAlongAndModuleClearOnlyItsOwn)
{
    parkMaterials(6, 1);
    fillEffect(table.effect(3), 2);
    fillMaterial(store.at(1, 1), 1, 1);
    fillMaterial(store.at(2, 1), 1, 1);
    materialFiles.saveEffectToTemp(3);

    files.clearModule(3, 1);
    EXPECT_FALSE(store.at(1, 1).isValid());
    EXPECT_TRUE(store.at(2, 1).isValid());
    EXPECT_EQ(table.effect(3).modules[1].note, u"");

    files.clearEffectByUser(3);
    EXPECT_EQ(table.effect(3), Effect{});
    EXPECT_FALSE(store.at(2, 1).isValid());
    EXPECT_FALSE(std::filesystem::exists(materialFiles.tempFile(3)));
    EXPECT_TRUE(std::filesystem::exists(materialFiles.tempFile(6)));

    fillMaterial(store.at(2, 1), 1, 1);
    files.clearEffectByUser(6); // not current: its temporary file goes, the store stays
    EXPECT_FALSE(std::filesystem::exists(materialFiles.tempFile(6)));
    EXPECT_TRUE(store.at(2, 1).isValid());
}
