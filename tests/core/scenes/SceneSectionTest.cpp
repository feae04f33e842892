#include "core/scenes/SceneSection.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace rz;
using namespace rz::scenes;
using rz::test::bytesOf;
using rz::test::kShowHeaderSize;
using rz::test::richSceneTable;
using rz::test::sceneImage;

namespace {

constexpr std::size_t kSectionAt = kShowHeaderSize;      // marker position in sceneImage()
constexpr std::size_t kTableAt = kSectionAt + 8 + 20;    // scene table
constexpr std::size_t kFirstRecordAt = kTableAt + 2 * 51;

uint32_t entry(const std::vector<uint8_t>& image, int i)
{
    return files::ByteReader(image).getWordAt(kTableAt + 2 * (i - 1));
}

std::vector<uint8_t> zeros(std::size_t n) { return std::vector<uint8_t>(n, 0x00); }

} // namespace

TEST(SceneSection, GoldenBytesOfOneRecordAndOneNameOnlyScene)
{
    SceneTable t;
    Scene& s1 = t.scene(1);
    s1.effect = 3;
    s1.mainsByDmx = 1;
    s1.relays[1] = s1.relays[24] = 1;
    s1.dimmers[2] = 10;
    s1.dimmers[7] = 99;
    s1.wallPanelScene = 1;
    Scene& s2 = t.scene(2); // no content: entry 0, yet every value below is stored
    s2.name = u"AB";
    s2.wallPanelScene = 7;
    s2.vodScene = 8;
    s2.effectsUnitSound = 3;
    s2.audioSource = 6;
    t.relayNotes[1] = u"L";
    t.dimmerNotes[8] = u"D";

    const std::size_t record = kFirstRecordAt;        // 334
    const std::size_t association = record + 8;       // 342
    // Association block, 50 name length bytes plus "AB", 32 note length bytes plus "L" and "D".
    const std::size_t extension = association + 100 + (50 + 4) + (32 + 2 + 2);

    std::vector<uint8_t> names = zeros(kSceneCount);
    names[1] = 0x02; // scene 2 "AB"
    names.insert(names.begin() + 2, {0x00, 0x41, 0x00, 0x42});

    std::vector<uint8_t> notes = zeros(kRelayCount + kDimmerCount);
    notes[0] = 0x01; // relay note 1 "L"
    notes.insert(notes.begin() + 1, {0x00, 0x4C});
    notes.back() = 0x01; // dimmer note 8 "D"
    notes.insert(notes.end(), {0x00, 0x44});

    std::vector<uint8_t> table = zeros(2 * 51);
    table[0] = static_cast<uint8_t>(record >> 8); // entry 1: scene 1's record
    table[1] = static_cast<uint8_t>(record);
    table[100] = static_cast<uint8_t>(association >> 8); // entry 51: the association block
    table[101] = static_cast<uint8_t>(association);

    std::vector<uint8_t> wall = zeros(kSceneCount), vod = zeros(kSceneCount);
    std::vector<uint8_t> sound = zeros(kSceneCount), source = zeros(kSceneCount);
    wall[0] = 1;
    wall[1] = 7;
    vod[1] = 8;
    sound[1] = 3;
    source[1] = 6;

    const std::vector<uint8_t> expected = bytesOf({
        {0xEE, 0xEE, 0xEE, 0xEE}, // section marker
        {0xF1, 0x04, 0x11, 0x01}, // "F1041101"
        {0x00, 0x00, static_cast<uint8_t>(extension >> 8), static_cast<uint8_t>(extension)},
        zeros(16),                // rest of the 20 reserved bytes
        table,
        {0x03},                   // scene 1: effect 3
        {0x01},                   // flags: mains by DMX
        {0x80, 0x00, 0x01},       // relay mask: relay 24 = bit 23, relay 1 = bit 0
        {0x42},                   // dimmer mask: dimmers 2 and 7
        {0x0A, 0x63},             // levels of dimmer 2, then dimmer 7
        wall, vod,                // association block
        names,
        notes,                    // relay notes 1..24, dimmer notes 1..8
        {0xF1, 0x09, 0x17, 0x01}, // extension "F1091701"
        {0x03, 0x00},             // flags: sound and source blocks; a zero byte
        sound, source,
    });

    const std::vector<uint8_t> image = sceneImage(t);
    ASSERT_EQ(image.size(), kSectionAt + expected.size());
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + kSectionAt, image.end()), expected);
    EXPECT_EQ(files::ByteReader(image).getLongAt(4 * 2), kSectionAt + 4) << "slot 2";
}

TEST(SceneSection, RecordMasksPutRelay1AndDimmer1InBit0)
{
    struct Case {
        std::vector<int> relays;
        std::vector<std::pair<int, uint8_t>> dimmers;
        uint8_t mainsByDmx;
        std::vector<uint8_t> record; // effect 1 in every case
    };
    const Case cases[] = {
        {{1}, {}, 0, {0x01, 0x00, 0x00, 0x00, 0x01, 0x00}},
        {{24}, {}, 0, {0x01, 0x00, 0x80, 0x00, 0x00, 0x00}},
        {{8, 9, 16, 17}, {}, 0, {0x01, 0x00, 0x01, 0x81, 0x80, 0x00}},
        {{}, {{1, 5}}, 0, {0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x05}},
        {{}, {{8, 99}, {1, 1}}, 0, {0x01, 0x00, 0x00, 0x00, 0x00, 0x81, 0x01, 0x63}},
        {{}, {}, 1, {0x01, 0x01, 0x00, 0x00, 0x00, 0x00}},
        // Only a 1 counts as mains by DMX.
        {{}, {}, 2, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SceneTable t;
        Scene& s = t.scene(5);
        s.effect = 1;
        s.mainsByDmx = c.mainsByDmx;
        for (int r : c.relays)
            s.relays[r] = 1;
        for (auto [d, level] : c.dimmers)
            s.dimmers[d] = level;
        const std::vector<uint8_t> image = sceneImage(t);
        ASSERT_EQ(entry(image, 5), kFirstRecordAt);
        const std::vector<uint8_t> record(image.begin() + kFirstRecordAt,
                                          image.begin() + kFirstRecordAt + c.record.size());
        EXPECT_EQ(record, c.record) << "record of case with " << c.relays.size() << " relays, "
                                    << c.dimmers.size() << " dimmers";
        EXPECT_EQ(entry(image, 51), kFirstRecordAt + c.record.size());
    }
}

TEST(SceneSection, WriteReadWriteIsByteStable)
{
    const SceneTable original = richSceneTable();
    const std::vector<uint8_t> first = sceneImage(original);

    SceneTable read;
    ASSERT_EQ(readSceneSection(read, files::ByteReader(first)), ReadResult::ok);
    EXPECT_EQ(read, original);
    EXPECT_EQ(sceneImage(read), first);

    // Scenes without content have no record; their names, associations, sound programs and
    // audio sources came back all the same (read == original above).
    for (int i : {10, 20, 30, 40, 50})
        EXPECT_EQ(entry(first, i), 0u) << "scene " << i;
    EXPECT_EQ(read.scene(30).name, original.scene(30).name);
    EXPECT_NE(read.scene(40).audioSource, 0);
}

TEST(SceneSection, RelaysReadBackAsOneAndRenamedFixedScenesRevert)
{
    SceneTable t;
    t.scene(3).relays[2] = 7; // any non-zero relay is on
    t.scene(33).name = u"改名";
    t.scene(31).name.clear();
    t.scene(36).name = u"自由";

    SceneTable read;
    ASSERT_EQ(readSceneSection(read, files::ByteReader(sceneImage(t))), ReadResult::ok);
    EXPECT_EQ(read.scene(3).relays[2], 1);
    EXPECT_EQ(read.scene(33).name, u"静音/暂停");
    EXPECT_EQ(read.scene(31).name, u"全开");
    EXPECT_EQ(read.scene(36).name, u"自由");
}

TEST(SceneSection, ReadingReplacesEverythingThatWasThere)
{
    SceneTable sparse;
    sparse.scene(1).effect = 2;
    SceneTable target = richSceneTable();
    ASSERT_EQ(readSceneSection(target, files::ByteReader(sceneImage(sparse))), ReadResult::ok);
    SceneTable expected = sparse;
    expected.applyFixedSceneNames();
    EXPECT_EQ(target, expected);
}

TEST(SceneSection, AShowWithoutScenesClearsAllButTheFixedNames)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
    };
    files::ByteWriter other(1024);
    other.beginSectionedFile("F10410A1", 50);
    other.beginSection(2, "F1040401"); // another section's identifier in slot 2
    other.putZeros(64);
    files::ByteWriter empty(1024);
    empty.beginSectionedFile("F10410A1", 50);
    const Case cases[] = {{"slot 2 never written", empty.take()},
                          {"another identifier", other.take()}};
    for (const Case& c : cases) {
        SceneTable t = richSceneTable();
        EXPECT_EQ(readSceneSection(t, files::ByteReader(c.image)), ReadResult::absent) << c.what;
        SceneTable expected;
        expected.applyFixedSceneNames();
        EXPECT_EQ(t, expected) << c.what;
    }
}

TEST(SceneSection, ExtensionBlocksAreReadAsTheirFlagsSay)
{
    SceneTable t;
    for (int i = 1; i <= kSceneCount; ++i) {
        t.scene(i).effectsUnitSound = 5;
        t.scene(i).audioSource = 4;
    }
    const std::vector<uint8_t> full = sceneImage(t);
    const uint32_t extension = files::ByteReader(full).getLongAt(kSectionAt + 8);
    ASSERT_EQ(full.size(), extension + 4 + 2 + 100);
    const std::vector<uint8_t> head(full.begin(), full.begin() + extension);
    const std::vector<uint8_t> id{0xF1, 0x09, 0x17, 0x01};
    const std::vector<uint8_t> fours(kSceneCount, 4);

    struct Case {
        const char* what;
        std::vector<uint8_t> image;
        uint8_t sound, source;
    };
    const Case cases[] = {
        {"no extension (older file)", head, 0, 0},
        {"another identifier", bytesOf({head, {0xF1, 0x09, 0x17, 0x02, 0x03, 0x00}, fours, fours}), 0, 0},
        {"source block only", bytesOf({head, id, {0x02, 0x00}, fours}), 0, 4},
        {"sound block only", bytesOf({head, id, {0x01, 0x00}, fours}), 4, 0},
        {"neither", bytesOf({head, id, {0x00, 0x00}}), 0, 0},
        {"both", full, 5, 4},
    };
    for (const Case& c : cases) {
        SceneTable read;
        ASSERT_EQ(readSceneSection(read, files::ByteReader(c.image)), ReadResult::ok) << c.what;
        for (int i : {1, 50}) {
            EXPECT_EQ(read.scene(i).effectsUnitSound, c.sound) << c.what;
            EXPECT_EQ(read.scene(i).audioSource, c.source) << c.what;
        }
    }
}

TEST(SceneSection, DamagedSectionsChangeNothing)
{
    SceneTable t;
    t.scene(1).effect = 50;
    t.scene(1).dimmers[1] = 99;
    t.scene(2).name = u"n";
    t.scene(30).wallPanelScene = 30;
    t.scene(30).vodScene = 30;
    for (int i = 1; i <= kSceneCount; ++i) {
        t.scene(i).effectsUnitSound = 6;
        t.scene(i).audioSource = 6;
    }
    const std::vector<uint8_t> good = sceneImage(t);
    const std::size_t association = entry(good, 51);

    struct Case {
        const char* what;
        std::vector<std::pair<std::size_t, uint8_t>> patches; // position, new byte
    };
    const Case cases[] = {
        {"association entry 0", {{kTableAt + 100, 0x00}, {kTableAt + 101, 0x00}}},
        {"record position past the end", {{kTableAt, 0xFF}}},
        {"section position past the end", {{8, 0xFF}}},
        {"name longer than the file", {{association + 100, 0xFF}}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        for (auto [at, value] : c.patches)
            bad[at] = value;
        SceneTable target = richSceneTable();
        const SceneTable before = target;
        EXPECT_EQ(readSceneSection(target, files::ByteReader(bad)), ReadResult::malformed) << c.what;
        EXPECT_EQ(target, before) << c.what;
    }
}

TEST(SceneSection, ValuesOutsideTheEditorsListsLoadAsStored)
{
    SceneTable t;
    t.scene(1).effect = 50;
    t.scene(1).dimmers[1] = 99;
    const std::vector<uint8_t> good = sceneImage(t);
    const std::size_t record = entry(good, 1);
    const std::size_t association = entry(good, 51);
    const std::size_t extension = files::ByteReader(good).getLongAt(kSectionAt + 8);

    std::vector<uint8_t> odd = good;
    odd[record] = 51;                         // effect
    odd[record + 6] = 100;                    // dimmer 1
    odd[association + 29] = 31;               // wall-panel scene of scene 30
    odd[association + 50 + 29] = 255;         // VOD scene of scene 30
    odd[extension + 6] = 7;                   // sound program of scene 1
    odd[extension + 6 + 50 + 49] = 7;         // audio source of scene 50
    SceneTable read;
    ASSERT_EQ(readSceneSection(read, files::ByteReader(odd)), ReadResult::ok);
    EXPECT_EQ(read.scene(1).effect, 51);
    EXPECT_EQ(read.scene(1).dimmers[1], 100);
    EXPECT_EQ(read.scene(30).wallPanelScene, 31);
    EXPECT_EQ(read.scene(30).vodScene, 255);
    EXPECT_EQ(read.scene(1).effectsUnitSound, 7);
    EXPECT_EQ(read.scene(50).audioSource, 7);

    // They are written back unchanged.
    SceneTable again;
    ASSERT_EQ(readSceneSection(again, files::ByteReader(sceneImage(read))), ReadResult::ok);
    EXPECT_EQ(again, read);
}

TEST(SceneSection, EveryTruncationFailsCleanlyOrLacksOnlyTheExtension)
{
    const std::vector<uint8_t> full = sceneImage(richSceneTable());
    const std::size_t extension = files::ByteReader(full).getLongAt(kSectionAt + 8);
    for (std::size_t n = 0; n < full.size(); ++n) {
        const std::vector<uint8_t> prefix(full.begin(), full.begin() + n);
        SceneTable target;
        target.scene(7).name = u"before";
        const SceneTable before = target;
        const ReadResult r = readSceneSection(target, files::ByteReader(prefix));
        if (n >= extension && n < extension + 4) {
            // Cut inside the extension identifier: reads as a section without extension.
            EXPECT_EQ(r, ReadResult::ok) << "length " << n;
            EXPECT_EQ(target.scene(1).effectsUnitSound, 0) << "length " << n;
        } else {
            EXPECT_EQ(r, ReadResult::malformed) << "length " << n;
            EXPECT_EQ(target, before) << "length " << n;
        }
    }
}

TEST(SceneSection, GarbledCopiesNeverCrashAndKeepRelaysOnOrOff)
{
    const SceneTable original = richSceneTable();
    const std::vector<uint8_t> good = sceneImage(original);
    std::mt19937 random(6101);
    std::uniform_int_distribution<std::size_t> at(kSectionAt, good.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255), hits(1, 8);
    for (int copy = 0; copy < 1000; ++copy) {
        std::vector<uint8_t> bad = good;
        for (int k = hits(random); k > 0; --k)
            bad[at(random)] = static_cast<uint8_t>(byte(random));
        SceneTable target = original;
        const ReadResult r = readSceneSection(target, files::ByteReader(bad));
        if (r == ReadResult::malformed) {
            EXPECT_EQ(target, original) << "copy " << copy;
            continue;
        }
        // ok, or absent when slot 2 or the identifier was hit (then all is cleared). Byte
        // values load as stored; relays come from mask bits.
        for (int i = 1; i <= kSceneCount; ++i) {
            const Scene& s = target.scene(i);
            for (int r = 1; r <= kRelayCount; ++r)
                ASSERT_LE(s.relays[r], 1);
        }
        EXPECT_EQ(target.scene(33).name, u"静音/暂停");
    }
}

TEST(SceneSection, APositionThatWouldNotFitItsWordWritesNothing)
{
    const SceneTable t = richSceneTable();
    files::ByteWriter out(1u << 20);
    out.beginSectionedFile("F10410A1", 50);
    out.setCursor(0xFF00);
    EXPECT_FALSE(writeSceneSection(t, out));
    EXPECT_EQ(out.cursor(), 0xFF00u);
    EXPECT_EQ(out.bytes().size(), kShowHeaderSize);
    EXPECT_EQ(files::ByteReader(out.bytes()).getLongAt(8), 0u) << "slot 2 stays empty";

    // Just fitting: the association block starts at 0xFFFF.
    SceneTable empty;
    files::ByteWriter edge(1u << 20);
    edge.beginSectionedFile("F10410A1", 50);
    edge.setCursor(0xFFFF - (8 + 20 + 102));
    ASSERT_TRUE(writeSceneSection(empty, edge));
    SceneTable read;
    EXPECT_EQ(readSceneSection(read, files::ByteReader(edge.bytes())), ReadResult::ok);
}
