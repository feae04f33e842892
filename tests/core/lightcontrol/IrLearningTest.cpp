#include "core/lightcontrol/IrLearning.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rz::lightcontrol;

namespace {
using Payload = std::optional<std::array<uint8_t, 2>>;
const std::vector<uint8_t> kReport{0x50, 0x66, 0x12, 0x34, 0x56, 0x78};
} // namespace

TEST(IrLearning, FocusRepeatsLearningOnAndLeavingSendsOffOnce)
{
    IrLearning learning;
    EXPECT_EQ(learning.timerIntervalMs(), 0u);

    learning.focusGained(8);
    EXPECT_EQ(learning.learningKey(), 8);
    EXPECT_EQ(learning.timerIntervalMs(), 100u);
    EXPECT_EQ(learning.tick(true), Payload(kIrLearningOn));
    EXPECT_EQ(learning.timerIntervalMs(), 500u);
    EXPECT_EQ(learning.tick(true), Payload(kIrLearningOn));

    learning.focusLost();
    EXPECT_EQ(learning.learningKey(), 0);
    EXPECT_EQ(learning.timerIntervalMs(), 100u);
    EXPECT_EQ(learning.tick(true), Payload(kIrLearningOff));
    EXPECT_EQ(learning.timerIntervalMs(), 0u) << "the timer stops after one off message";
    EXPECT_EQ(learning.tick(true), std::nullopt);
}

TEST(IrLearning, NothingIsSentWhileTheLiveLinkIsOffOrAnotherPageIsLive)
{
    IrLearning learning;
    learning.focusGained(1);
    EXPECT_EQ(learning.tick(false), std::nullopt);
    EXPECT_EQ(learning.timerIntervalMs(), 100u) << "the timer keeps running";
    learning.focusLost();
    EXPECT_EQ(learning.tick(false), std::nullopt);
    EXPECT_EQ(learning.tick(true), Payload(kIrLearningOff)) << "sent once the link is back";
}

TEST(IrLearning, OnlyKeys1To17Learn)
{
    for (int key : {0, 18, 20, -1}) {
        IrLearning learning;
        learning.focusGained(key);
        EXPECT_EQ(learning.learningKey(), 0) << key;
        EXPECT_EQ(learning.timerIntervalMs(), 0u) << key;
    }
}

TEST(IrLearning, AReportedCodeGoesToTheLearningKeyOnly)
{
    struct Case {
        const char* what;
        int focused; // 0 = no box has focus
        uint8_t command;
        std::vector<uint8_t> data;
        int redraw;
    };
    const Case cases[] = {
        {"report", 17, 0xCE, kReport, 17},
        {"no box has focus", 0, 0xCE, kReport, 0},
        {"another command", 3, 0xCF, kReport, 0},
        {"five data bytes", 3, 0xCE, {0x50, 0x66, 0x12, 0x34, 0x56}, 0},
        {"seven data bytes", 3, 0xCE, {0x50, 0x66, 0x12, 0x34, 0x56, 0x78, 0x9A}, 0},
        {"not a code report", 3, 0xCE, {0x20, 0x66, 0x12, 0x34, 0x56, 0x78}, 0},
        {"not 66", 3, 0xCE, {0x50, 0x65, 0x12, 0x34, 0x56, 0x78}, 0},
    };
    for (const Case& c : cases) {
        IrLearning learning;
        if (c.focused != 0)
            learning.focusGained(c.focused);
        LightControlSettings s;
        s.effectsUnitIr[3] = {9, 9, 9, 9};
        const LightControlSettings before = s;
        EXPECT_EQ(learning.receive(c.command, c.data, s), c.redraw) << c.what;
        if (c.redraw == 0) {
            EXPECT_EQ(s, before) << c.what;
        } else {
            EXPECT_EQ(s.effectsUnitIr[c.redraw], (IrCode{0x12, 0x34, 0x56, 0x78})) << c.what;
        }
    }
}
