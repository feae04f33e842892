#include "core/app/Conversions.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <limits>

using namespace rz;

namespace {

TEST(BitTexts, NibbleAndByteBitsToHex)
{
    struct Case {
        std::u16string_view bits;
        std::u16string_view hex;
    };
    const Case nibbles[] = {
        {u"0000", u"0"}, {u"0001", u"1"}, {u"1010", u"A"}, {u"1111", u"F"},
        {u"2", u""},     {u"101", u""},   {u"10100", u""}, {u"1O10", u""}, {u"", u""},
    };
    for (const auto& c : nibbles)
        EXPECT_EQ(nibbleBitsToHex(c.bits), c.hex) << testing::PrintToString(std::u16string(c.bits));

    const Case bytes[] = {
        {u"10100101", u"A5"},
        {u"00001111", u"0F"},
        {u"11110000", u"F0"},
        {u"00000000", u"00"},
    };
    for (const auto& c : bytes)
        EXPECT_EQ(byteBitsToHex(c.bits), c.hex) << testing::PrintToString(std::u16string(c.bits));
}

TEST(PadLeft, PrependsUpToTheLengthAndNeverTruncates)
{
    struct Case {
        std::u16string_view text;
        int length;
        std::u16string_view pad;
        std::u16string_view result;
    };
    const Case cases[] = {
        {u"ABCDE", 4, u"0", u"ABCDE"}, // already longer: unchanged
        {u"ABCD", 4, u"0", u"ABCD"},
        {u"7", 2, u"0", u"07"},
        {u"A", 4, u"0", u"000A"},
        {u"", 2, u"0", u"00"},
        {u"A", 3, u"xy", u"xyxyA"}, // the pad text is prepended once per missing character
        {u"A", -1, u"0", u"A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(padLeft(std::u16string(c.text), c.length, c.pad), c.result);

    EXPECT_EQ(padLeftZeros(std::u16string(u"ABCDE"), 4), u"ABCDE");
    EXPECT_EQ(padLeftZeros(std::u16string(u"F"), 2), u"0F");
    EXPECT_EQ(padLeftZeros(std::string("F"), 4), "000F");
}

TEST(ByteSplitting, WordAndLongBytesMostSignificantFirst)
{
    struct WordCase {
        int64_t value;
        int part;
        std::optional<uint8_t> byte;
    };
    const WordCase words[] = {
        {0x1234, 1, 0x12},  {0x1234, 2, 0x34},  {0x00FF, 1, 0x00},   {0x00FF, 2, 0xFF},
        {0x12345, 1, 0x23}, {0x12345, 2, 0x45}, {65536, 1, 0x00},    {65536, 2, 0x00},
        {-1, 1, 0xFF},      {-2, 2, 0xFE},      {-256, 1, 0xFF},     {-256, 2, 0x00},
        {0x1234, 0, std::nullopt},              {0x1234, 3, std::nullopt},
    };
    for (const auto& c : words)
        EXPECT_EQ(wordByteHex(c.value, c.part), c.byte) << c.value << " part " << c.part;

    const WordCase longs[] = {
        {0x12345678, 1, 0x12},     {0x12345678, 2, 0x34},     {0x12345678, 3, 0x56},
        {0x12345678, 4, 0x78},     {0x123456789, 1, 0x23},    {0x123456789, 4, 0x89},
        {-2, 1, 0xFF},             {-2, 4, 0xFE},             {0xFF, 1, 0x00},
        {0x12345678, 0, std::nullopt},                        {0x12345678, 5, std::nullopt},
    };
    for (const auto& c : longs)
        EXPECT_EQ(longByteHex(c.value, c.part), c.byte) << c.value << " part " << c.part;

    EXPECT_EQ(wordFromBytes(0x12, 0x34), 0x1234u);
    EXPECT_EQ(wordFromBytes(0xFF, 0xFF), 65535u);
    EXPECT_EQ(longFromBytes(0x12, 0x34, 0x56, 0x78), 0x12345678u);
    EXPECT_EQ(longFromBytes(0x80, 0x00, 0x00, 0x01), 0x80000001u);
}

TEST(ByteSplitting, SplitAndJoinAreInverse)
{
    for (int64_t v : {int64_t{0}, int64_t{1}, int64_t{255}, int64_t{256}, int64_t{0xBEEF}, int64_t{65535}}) {
        EXPECT_EQ(wordFromBytes(*wordByteHex(v, 1), *wordByteHex(v, 2)), static_cast<uint32_t>(v));
    }
    for (uint32_t v : {0u, 1u, 0x01020304u, 0x80000000u, 0xFFFFFFFFu, 0x00FF00FFu}) {
        EXPECT_EQ(longFromBytes(*longByteHex(v, 1), *longByteHex(v, 2), *longByteHex(v, 3), *longByteHex(v, 4)), v);
    }
}

TEST(Bits, TestAndSet)
{
    EXPECT_TRUE(bitIsSet(5, 0));
    EXPECT_FALSE(bitIsSet(5, 1));
    EXPECT_TRUE(bitIsSet(5, 2));
    EXPECT_FALSE(bitIsSet(0x3FFFFFFF, 30));
    EXPECT_TRUE(bitIsSet(0x40000000, 30));
    EXPECT_TRUE(bitIsSet(-1, 31));
    EXPECT_FALSE(bitIsSet(-1, 32)); // no such bit

    EXPECT_EQ(setBit(0, 0), 1);
    EXPECT_EQ(setBit(4, 1), 6);
    EXPECT_EQ(setBit(6, 1), 6);
    EXPECT_EQ(setBit(0, 30), 0x40000000);
    EXPECT_EQ(setBit(0, 31), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(setBit(7, 40), 7);
}

TEST(Mod256, ReducesExactlyUpToTheSubtractionLimit)
{
    struct Case {
        int64_t number;
        int64_t result;
    };
    const Case cases[] = {
        {-3, -3},           {0, 0},       {255, 255},     {256, 0},
        {511, 255},         {512, 0},     {0x80 + 0x1234, (0x80 + 0x1234) % 256},
        {1'280'255, 255},   // the largest number reduced exactly
        {1'280'256, 256},   // 5000 subtractions, then it stops
        {2'000'000, 720'000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mod256(c.number), c.result) << c.number;
}

TEST(FadeValue, RoundsToOneDecimalThenDropsIt)
{
    struct Case {
        int32_t from, to, step, steps, result;
    };
    const Case cases[] = {
        {10, 0, 1, 3, 7},    // x = 3.33
        {5, 5, 3, 9, 5},     // no distance
        {0, 294, 1, 100, 2}, // x = 2.94 -> "2.9"
        {0, 296, 1, 100, 3}, // x = 2.96 -> "3.0"
        {0, 295, 1, 100, 3}, // x = 2.95: the half goes away from zero
        {0, 19, 1, 20, 1},   // x = 0.95
        {0, 9, 1, 20, 0},    // x = 0.45 -> "0.5" -> 0
        {0, 255, 1, 10, 25}, // x = 25.5 -> 25
        {0, 255, 3, 10, 76}, // x = 76.5 -> 76
        {300, 1, 1, 100, 297}, // downwards by 2.99 -> "3.0"
        {0, 10, 0, 4, 0},
        {0, 10, 4, 4, 10},
        {0, 10, 1, 0, 10},   // no steps: the fade has arrived
        {0, 10, 1, -2, 10},
        {0, 10, 2, 1, 20},   // beyond the last step it keeps going
        {0, 10, -1, 4, -2},  // x = -2.5: symmetric rounding, decimal dropped
        // The full 32-bit range neither overflows nor loses precision.
        {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 1, 2, -1},
        {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 2, 1,
         std::numeric_limits<int32_t>::max()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fadeValue(c.from, c.to, c.step, c.steps), c.result)
            << c.from << " -> " << c.to << " at " << c.step << "/" << c.steps;
}

TEST(FadeValue, FullFadesOverTicks)
{
    const int32_t up[] = {25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
    for (int t = 1; t <= 10; ++t)
        EXPECT_EQ(fadeValue(0, 255, t, 10), up[t - 1]) << "tick " << t;
    const int32_t down[] = {175, 150, 125, 100};
    for (int t = 1; t <= 4; ++t)
        EXPECT_EQ(fadeValue(200, 100, t, 4), down[t - 1]) << "tick " << t;
}

TEST(TimeStampText, TwoDigitsPerField)
{
    EXPECT_EQ(timeStampText({2026, 3, 7, 9, 5, 4}), u"[260307-090504]");
    EXPECT_EQ(timeStampText({1999, 12, 31, 23, 59, 59}), u"[991231-235959]");
    EXPECT_EQ(timeStampText({2000, 1, 1, 0, 0, 0}), u"[000101-000000]");
}

TEST(DelayMs, YieldsUntilStrictlyMoreThanTheDurationHasPassed)
{
    struct Case {
        uint32_t start;
        uint32_t yieldStep;
        int32_t ms;
        int yields;
    };
    const Case cases[] = {
        {0, 1, 10, 11},
        {0, 1, 0, 1},
        {0, 7, 10, 2},           // 14 ms > 10 ms
        {0, 5, 10, 3},           // 10 ms is not enough
        {0xFFFFFFF0u, 1, 100, 101}, // across the clock's wrap
        {0, 1, -5, 0},
    };
    for (const auto& c : cases) {
        test::FakeClock clock(c.start);
        test::FakeYield yield(clock, c.yieldStep);
        delayMs(clock, yield, c.ms);
        EXPECT_EQ(yield.count, c.yields) << "start " << c.start << " ms " << c.ms;
    }
}

TEST(DelayMs, LetsEventsRunDuringTheWait)
{
    test::FakeClock clock;
    test::FakeYield yield(clock);
    int events = 0;
    yield.onYield = [&] { ++events; };
    delayMs(clock, yield, 50);
    EXPECT_EQ(events, 51);
}

TEST(FirstPressedKey, LowestNewlyPressedKeyThatIsStillDown)
{
    test::FakeKeyState keys;
    EXPECT_EQ(firstPressedKey(keys), 0);

    keys.states = {{0x10, 0x8000},  // held, not newly pressed
                   {0x20, 0x0001},  // pressed and already released
                   {0x41, 0x8001},
                   {0x42, 0x8001},
                   {251, 0x8001}};  // outside the scanned codes
    EXPECT_EQ(firstPressedKey(keys), 0x41);
    EXPECT_EQ(firstPressedKey(keys), 0x42); // 0x41's press was reported; it is only held now
    EXPECT_EQ(firstPressedKey(keys), 0);

    keys.states = {{250, 0x8001}, {1, 0x8001}};
    EXPECT_EQ(firstPressedKey(keys), 1);
    EXPECT_EQ(firstPressedKey(keys), 250);
}

TEST(Toggle01, OneBecomesZeroAnythingElseOne)
{
    const std::pair<int, int> cases[] = {{1, 0}, {0, 1}, {5, 1}, {-1, 1}};
    for (auto [before, after] : cases) {
        int v = before;
        toggle01(v);
        EXPECT_EQ(v, after) << before;
    }
    uint8_t b = 1;
    toggle01(b);
    EXPECT_EQ(b, 0);
}

TEST(ContainsText, IgnoresCase)
{
    struct Case {
        std::u16string_view s, t;
        bool found;
    };
    const Case cases[] = {
        {u"x1r", u"R", true}, // found at the last position
        {u"abc", u"ABC", true},
        {u"abc", u"abcd", false},
        {u"RGB", u"g", true},
        {u"红色r", u"R", true},
        {u"红色", u"蓝", false},
        {u"ｒｇｂ", u"ＧＢ", true}, // full-width letters
        {u"abc", u"", true},
        {u"", u"a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(containsText(c.s, c.t), c.found)
            << testing::PrintToString(std::u16string(c.s)) << " / " << testing::PrintToString(std::u16string(c.t));
}

TEST(TextFiles, ReadTextFileEndsEveryLineWithCrLf)
{
    test::TempDir dir;
    struct Case {
        std::string bytes;
        std::u16string_view text;
    };
    const Case cases[] = {
        {"a\r\nb\nc", u"a\r\nb\r\nc\r\n"},
        {"a\r\n", u"a\r\n"},
        {"\n\n", u"\r\n\r\n"},
        {"", u""},
        {"\xEF\xBB\xBF\xE9\x80\x9A\xE9\x81\x93=1\n", u"通道=1\r\n"}, // byte-order mark dropped
        {"\xCD\xA8\xB5\xC0=1\r\n", u"通道=1\r\n"},                     // GBK, from the Windows tool
    };
    for (const auto& c : cases) {
        test::writeText(dir / "t.txt", c.bytes);
        EXPECT_EQ(readTextFile(dir / "t.txt"), c.text) << testing::PrintToString(c.bytes);
    }
    EXPECT_EQ(readTextFile(dir / "missing.txt"), u"");
    EXPECT_EQ(readTextFile(dir.path()), u"");
}

TEST(TextFiles, FileLengthOrZero)
{
    test::TempDir dir;
    test::writeAll(dir / "f.bin", {1, 2, 3, 4, 5});
    EXPECT_EQ(fileLengthOrZero(dir / "f.bin"), 5u);
    test::writeAll(dir / "empty.bin", {});
    EXPECT_EQ(fileLengthOrZero(dir / "empty.bin"), 0u);
    EXPECT_EQ(fileLengthOrZero(dir / "missing.bin"), 0u);
    EXPECT_EQ(fileLengthOrZero(dir.path()), 0u);
}

TEST(TextFiles, AtomicWriteReplacesWholeAndLeavesNothingBeside)
{
    test::TempDir dir;
    const auto file = dir / "sub" / "f.txt";
    ASSERT_TRUE(writeFileBytesAtomically(file, "first version, longer"));
    ASSERT_TRUE(writeFileBytesAtomically(file, "second"));
    EXPECT_EQ(test::readText(file), "second");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir / "sub"))
        ++entries;
    EXPECT_EQ(entries, 1);

    // A folder in the way cannot be replaced; it stays as it is.
    std::filesystem::create_directories(dir / "taken");
    EXPECT_FALSE(writeFileBytesAtomically(dir / "taken", "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
}

} // namespace
