#include "core/effects/EffectSection.h"
#include "core/files/MarkerSequence.h"
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace rz;
using namespace rz::effects;
using rz::test::fx::bytesOf;
using rz::test::fx::effectSectionImage;
using rz::test::fx::kShowHeaderSize;
using rz::test::fx::richEffectTable;

namespace {

constexpr std::size_t kSectionAt = kShowHeaderSize;         // the marker
constexpr std::size_t kEntriesAt = kSectionAt + 8 + 20;     // after marker, id, reserved bytes
constexpr std::size_t kFirstBodyAt = kEntriesAt + 3 * 50;   // 382

std::vector<uint8_t> zeros(std::size_t n) { return std::vector<uint8_t>(n, 0x00); }

std::vector<uint8_t> int24(std::size_t v)
{
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

EffectTable readBack(const std::vector<uint8_t>& image)
{
    EffectTable t;
    EXPECT_EQ(readEffectSection(t, kEffectSectionSlot, files::ByteReader(image)), ReadResult::ok);
    return t;
}

// What a save and a load keep: the derived flag is recomputed, not stored.
EffectTable expectedAfterReload(EffectTable t)
{
    for (int i = 1; i <= kEffectCount; ++i)
        t.effect(i).correspondenceInvalid = 0;
    return t;
}

} // namespace

TEST(EffectSection, GoldenBytesOfOneBodyAndOneNotesOnlyEffect)
{
    EffectTable t;
    Effect& e = t.effect(1);
    e.note = u"A";
    e.independentBass = 1;
    e.bassBeatCorrespondence = 1; // bar counts 1 and 0 differ: invalid
    e.bassHoldTime = 40;
    e.barCount = {1, 0};
    e.beatCount = {2, 0};
    e.rgbThreshold = 200;
    e.xyThreshold = 5;
    e.modules[2].allNoBassBeats[1] = 1; // material 13
    e.modules[1].allBeats[2] = 1;       // material 2
    e.beatGrid.setCell(0, 1, 2, 1, 1, true);
    e.beatGrid.setCell(0, 1, 2, 20, 12, true);
    e.bars[0][1] = {1, 3, 40};
    e.bars[0][2] = {1, 1, 1}; // beyond barCount: not stored
    e.modules[1].fourMaterialLink = 1;
    e.modules[1].linkRepeatCount = 5;
    e.modules[2].note = u"B";
    t.effect(2).note = u"C";

    const std::size_t header = kFirstBodyAt + 30; // 412
    std::vector<uint8_t> moduleRecords = zeros(40);
    moduleRecords[0] = 1; // module 1: fourMaterialLink
    moduleRecords[1] = 5; //           linkRepeatCount

    std::vector<uint8_t> entries = zeros(150);
    entries[2] = static_cast<uint8_t>(kFirstBodyAt); // effect 1's body at 382 (0x00017E)
    entries[1] = 0x01;

    const std::vector<uint8_t> expected = bytesOf({
        {0xEE, 0xEE, 0xEE, 0xEE}, // section marker
        {0xF1, 0x04, 0x03, 0x01}, // "F1040301"
        zeros(20),                // reserved
        entries,                  // effect table: effect 1 only
        // body of effect 1: block table, entries 1..9 and a zero entry 10
        int24(header), int24(header + 10), int24(header + 12), int24(header + 13),
        int24(header + 15), int24(header + 23), int24(header + 23), int24(header + 27),
        int24(header + 28), int24(0),
        {0x07},                   // flags: independentBass, correspondence, invalid
        {40},                     // bassHoldTime
        {1, 2, 0, 0},             // bars and beats of mode 0, of mode 1
        {200, 5},                 // rgbThreshold, xyThreshold
        {0, 0},                   // reserved
        {1, 13},                  // allNoBassBeats: one material, number 13
        {0},                      // allBassBeats: none
        {1, 2},                   // allBeats: material 2
        {0x00, 0x04, 0x00, 0x05}, // beat map mode 0: cell offsets of bar 1 beats 1, 2
        {0},                      //   bar 1 beat 1: no material
        {2, 1, 240},              //   bar 1 beat 2: materials 1 and 240
                                  // beat map mode 1: empty
        {3, 1, 3, 40},            // bar records mode 0: size 3, bar 1
        {3},                      // bar records mode 1: size only
        {2},                      // module records: size 2
        moduleRecords,
        {0x01, 0x00, 0x41},       // text block of effect 1: note "A"
        {0x00, 0x01, 0x00, 0x42}, //   module notes 1 "" and 2 "B"
        zeros(18),                //   module notes 3..20
        {0x01, 0x00, 0x43},       // text block of effect 2: note "C"
        zeros(20),
        zeros(48 * 21),           // effects 3..50: text blocks only
        std::vector<uint8_t>(files::kMarkerSequence.begin(), files::kMarkerSequence.end()),
    });
    const std::vector<uint8_t> image = effectSectionImage(t);
    ASSERT_EQ(image.size(), kSectionAt + expected.size());
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + kSectionAt, image.end()), expected);
    EXPECT_EQ(files::ByteReader(image).getLongAt(4 * 12), kSectionAt + 4); // slot 12
}

TEST(EffectSection, SaveLoadSaveKeepsEveryStoredFieldAndTheBytes)
{
    const EffectTable rich = richEffectTable();
    const std::vector<uint8_t> first = effectSectionImage(rich);
    const EffectTable loaded = readBack(first);

    // Beyond the bar and beat counts nothing is stored.
    EffectTable expected = expectedAfterReload(rich);
    for (int i = 1; i <= kEffectCount; ++i) {
        Effect& e = expected.effect(i);
        for (int k = 0; k < kModes; ++k)
            for (int b = 1; b <= kMaxBars; ++b) {
                if (b > e.barCount[k])
                    e.bars[k][b] = {};
                for (int t = 1; t <= kMaxBeats; ++t)
                    if (b > e.barCount[k] || t > e.beatCount[k])
                        e.beatGrid.beatCells(k, b, t).reset();
            }
    }
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(effectSectionImage(loaded), first);
}

TEST(EffectSection, EffectWithoutCountsHasNoBodyButKeepsItsNotes)
{
    EffectTable t;
    t.effect(9).note = u"空效果";
    t.effect(9).modules[20].note = u"末模块";
    t.effect(9).bassDisabled = 1; // only in a body: lost
    const std::vector<uint8_t> image = effectSectionImage(t);
    EXPECT_EQ(files::ByteReader(image).getInt24At(kEntriesAt + 3 * 8), 0u);
    const EffectTable loaded = readBack(image);
    EXPECT_EQ(loaded.effect(9).note, u"空效果");
    EXPECT_EQ(loaded.effect(9).modules[20].note, u"末模块");
    EXPECT_EQ(loaded.effect(9).bassDisabled, 0);
}

TEST(EffectSection, BarsWithoutBeatsGiveAnEmptyBeatMapButKeepTheirBarRecords)
{
    EffectTable t;
    Effect& e = t.effect(1);
    e.barCount = {3, 2};
    e.beatCount = {0, 4};
    e.bars[0][3] = {1, 36, 255};
    e.beatGrid.setCell(0, 1, 1, 1, 1, true); // no beats in mode 0: not stored
    e.beatGrid.setCell(1, 2, 4, 7, 7, true);
    const std::vector<uint8_t> image = effectSectionImage(t);
    files::ByteReader r(image);
    const std::size_t blocks = kFirstBodyAt;
    EXPECT_EQ(r.getInt24At(blocks + 3 * 4), r.getInt24At(blocks + 3 * 5)) << "mode 0's map takes no bytes";

    const EffectTable loaded = readBack(image);
    EXPECT_EQ(loaded.effect(1).bars[0][3], (EffectBar{1, 36, 255}));
    EXPECT_FALSE(loaded.effect(1).beatGrid.cell(0, 1, 1, 1, 1));
    EXPECT_TRUE(loaded.effect(1).beatGrid.cell(1, 2, 4, 7, 7));
}

TEST(EffectSection, DerivedFlagIsWrittenAsComputedAndNeverReadBack)
{
    EffectTable t;
    Effect& e = t.effect(1);
    e.barCount = {2, 1};
    e.beatCount = {4, 4};
    e.bassBeatCorrespondence = 1;
    e.independentBass = 1;
    e.correspondenceInvalid = 0; // stale: the writer computes it
    const std::size_t flagsAt = kFirstBodyAt + 30;
    std::vector<uint8_t> image = effectSectionImage(t);
    EXPECT_EQ(image[flagsAt], 0x07);

    // Every reserved bit and the derived bit set in the file: none of them reaches a field.
    image[flagsAt] = 0xFF;
    const EffectTable loaded = readBack(image);
    const Effect& l = loaded.effect(1);
    EXPECT_EQ(l.correspondenceInvalid, 0);
    EXPECT_EQ(l.independentBass, 1);
    EXPECT_EQ(l.bassBeatCorrespondence, 1);
    EXPECT_EQ(l.bassDisabled, 1);
    EXPECT_EQ(l.bassSwitchJumpsBar, 1);
    EXPECT_EQ(effectSectionImage(loaded)[flagsAt], 0x2F) << "bits 4, 6 and 7 are always written 0";
}

TEST(EffectSection, LongerRecordsAreReadByTheirStoredSize)
{
    // A later writer may store wider bar and module records; the first bytes are the fields.
    EffectTable t;
    t.effect(1).barCount = {1, 0};
    t.effect(1).beatCount = {1, 0};
    files::ByteWriter w(1 << 16);
    w.beginSectionedFile("F10410A1", 50);
    w.beginSection(12, kEffectSectionId);
    w.putZeros(20);
    const std::size_t entries = w.cursor();
    w.putZeros(150);
    const std::size_t body = w.cursor();
    w.putInt24At(entries, static_cast<uint32_t>(body));
    w.putZeros(30);
    std::vector<uint32_t> blocks;
    blocks.push_back(static_cast<uint32_t>(w.cursor()));
    w.putBytes(std::vector<uint8_t>{0, 40, 1, 1, 0, 0, 0, 0, 0, 0}); // header
    for (int k = 0; k < 3; ++k) {
        blocks.push_back(static_cast<uint32_t>(w.cursor()));
        w.putByte(0);
    }
    blocks.push_back(static_cast<uint32_t>(w.cursor()));
    w.putBytes(std::vector<uint8_t>{0, 2, 1, 5}); // one cell: material 5
    blocks.push_back(static_cast<uint32_t>(w.cursor())); // empty map
    blocks.push_back(static_cast<uint32_t>(w.cursor()));
    w.putBytes(std::vector<uint8_t>{5, 1, 7, 99, 0xAA, 0xBB}); // size 5
    blocks.push_back(static_cast<uint32_t>(w.cursor()));
    w.putByte(4);
    blocks.push_back(static_cast<uint32_t>(w.cursor()));
    w.putByte(3);
    for (int m = 1; m <= 20; ++m)
        w.putBytes(std::vector<uint8_t>{1, static_cast<uint8_t>(m), 0xCC});
    blocks.push_back(0);
    w.putInt24ArrayAt(body, blocks);
    w.putZeros(50 * 21); // text blocks
    const std::vector<uint8_t> image = w.take();

    const EffectTable loaded = readBack(image);
    const Effect& e = loaded.effect(1);
    EXPECT_EQ(e.bars[0][1], (EffectBar{1, 7, 99}));
    EXPECT_TRUE(e.beatGrid.cell(0, 1, 1, 1, 5));
    EXPECT_EQ(e.modules[20].linkRepeatCount, 20);
    EXPECT_EQ(e.modules[20].fourMaterialLink, 1);
}

TEST(EffectSection, AbsentSectionClearsEveryEffect)
{
    EffectTable t = richEffectTable();
    files::ByteWriter w(1024);
    w.beginSectionedFile("F10410A1", 50);
    w.beginSection(12, "F1041101"); // another section's identifier in slot 12
    const std::vector<uint8_t> other = w.take();
    EXPECT_EQ(readEffectSection(t, kEffectSectionSlot, files::ByteReader(other)), ReadResult::absent);
    EXPECT_EQ(t, EffectTable{});

    t = richEffectTable();
    files::ByteWriter empty(1024);
    empty.beginSectionedFile("F10410A1", 50); // slot 12 never written
    EXPECT_EQ(readEffectSection(t, kEffectSectionSlot, files::ByteReader(empty.bytes())), ReadResult::absent);
    EXPECT_EQ(t, EffectTable{});
}

TEST(EffectSection, MalformedValuesLeaveTheTableUnchanged)
{
    EffectTable one;
    one.effect(1).barCount = {1, 0};
    one.effect(1).beatCount = {1, 0};
    one.effect(1).modules[1].allBeats[1] = 1;
    one.effect(1).beatGrid.setCell(0, 1, 1, 1, 2, true);
    const std::vector<uint8_t> good = effectSectionImage(one);
    const std::size_t header = kFirstBodyAt + 30;
    const std::size_t allBeatsList = header + 10 + 2;
    const std::size_t cellList = allBeatsList + 2 + 2;
    const std::size_t barRecords = cellList + 2;
    const std::size_t moduleRecords = barRecords + 4 + 1;
    struct Case {
        const char* what;
        std::size_t at;
        uint8_t value;
    } cases[] = {
        {"17 bars", header + 2, 17},
        {"9 beats", header + 5, 9},
        {"material 0 in a slot list", allBeatsList + 1, 0},
        {"material 241 in a cell", cellList + 1, 241},
        {"cell list running off the end", cellList, 255},
        {"bar record of 2 bytes", barRecords, 2},
        {"module record of 1 byte", moduleRecords, 1},
        {"block outside the file", kFirstBodyAt, 0xFF},
        {"body outside the file", kEntriesAt, 0xFF},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        bad[c.at] = c.value;
        EffectTable t = richEffectTable();
        EXPECT_EQ(readEffectSection(t, kEffectSectionSlot, files::ByteReader(bad)), ReadResult::malformed)
            << c.what;
        EXPECT_EQ(t, richEffectTable()) << c.what;
    }
}

TEST(EffectSection, EveryTruncationFailsCleanlyAndRandomGarblingNeverEscapesTheTables)
{
    // A few effects of every kind, so that every cut can be tried.
    EffectTable few;
    test::fx::fillEffect(few.effect(1), 1);
    test::fx::fillEffect(few.effect(2), 2);
    few.effect(3).note = u"只有备注";
    test::fx::fillEffect(few.effect(50), 15);
    few.effect(50).barCount = {1, 1};
    const std::vector<uint8_t> good = effectSectionImage(few);
    const EffectTable before = [] {
        EffectTable t;
        t.effect(50).note = u"原来";
        return t;
    }();
    for (std::size_t n = kSectionAt + 8; n < good.size() - files::kMarkerSequence.size(); n += 3) {
        EffectTable t = before;
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_EQ(readEffectSection(t, kEffectSectionSlot, files::ByteReader(cut)), ReadResult::malformed) << n;
        ASSERT_EQ(t, before) << n;
    }

    std::mt19937 rng(760);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bad = good;
        for (int k = 0; k < 1 + round % 8; ++k)
            bad[kSectionAt + 8 + rng() % (bad.size() - kSectionAt - 8)] = static_cast<uint8_t>(rng());
        EffectTable t = before;
        const ReadResult r = readEffectSection(t, kEffectSectionSlot, files::ByteReader(bad));
        if (r == ReadResult::malformed) {
            ASSERT_EQ(t, before) << round;
            continue;
        }
        ASSERT_EQ(r, ReadResult::ok) << round;
        // Whatever was read is within the tables and writes back stably.
        const std::vector<uint8_t> again = effectSectionImage(t);
        ASSERT_EQ(effectSectionImage(readBack(again)), again) << round;
    }
}
