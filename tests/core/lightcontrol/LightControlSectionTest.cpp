#include "core/lightcontrol/LightControlSection.h"
#include "core/files/MarkerSequence.h"

#include <gtest/gtest.h>

#include <random>

using namespace rz;
using namespace rz::lightcontrol;

namespace {

constexpr std::size_t kSectionAt = 204; // after the show identifier and its 50 slots
constexpr std::size_t kBlockAt = kSectionAt + 8;
constexpr std::size_t kSectionSize = 8 + kSettingsBlockSize + 20;

std::vector<uint8_t> image(const LightControlSettings& s)
{
    files::ByteWriter out(4096);
    out.beginSectionedFile("F10410A1", 50);
    writeLightControlSection(s, out);
    return out.take();
}

std::vector<uint8_t> showWithoutSection1()
{
    files::ByteWriter out(4096);
    out.beginSectionedFile("F10410A1", 50);
    return out.take();
}

// A distinct value in every field, so a field stored at the wrong offset shows.
LightControlSettings distinct()
{
    LightControlSettings s;
    s.powerOnScene = 0x02;
    s.exhaust1AtPowerOn = 0x03;
    s.channel9Exhaust1Off = 0x04;
    s.exhaust2AtPowerOn = 0x05;
    s.channel3AsExhaust2 = 0x06;
    s.powerOnAirCon = 0x07;
    s.channels678AsAirConFan = 0x08;
    s.channel5AsValveOpen = 0x09;
    s.channel4AsValveClose = 0x0A;
    s.micShakeTime = 0x0B;
    s.sceneRelayControl = 0x01;
    s.smokeMachineTime = 0x0D;
    s.cheerBooTime = 0x0E;
    s.denseDrumCount = 0x0F;
    s.fixedDmxChannel = 0x01F4; // 500
    s.fixedDmxOnValue = 0x12;
    s.fixedDmxOffValue = 0x13;
    s.fixedDmxPowerOnState = 0x14;
    s.vodPauseNoSceneSwitch = 0x15;
    s.sceneSwitchXyLimit = 0x16;
    s.thyristorDimming = 0x17;
    s.dimmingSteps = 0x18;
    s.dimmingFade = 0x19;
    s.pauseDmxOnVodPause = 0x1A;
    s.adjustOnlyWhenSceneOpen = 0x1B;
    s.dimmingMinimum = 0x1C;
    s.doorPlateLightOff = 0x1D;
    for (int k = 1; k <= kIrKeyCount; ++k)
        s.effectsUnitIr[k] = {static_cast<uint8_t>(0xA0 + k), 0x00, 0xFF, static_cast<uint8_t>(k)};
    return s;
}

} // namespace

TEST(LightControlSection, GoldenBytes)
{
    std::vector<uint8_t> expected{
        0xEE, 0xEE, 0xEE, 0xEE, // section marker
        0xF1, 0x04, 0x23, 0x01, // "F1042301"
        0x00, 0xC8,             //  0: the value 200
        0x02,                   //  2: powerOnScene
        0x03,                   //  3: exhaust1AtPowerOn
        0x04,                   //  4: channel9Exhaust1Off
        0x05,                   //  5: exhaust2AtPowerOn
        0x06,                   //  6: channel3AsExhaust2
        0x07,                   //  7: powerOnAirCon
        0x08,                   //  8: channels678AsAirConFan
        0x09,                   //  9: channel5AsValveOpen
        0x0A,                   // 10: channel4AsValveClose
        0x0B,                   // 11: micShakeTime
        0x01,                   // 12: sceneRelayControl
        0x0D,                   // 13: smokeMachineTime
        0x0E,                   // 14: cheerBooTime
        0x0F,                   // 15: denseDrumCount
        0x01, 0xF4,             // 16: fixedDmxChannel 500
        0x12,                   // 18: fixedDmxOnValue
        0x13,                   // 19: fixedDmxOffValue
        0x14,                   // 20: fixedDmxPowerOnState
        0x15,                   // 21: vodPauseNoSceneSwitch
        0x16,                   // 22: sceneSwitchXyLimit
        0x17,                   // 23: thyristorDimming
        0x18,                   // 24: dimmingSteps
        0x19,                   // 25: dimmingFade
        0x1A,                   // 26: pauseDmxOnVodPause
        0x1B,                   // 27: adjustOnlyWhenSceneOpen
        0x1C,                   // 28: dimmingMinimum
        0x1D,                   // 29: doorPlateLightOff
    };
    expected.insert(expected.end(), 70, 0x00); // 30..99: reserved
    for (int k = 1; k <= kIrKeyCount; ++k)     // 100..179: IR keys 1..20, four bytes each
        expected.insert(expected.end(), {static_cast<uint8_t>(0xA0 + k), 0x00, 0xFF, static_cast<uint8_t>(k)});
    expected.insert(expected.end(), files::kMarkerSequence.begin(), files::kMarkerSequence.end());

    const std::vector<uint8_t> bytes = image(distinct());
    ASSERT_EQ(bytes.size(), kSectionAt + kSectionSize);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + kSectionAt, bytes.end()), expected);
    EXPECT_EQ(files::ByteReader(bytes).getLongAt(4), kSectionAt + 4) << "slot 1";
}

TEST(LightControlSection, WriteReadWriteIsByteStable)
{
    const std::vector<uint8_t> first = image(distinct());
    LightControlSettings read;
    ASSERT_EQ(readLightControlSection(read, files::ByteReader(first)), ReadResult::ok);
    LightControlSettings expected = distinct();
    validateLightControl(expected);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(image(read), first) << "every stored value is already valid";
}

TEST(LightControlSection, ReadingReplacesEveryFieldAndValidates)
{
    LightControlSettings stored;
    stored.micShakeTime = 0;
    stored.sceneRelayControl = 3;
    stored.denseDrumCount = 20;
    stored.dimmingSteps = 0; // a stored 0 is kept; only the editor's display changes it
    stored.effectsUnitIr[18] = {1, 2, 3, 4};

    LightControlSettings target = distinct();
    ASSERT_EQ(readLightControlSection(target, files::ByteReader(image(stored))), ReadResult::ok);
    LightControlSettings expected = stored;
    expected.micShakeTime = 1;
    expected.sceneRelayControl = 0;
    expected.denseDrumCount = 7;
    EXPECT_EQ(target, expected);
}

TEST(LightControlSection, AShowWithoutSection1GivesDefaultsAndKeepsDimming)
{
    files::ByteWriter other(4096);
    other.beginSectionedFile("F10410A1", 50);
    other.beginSection(1, "F1041101"); // the scenes' identifier in slot 1
    other.putZeros(200);
    for (const std::vector<uint8_t>& file : {showWithoutSection1(), other.take()}) {
        LightControlSettings s = distinct();
        EXPECT_EQ(readLightControlSection(s, files::ByteReader(file)), ReadResult::absent);
        EXPECT_EQ(s.micShakeTime, 1);
        EXPECT_EQ(s.denseDrumCount, 7);
        EXPECT_EQ(s.sceneRelayControl, 0);
        EXPECT_EQ(s.powerOnScene, 0);
        EXPECT_FALSE(s.hasIrCode(1));
        EXPECT_EQ(s.thyristorDimming, 0x17);
        EXPECT_EQ(s.dimmingSteps, 0x18);
        EXPECT_EQ(s.dimmingFade, 0x19);
        EXPECT_EQ(s.adjustOnlyWhenSceneOpen, 0x1B);
        EXPECT_EQ(s.dimmingMinimum, 0x1C);
    }
}

TEST(LightControlSection, EveryTruncationOfTheBlockChangesNothing)
{
    const std::vector<uint8_t> full = image(distinct());
    for (std::size_t n = 0; n <= full.size(); ++n) {
        LightControlSettings target;
        target.powerOnScene = 9;
        const LightControlSettings before = target;
        const ReadResult r = readLightControlSection(
            target, files::ByteReader(std::span(full).first(n)));
        if (n >= kBlockAt + kSettingsBlockSize) {
            EXPECT_EQ(r, ReadResult::ok) << "length " << n << ": the trailer is never read";
        } else {
            EXPECT_EQ(r, ReadResult::malformed) << "length " << n;
            EXPECT_EQ(target, before) << "length " << n;
        }
    }
}

TEST(LightControlSection, GarbledCopiesNeverCrash)
{
    const std::vector<uint8_t> good = image(distinct());
    std::mt19937 random(7101);
    std::uniform_int_distribution<std::size_t> at(0, good.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int copy = 0; copy < 1000; ++copy) {
        std::vector<uint8_t> bad = good;
        for (int k = 0; k < 4; ++k)
            bad[at(random)] = static_cast<uint8_t>(byte(random));
        LightControlSettings target = distinct();
        const LightControlSettings before = target;
        const ReadResult r = readLightControlSection(target, files::ByteReader(bad));
        if (r == ReadResult::malformed) {
            EXPECT_EQ(target, before) << "copy " << copy;
        } else {
            EXPECT_GE(target.micShakeTime, 1) << "copy " << copy;
            EXPECT_LE(target.sceneRelayControl, 1) << "copy " << copy;
            EXPECT_GE(target.denseDrumCount, 5) << "copy " << copy;
            EXPECT_LE(target.denseDrumCount, 15) << "copy " << copy;
        }
    }
}
