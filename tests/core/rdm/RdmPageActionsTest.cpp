#include "core/rdm/RdmPageActions.h"

#include "RdmRig.h"

#include <gtest/gtest.h>

namespace rz::rdm {
namespace {

using test::Bytes;

constexpr char16_t kEntry[] = u"03-11-F3-94-4E-87";
const Uid kFixture(0x0311, 0xF3944E87);
constexpr char16_t kInitialReplyText[] =
    u"FE FE FE FE FE FE FE AA AB 57 BB 55 FB F7 BE D5 EE 5F AF D7 AA 5D EA 7F";

struct RdmPageActionsTest : ::testing::Test {
    RdmPageActionsTest()
    {
        sim::RdmResponder r;
        r.uid = kFixture;
        r.manufacturerLabel = "Tuvo";
        r.deviceLabel = "A\nB";
        r.softwareVersion = {1, 2, 3, 4};
        r.footprints = {6, 12, 16};
        r.personality = 2;
        r.startAddress = 300;
        rig.line().add(r);
    }
    sim::RdmResponder& fixture() { return rig.line().responders().front(); }

    test::RdmRig rig;
    rz::test::RecordingPrompt prompt;
    RdmPageActions actions{rig.driver, prompt};
};

TEST_F(RdmPageActionsTest, AddressOutside1To512IsRefusedAndNotSent)
{
    const struct {
        const char16_t* text;
        bool sent;
        uint16_t address;
    } cases[] = {
        {u"0", false, 0}, {u"513", false, 0}, {u"abc", false, 0}, {u"", false, 0},
        {u"99999999999", false, 0}, {u"1", true, 1}, {u"512", true, 512}, {u" 12x", true, 12},
    };
    for (const auto& c : cases) {
        prompt.messages.clear();
        const std::size_t before = rig.recorder.frames.size();
        EXPECT_EQ(actions.changeAddress(kEntry, c.text), c.sent) << std::u16string(c.text).size();
        if (c.sent) {
            EXPECT_EQ(fixture().startAddress, c.address);
            EXPECT_TRUE(prompt.messages.empty());
        } else {
            EXPECT_EQ(rig.recorder.frames.size(), before);
            EXPECT_EQ(prompt.messages, std::vector<std::u16string>{u"地址输入错误！"});
        }
    }
}

TEST_F(RdmPageActionsTest, PersonalityNeedsAnEntryOfTheList)
{
    for (auto [index, count] : {std::pair{0, 0}, {-1, 3}, {3, 3}}) {
        prompt.messages.clear();
        EXPECT_FALSE(actions.changePersonality(kEntry, index, count));
        EXPECT_EQ(prompt.messages, std::vector<std::u16string>{u"通道设置错误！"});
    }
    EXPECT_TRUE(rig.recorder.frames.empty());
    EXPECT_TRUE(actions.changePersonality(kEntry, 2, 3));
    EXPECT_EQ(fixture().personality, 3);
}

TEST_F(RdmPageActionsTest, DeviceInformationTextAndControls)
{
    const DeviceInformation info = actions.readDeviceInformation(kEntry, kEntry);
    EXPECT_EQ(info.text, u"厂家:Tuvo\r\n产品:AB\r\n软件版本：1.2.3.4.\r\n通道数：12\r\nDmx地址：300\r\n");
    EXPECT_TRUE(info.deviceInfoRead);
    EXPECT_EQ(info.personalities, (std::vector<std::u16string>{u"1模式", u"2模式", u"3模式"}));
    EXPECT_EQ(info.personalityIndex, 1);
    EXPECT_EQ(info.addressText, u"300");

    fixture().personality = 9; // not one of its personalities
    EXPECT_FALSE(actions.readDeviceInformation(kEntry, kEntry).personalityIndex);

    const DeviceInformation none = actions.readDeviceInformation(u"7A-70-00-00-00-01", u"7A7000000001");
    EXPECT_EQ(none.text, u"厂家:\r\n产品:\r\n读取失败");
    EXPECT_FALSE(none.deviceInfoRead);
    EXPECT_TRUE(none.personalities.empty());
}

TEST_F(RdmPageActionsTest, IdentifyUsesTheEntryWithoutDashes)
{
    actions.identify(kEntry, 1);
    EXPECT_EQ(fixture().identify, 1);
    actions.identify(kEntry, 0);
    EXPECT_EQ(fixture().identify, 0);
}

TEST(DecodeTool, DecodesFormatsAndRefuses)
{
    std::u16string oneDigitLess(kInitialReplyText);
    oneDigitLess.pop_back();
    std::u16string fd(kInitialReplyText);
    fd[1] = u'D';
    EXPECT_EQ(decodeDiscoveryReplyTool(kInitialReplyText), u"03-11-F3-94-4E-87-");
    EXPECT_EQ(decodeDiscoveryReplyTool(oneDigitLess), u"格式错误！");
    EXPECT_EQ(decodeDiscoveryReplyTool(fd), u"解析错误！");
    EXPECT_EQ(decodeDiscoveryReplyTool(u"ZZ" + std::u16string(kInitialReplyText).substr(2)), u"格式错误！");
}

struct RecordingControls : SearchControls {
    void setSearchCaption(std::u16string_view c) override { searchCaptions.emplace_back(c); }
    void setFrameCaption(const std::u16string& c) override { frameCaptions.push_back(c); }
    void setDeviceControlsEnabled(bool e) override { enabled.push_back(e); }
    std::size_t listEntries() override { return entries; }
    std::vector<std::u16string> searchCaptions;
    std::vector<std::u16string> frameCaptions;
    std::vector<bool> enabled;
    std::size_t entries = 0;
};

TEST_F(RdmPageActionsTest, SearchButtonSearchesAndUnMutesAfterwards)
{
    test::addFixtures(rig.line(), {Uid(0x7A70, 1)});
    rig.driver.discovery().setUseMute(true);
    RecordingControls controls;
    rig.view.onBranch = [&](uint32_t) { controls.entries = rig.view.list.size(); };
    actions.searchClicked(controls);

    EXPECT_EQ(rig.driver.discovery().foundUids().size(), 2u);
    EXPECT_EQ(controls.searchCaptions, (std::vector<std::u16string>{u"停止", u"搜索"}));
    EXPECT_EQ(controls.frameCaptions, (std::vector<std::u16string>{u"灯具搜索", u"灯具搜索 (2)"}));
    EXPECT_EQ(controls.enabled, (std::vector<bool>{false, true}));
    for (const auto& f : rig.line().responders())
        EXPECT_FALSE(f.muted);
    EXPECT_EQ(rig.driver.pageIdleFlag(), 1);
}

TEST_F(RdmPageActionsTest, SecondClickStopsTheRunningSearch)
{
    test::addFixtures(rig.line(), test::randomUids(10, 61));
    RecordingControls controls;
    int stopIdle = -1;
    rig.view.onBranch = [&](uint32_t n) {
        if (n == 5) {
            actions.searchClicked(controls); // the stop click, inside the search's wait
            stopIdle = rig.driver.pageIdleFlag();
        }
    };
    actions.searchClicked(controls);
    EXPECT_EQ(rig.driver.discovery().branchCount(), 5u);
    EXPECT_EQ(stopIdle, 1);
    EXPECT_EQ(controls.searchCaptions, (std::vector<std::u16string>{u"停止", u"搜索", u"搜索"}));
    EXPECT_EQ(controls.frameCaptions.back(), u"灯具搜索 (0)");
}

TEST_F(RdmPageActionsTest, ShowingThePageEnablesRdmAndUnMutesAll)
{
    fixture().muted = true;
    rig.driver.rdmIdentify(kEntry, 0); // the note appears at the first A0 frame
    rig.link.waitReply(0xA0, 10);
    actions.pageShown();
    ASSERT_EQ(rig.recorder.frames.size(), 4u);
    EXPECT_EQ(rig.recorder.frames[1], (Bytes{0xA8, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(fixture().muted);
    EXPECT_EQ(rig.view.logClears, 1);
    EXPECT_EQ(rig.driver.pageIdleFlag(), 1);
    rig.link.waitReply(0xA0, 10);
    EXPECT_EQ(rig.view.log, u"灯控设备支持RDM") << "shown again after the log was cleared";
}

} // namespace
} // namespace rz::rdm
