#include "core/rdm/RdmDriver.h"

#include "RdmRig.h"
#include "core/link/Frame.h"

#include <gtest/gtest.h>

namespace rz::rdm {
namespace {

using test::Bytes;
using test::RdmRig;

const Uid kFixture(0x0311, 0xF3944E87);
constexpr char16_t kFixtureText[] = u"03-11-f3-94-4e-87";

struct RdmDriverTest : ::testing::Test {
    RdmDriverTest()
    {
        sim::RdmResponder r;
        r.uid = kFixture;
        r.manufacturerLabel = "Tu\nvo";
        r.deviceLabel = "A\nB";
        r.softwareVersion = {1, 2, 3, 4};
        r.footprints = {6, 12, 16};
        r.personality = 2;
        r.startAddress = 300;
        rig.line().add(r);
    }
    sim::RdmResponder& fixture() { return rig.line().responders().front(); }
    std::size_t framesSent() const { return rig.recorder.frames.size(); }

    RdmRig rig;
    RdmDriver& driver = rig.driver;
};

TEST_F(RdmDriverTest, UnMuteAllAndControlAreTheReferenceFrames)
{
    driver.rdmDiscUnMuteAll();
    EXPECT_EQ(rig.link.lastSentFrameText(),
              "FAF5AA550024A0A005CC0118FFFFFFFFFFFFFFFFFFFFFFFE0000000000100003000CEBCB");
    EXPECT_EQ(driver.sentBytesText(),
              u"05 CC 01 18 FF FF FF FF FF FF FF FF FF FF FF FE 00 00 00 00 00 10 00 03 00 0C EB ");
    driver.sendRdmControl(kControlEnable);
    EXPECT_EQ(rig.link.lastSentFrameText(), "FAF5AA550012A0A8010000000000000000DB");
    EXPECT_EQ(rig.line().controlParameter(), 1);
}

TEST_F(RdmDriverTest, TransactionNumberWrapsAfter254)
{
    for (int i = 0; i < 256; ++i)
        driver.rdmIdentify(kFixtureText, 0);
    ASSERT_EQ(framesSent(), 256u);
    const auto transactionOf = [&](std::size_t i) { return rig.recorder.frames[i][2 + 15]; };
    EXPECT_EQ(transactionOf(254), 254);
    EXPECT_EQ(transactionOf(255), 0);
}

TEST_F(RdmDriverTest, DeviceInfoAndLabelsComeFromTheFixture)
{
    EXPECT_TRUE(driver.rdmReadDeviceInfo(kFixtureText));
    EXPECT_EQ(driver.deviceInfo().softwareVersion, u"1.2.3.4.");
    EXPECT_EQ(driver.deviceInfo().footprint, 12);
    EXPECT_EQ(driver.deviceInfo().currentPersonality, 2);
    EXPECT_EQ(driver.deviceInfo().personalityCount, 3);
    EXPECT_EQ(driver.summaryText(), u"软件版本：1.2.3.4.\r\n通道数：12\r\nDmx地址：300\r\n");
    EXPECT_TRUE(driver.rdmReadManufacturerLabel(kFixtureText));
    EXPECT_EQ(driver.manufacturerLabel(), u"Tuvo");
    EXPECT_TRUE(driver.rdmReadDeviceLabel(kFixtureText));
    EXPECT_EQ(driver.deviceLabel(), u"AB");
}

TEST_F(RdmDriverTest, SetRequestsSucceedOnlyWithAnAck)
{
    const struct {
        const char* name;
        bool locked;
        std::function<RdmResult(RdmDriver&)> call;
        RdmStatus status;
        std::u16string log;
    } cases[] = {
        {"address", false, [](RdmDriver& d) { return d.rdmSetStartAddress(kFixtureText, 512); },
         RdmStatus::Ok, u""},
        {"address 513", false, [](RdmDriver& d) { return d.rdmSetStartAddress(kFixtureText, 513); },
         RdmStatus::Nack, u"->NACK PID:00F0 原因:0006 DATA_OUT_OF_RANGE\r\n"},
        {"locked address", true, [](RdmDriver& d) { return d.rdmSetStartAddress(kFixtureText, 5); },
         RdmStatus::Nack, u"->NACK PID:00F0 原因:0004 WRITE_PROTECT\r\n"},
        {"personality", false, [](RdmDriver& d) { return d.rdmSetPersonality(kFixtureText, 3); },
         RdmStatus::Ok, u""},
        {"personality 4 of 3", false, [](RdmDriver& d) { return d.rdmSetPersonality(kFixtureText, 4); },
         RdmStatus::Nack, u"->NACK PID:00E0 原因:0006 DATA_OUT_OF_RANGE\r\n"},
        {"identify confirmed", false, [](RdmDriver& d) { return d.rdmIdentifyConfirmed(kFixtureText, 1); },
         RdmStatus::Ok, u""},
        {"identify 2", false, [](RdmDriver& d) { return d.rdmIdentifyConfirmed(kFixtureText, 2); },
         RdmStatus::Nack, u"->NACK PID:1000 原因:0006 DATA_OUT_OF_RANGE\r\n"},
        // Nobody has this UID: the line returns no packet.
        {"identify nobody", false, [](RdmDriver& d) { return d.rdmIdentifyConfirmed(u"7A7000000001", 1); },
         RdmStatus::InvalidReply, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fixture().startAddressLocked = c.locked;
        rig.view.log.clear();
        const RdmResult r = c.call(driver);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.ok(), c.status == RdmStatus::Ok);
        EXPECT_EQ(rig.view.log, u"灯控设备支持RDM" + c.log) ;
        driver.clearSupportedNote();
    }
    EXPECT_EQ(fixture().startAddress, 512);
    EXPECT_EQ(fixture().personality, 3);
    EXPECT_EQ(fixture().identify, 1);
}

TEST_F(RdmDriverTest, FailedReadsKeepThePreviousInformation)
{
    ASSERT_TRUE(driver.rdmReadDeviceInfo(kFixtureText));
    const std::u16string summary = driver.summaryText();

    // Nobody answers another UID: the controller returns an empty A1 and the wait ends at once.
    const uint32_t before = rig.clock.now;
    const RdmResult silent = driver.rdmReadDeviceInfo(u"7A7000000001");
    EXPECT_EQ(silent.status, RdmStatus::InvalidReply);
    EXPECT_EQ(silent.replyStatus, ReplyStatus::NoStartCode);
    EXPECT_LT(rig.clock.now - before, kReplyWaitMs);
    EXPECT_TRUE(driver.replyArrived());
    EXPECT_FALSE(driver.replyHasData());

    // No transport open: the request times out.
    rig.transport.setOpen(false);
    EXPECT_EQ(driver.rdmReadDeviceInfo(kFixtureText).status, RdmStatus::NoReply);
    EXPECT_GT(rig.clock.now - before, kReplyWaitMs);
    EXPECT_EQ(driver.summaryText(), summary);
}

TEST_F(RdmDriverTest, UnacceptableUidTextSendsNothing)
{
    for (const char16_t* text : {u"", u"03-11-f3-94-4e", u"zz-11-f3-94-4e-87"}) {
        EXPECT_EQ(driver.rdmReadDeviceInfo(text).status, RdmStatus::InvalidUid);
        EXPECT_EQ(driver.rdmSetStartAddress(text, 1).status, RdmStatus::InvalidUid);
        EXPECT_FALSE(driver.rdmIdentify(text, 1));
        EXPECT_FALSE(driver.rdmDiscMute(text));
    }
    EXPECT_EQ(framesSent(), 0u);
}

// Replies a fixture would never give, scripted in place of the fixtures.
struct ScriptedLine : sim::CommandFamily {
    void handle(const sim::ReceivedFrame& f, sim::FamilyContext& c) override
    {
        if (f.payload.empty() || f.payload[0] != 0xA0)
            return;
        Bytes packet(f.payload.begin() + 2, f.payload.end());
        Bytes reply = answer(packet);
        reply.insert(reply.begin(), 0xA1);
        c.reply(0xA0, reply);
    }
    std::function<Bytes(const Bytes&)> answer;
};

TEST_F(RdmDriverTest, RepliesOfAnotherKindAreNoSuccess)
{
    // The fixture's own answer, changed and re-summed.
    auto changed = [this](std::function<void(Bytes&)> change) {
        return [this, change](const Bytes& request) {
            Bytes r = rig.line().answer(request);
            change(r);
            r.resize(r[2]);
            const uint16_t sum = rdmChecksum(r);
            r.push_back(static_cast<uint8_t>(sum >> 8));
            r.push_back(static_cast<uint8_t>(sum));
            return r;
        };
    };
    const struct {
        const char* name;
        std::function<Bytes(const Bytes&)> answer;
        RdmStatus status;
    } cases[] = {
        {"as is", changed([](Bytes&) {}), RdmStatus::Ok},
        {"100 noise bytes first", [this](const Bytes& q) {
             Bytes r(100, 0x00);
             const Bytes a = rig.line().answer(q);
             r.insert(r.end(), a.begin(), a.end());
             return r;
         }, RdmStatus::Ok},
        {"another PID", changed([](Bytes& r) { r[22] = 0x61; }), RdmStatus::UnexpectedReply},
        {"SET response class", changed([](Bytes& r) { r[20] = 0x31; }), RdmStatus::UnexpectedReply},
        {"sub-device 1", changed([](Bytes& r) { r[19] = 0x01; }), RdmStatus::UnexpectedReply},
        {"ACK_TIMER", changed([](Bytes& r) { r[16] = kResponseAckTimer; }), RdmStatus::NotAcknowledged},
        {"PDL 0x12", changed([](Bytes& r) { r[23] = 0x12; r[2] -= 1; }), RdmStatus::UnexpectedReply},
        {"bad checksum", [this](const Bytes& q) {
             Bytes r = rig.line().answer(q);
             r.back() ^= 1;
             return r;
         }, RdmStatus::InvalidReply},
    };
    ScriptedLine scripted;
    rig.controller.route(0xA0, scripted);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.answer = c.answer;
        EXPECT_EQ(driver.rdmReadDeviceInfo(kFixtureText).status, c.status);
    }
    EXPECT_NE(rig.view.log.find(u"->应答类型:01 "), std::u16string::npos);
}

TEST_F(RdmDriverTest, ReceiveHandlerStoresA1RepliesAndNotesSupportOnce)
{
    const auto deliver = [&](Bytes payload) { rig.link.receive(link::buildFrame(0xA0, payload)); };
    deliver({});
    EXPECT_EQ(rig.view.log, u"");
    EXPECT_FALSE(driver.replyArrived());

    deliver({0xA1, 0x01, 0xCC, 0x0A});
    EXPECT_TRUE(driver.replyArrived());
    EXPECT_TRUE(driver.replyHasData());
    EXPECT_EQ(driver.replyBytes(), (Bytes{0x01, 0xCC, 0x0A}));
    EXPECT_EQ(rig.view.detail, u"L=3 01 CC 0A \r\n");
    deliver({0xA8, 0x01});
    EXPECT_EQ(rig.view.log, u"灯控设备支持RDM");

    driver.clearSupportedNote();
    deliver({0xA8});
    EXPECT_EQ(rig.view.log, u"灯控设备支持RDM灯控设备支持RDM");
    EXPECT_EQ(driver.replyBytes(), (Bytes{0x01, 0xCC, 0x0A})) << "other sub-codes carry no reply";

    deliver({0xA1});
    EXPECT_TRUE(driver.replyArrived());
    EXPECT_FALSE(driver.replyHasData());
    EXPECT_EQ(rig.view.detail, u"L=3 01 CC 0A \r\nL=0 \r\n");
}

TEST_F(RdmDriverTest, TestCommandLogsRequestReplyAndRawLine)
{
    rz::test::StringLogBox box;
    EXPECT_TRUE(driver.rdmSendTestCommand(kFixtureText, u"0020", u"0082", u"", box));
    const std::u16string sent = u"->>>> 05 CC 01 18 03 11 F3 94 4E 87 FF FF FF FF FF FE 00 00 00 00 00 20 00 82 00 ";
    const std::u16string reply = u"CC 01 1B FF FF FF FF FF FE 03 11 F3 94 4E 87 00 00 00 00 00 21 00 82 03 41 0A 42 ";
    ASSERT_EQ(box.text.substr(0, sent.size()), sent);
    const std::size_t received = box.text.find(u"\r\n<<<<- " + reply);
    ASSERT_NE(received, std::u16string::npos) << "the parsed reply follows the request";
    EXPECT_NE(box.text.find(u"\r\nL=29 " + reply, received + 1), std::u16string::npos)
        << "then the raw line with the checksum";
    EXPECT_EQ(rig.view.detail, u"") << "a captured reply stays out of the detailed log";

    // No answer this time: the raw line is empty, not the previous command's.
    box.text.clear();
    rig.transport.setOpen(false);
    EXPECT_FALSE(driver.rdmSendTestCommand(kFixtureText, u"0020", u"0082", u"", box));
    EXPECT_EQ(box.text.find(u"L="), std::u16string::npos);
    EXPECT_EQ(box.text.find(u"<<<<-"), std::u16string::npos);
    EXPECT_EQ(box.text.substr(box.text.size() - 5), u" \r\n\r\n");
}

TEST_F(RdmDriverTest, MalformedTestCommandTextsAreRefusedWithAMessage)
{
    const std::u16string tooLong(2 * 232, u'0');
    const struct {
        const char16_t* commandClass;
        const char16_t* pid;
        const char16_t* data;
        const char16_t* message;
    } cases[] = {
        {u"00G0", u"00F0", u"", u"->指令格式错误\r\n"},
        {u"20", u"00F0", u"", u"->指令格式错误\r\n"},
        {u"0030", u"F0", u"", u"->指令格式错误\r\n"},
        {u"0030", u"00F0", u"123", u"->数据格式错误\r\n"},
        {u"0030", u"00F0", u"0x1 zz", u"->数据格式错误\r\n"},
        {u"0030", u"00F0", tooLong.c_str(), u"->数据格式错误\r\n"},
    };
    for (const auto& c : cases) {
        rz::test::StringLogBox box;
        EXPECT_EQ(driver.rdmSendTestCommand(kFixtureText, c.commandClass, c.pid, c.data, box).status,
                  RdmStatus::BadCommandText);
        EXPECT_EQ(box.text, c.message);
    }
    EXPECT_EQ(framesSent(), 0u);

    rz::test::StringLogBox box;
    EXPECT_TRUE(driver.rdmSendTestCommand(kFixtureText, u"0030", u"00F0", u"0x00 0x2A", box));
    EXPECT_EQ(fixture().startAddress, 42);
}

TEST_F(RdmDriverTest, PeriodicStepAsksForFramesOnlyWhileThePageIsIdle)
{
    int requests = 0;
    driver.requestLiveFrames = [&] { ++requests; };
    driver.rdmPeriodicStep();
    EXPECT_EQ(requests, 0);
    driver.setPageIdle(1);
    driver.rdmPeriodicStep();
    EXPECT_EQ(requests, 1);
}

} // namespace
} // namespace rz::rdm
