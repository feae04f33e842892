#include "core/rdm/RdmPacket.h"

#include "core/rdm/Uid.h"

#include <gtest/gtest.h>

#include <vector>

namespace rz::rdm {
namespace {

using Bytes = std::vector<uint8_t>;

const Uid kDevice(0x0311, 0xF3944E87);

TEST(Uid, TextFormsRoundTripAndNormalise)
{
    EXPECT_EQ(kDevice.listedText(), u"03-11-F3-94-4E-87");
    EXPECT_EQ(kDevice.hexText(), u"0311F3944E87");
    EXPECT_EQ(kDevice.toString(), "0311:F3944E87");
    for (const char16_t* text : {u"03-11-f3-94-4e-87", u"0311F3944E87", u"0x03 0x11, f3-94 4E87",
                                 u"03-11-F3-94-4E-87"})
        EXPECT_EQ(Uid::fromText(text), kDevice) << std::u16string(text).size();
    for (const char16_t* text : {u"", u"03-11-f3-94-4e", u"03-11-f3-94-4e-87-00", u"03-11-g3-94-4e-87",
                                 u"03:11:F3:94:4E:87"})
        EXPECT_FALSE(Uid::fromText(text));
    EXPECT_EQ(Uid::fromBytes(kDevice.toBytes()), kDevice);
    EXPECT_FALSE(Uid::fromBytes(Bytes{1, 2, 3, 4, 5}));
}

TEST(Uid, OrdersByManufacturerThenDevice)
{
    EXPECT_LT(Uid(0x7A70, 0xFFFFFFFF), Uid(0x7A71, 0));
    EXPECT_LT(Uid(0x7A70, 1), Uid(0x7A70, 2));
    EXPECT_TRUE(Uid::allDevices().isBroadcast());
    EXPECT_EQ(Uid::allDevices().listedText(), u"FF-FF-FF-FF-FF-FF");
    EXPECT_EQ(Uid::requestSource().listedText(), u"FF-FF-FF-FF-FF-FE");
}

TEST(TransactionNumber, Runs0To254ThenStartsAgain)
{
    TransactionNumber t;
    for (int i = 0; i <= 254; ++i)
        ASSERT_EQ(t.take(), i);
    EXPECT_EQ(t.take(), 0);
    EXPECT_EQ(t.take(), 1);
}

TEST(RdmPacket, DiscUnMuteToAllIsTheReferencePacket)
{
    const Bytes expected{
        0xCC, 0x01, 0x18,                   // start code, sub-start code, message length 24
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, // destination: all devices
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, // source
        0x00, 0x00, 0x00, 0x00, 0x00,       // transaction 0, port, message count, sub-device
        0x10,                               // discovery command
        0x00, 0x03,                         // DISC_UN_MUTE
        0x00,                               // no data
        0x0C, 0xEB,                         // checksum
    };
    EXPECT_EQ(buildRdmPacket(request::discUnMuteAll(), 0), expected);
}

// Class, PID, data and mode of every request of the table.
TEST(RdmPacket, EveryRequestCarriesItsClassPidDataAndMode)
{
    const struct {
        const char* name;
        RdmRequest request;
        uint8_t commandClass;
        uint16_t pid;
        Bytes data;
        uint8_t mode;
        bool waits;
    } cases[] = {
        {"branch", request::discUniqueBranch(Uid(0, 0x10), Uid(0x7FFF, 0xFFFFFFFF)), 0x10, 0x0001,
         {0, 0, 0, 0, 0, 0x10, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 3, false},
        {"mute", request::discMute(kDevice), 0x10, 0x0002, {}, 5, false},
        {"unmute", request::discUnMuteAll(), 0x10, 0x0003, {}, 5, false},
        {"identify", request::identify(kDevice, 1), 0x30, 0x1000, {1}, 5, false},
        {"identify confirmed", request::identifyConfirmed(kDevice, 0), 0x30, 0x1000, {0}, 5, true},
        {"device info", request::readDeviceInfo(kDevice), 0x20, 0x0060, {}, 5, true},
        {"address", request::setStartAddress(kDevice, 0x01FF), 0x30, 0x00F0, {0x01, 0xFF}, 5, true},
        {"personality", request::setPersonality(kDevice, 3), 0x30, 0x00E0, {3}, 5, true},
        {"manufacturer", request::readManufacturerLabel(kDevice), 0x20, 0x0081, {}, 5, true},
        {"label", request::readDeviceLabel(kDevice), 0x20, 0x0082, {}, 5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes p = buildRdmPacket(c.request, 7);
        ASSERT_EQ(p.size(), 24 + c.data.size() + 2);
        EXPECT_EQ(p[2], 24 + c.data.size());
        EXPECT_EQ(Uid::fromBytes(Bytes(p.begin() + 3, p.begin() + 9)),
                  c.name == std::string("branch") || c.name == std::string("unmute") ? Uid::allDevices()
                                                                                       : kDevice);
        EXPECT_EQ(p[15], 7);
        EXPECT_EQ(p[19], 0x00);
        EXPECT_EQ(p[20], c.commandClass);
        EXPECT_EQ(p[21] << 8 | p[22], c.pid);
        EXPECT_EQ(Bytes(p.begin() + 24, p.end() - 2), c.data);
        EXPECT_EQ(c.request.mode, c.mode);
        EXPECT_EQ(c.request.waits, c.waits);
        EXPECT_EQ(p[p.size() - 2] << 8 | p.back(), rdmChecksum(Bytes(p.begin(), p.end() - 2)));
    }
}

TEST(RdmPacket, ParameterDataTooLongForTheLengthByteIsRefusedNotCut)
{
    RdmRequest fits = request::readDeviceInfo(kDevice);
    fits.data = Bytes(kMaxParameterData, 0x5A);
    const Bytes p = buildRdmPacket(fits, 1);
    ASSERT_EQ(p.size(), 24 + kMaxParameterData + 2);
    EXPECT_EQ(p[2], 24 + kMaxParameterData);

    RdmRequest tooLong = fits;
    tooLong.data.push_back(0x5A);
    EXPECT_TRUE(buildRdmPacket(tooLong, 1).empty());
}

// A GET DEVICE_INFO response from kDevice, ACK, with the given data.
Bytes response(Bytes data, uint8_t responseType = kResponseAck, uint16_t pid = kPidDeviceInfo)
{
    Bytes p{0xCC, 0x01, static_cast<uint8_t>(24 + data.size())};
    for (uint8_t b : Uid::requestSource().toBytes())
        p.push_back(b);
    for (uint8_t b : kDevice.toBytes())
        p.push_back(b);
    p.insert(p.end(), {0x09, responseType, 0x00, 0x00, 0x00, 0x21, static_cast<uint8_t>(pid >> 8),
                       static_cast<uint8_t>(pid), static_cast<uint8_t>(data.size())});
    p.insert(p.end(), data.begin(), data.end());
    const uint16_t sum = rdmChecksum(p);
    p.push_back(static_cast<uint8_t>(sum >> 8));
    p.push_back(static_cast<uint8_t>(sum));
    return p;
}

Bytes withChecksum(Bytes p)
{
    const std::size_t ml = p[2];
    const uint16_t sum = rdmChecksum(Bytes(p.begin(), p.begin() + ml));
    p[ml] = static_cast<uint8_t>(sum >> 8);
    p[ml + 1] = static_cast<uint8_t>(sum);
    return p;
}

TEST(ParseRdmReply, TakesAValidReplyApart)
{
    const ReplyParse r = parseRdmReply(response({0x41, 0x42}, kResponseAck, kPidDeviceLabel));
    ASSERT_EQ(r.status, ReplyStatus::Ok);
    EXPECT_EQ(r.reply.classText(), u"0021");
    EXPECT_EQ(r.reply.pidText(), u"0082");
    EXPECT_EQ(r.reply.data, (Bytes{0x41, 0x42}));
    EXPECT_EQ(r.reply.source, kDevice);
    EXPECT_EQ(r.reply.transaction, 0x09);
    EXPECT_EQ(r.reply.responseType, kResponseAck);
    EXPECT_EQ(r.reply.parsedText.substr(0, 9), u"CC 01 1A ");
    EXPECT_EQ(r.reply.parsedText.size(), 28u * 3);
}

TEST(ParseRdmReply, NoiseLengthAndChecksumFaults)
{
    const Bytes good = response({1, 2, 3});
    auto noisy = [&](std::size_t n) {
        Bytes b(n, 0x55);
        b.insert(b.end(), good.begin(), good.end());
        return b;
    };
    Bytes badSubStart = good;
    badSubStart[1] = 0x02;
    Bytes zeroLength = good;
    zeroLength[2] = 0;
    Bytes shortMessage = good;
    shortMessage[2] = 20; // the header fields would lie past the message
    Bytes dataPastMessage = good;
    dataPastMessage[23] = 4;
    Bytes badChecksum = good;
    badChecksum.back() ^= 1;
    Bytes cut = good;
    cut.pop_back();

    const struct {
        const char* name;
        Bytes bytes;
        ReplyStatus status;
    } cases[] = {
        {"plain", good, ReplyStatus::Ok},
        {"100 noise bytes", noisy(100), ReplyStatus::Ok},
        {"101 noise bytes", noisy(101), ReplyStatus::NoStartCode},
        {"nothing", {}, ReplyStatus::NoStartCode},
        {"only noise", Bytes(30, 0x00), ReplyStatus::NoStartCode},
        {"start code alone", {0xCC}, ReplyStatus::BadHeader},
        {"sub-start code", badSubStart, ReplyStatus::BadHeader},
        {"message length 0", zeroLength, ReplyStatus::BadHeader},
        {"message shorter than its header", withChecksum(shortMessage), ReplyStatus::BadLength},
        {"data past the message", withChecksum(dataPastMessage), ReplyStatus::BadLength},
        {"checksum", badChecksum, ReplyStatus::BadChecksum},
        {"last byte missing", cut, ReplyStatus::Truncated},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseRdmReply(c.bytes).status, c.status) << c.name;
}

TEST(ParseRdmReply, NackReasonComesFromTheData)
{
    const ReplyParse r = parseRdmReply(response({0x00, 0x06}, kResponseNack));
    ASSERT_EQ(r.status, ReplyStatus::Ok);
    EXPECT_EQ(r.reply.nackReason(), kNackDataOutOfRange);
    EXPECT_EQ(nackReasonName(kNackDataOutOfRange), u"DATA_OUT_OF_RANGE");
    EXPECT_FALSE(parseRdmReply(response({0x00, 0x06})).reply.nackReason());
}

TEST(Labels, BytesOf20AndBelowAreSkipped)
{
    EXPECT_EQ(labelFromBytes(Bytes{0x41, 0x0A, 0x42}), u"AB");
    EXPECT_EQ(labelFromBytes(Bytes{20, 21, 0x20, 0x7E}), u"\x15 ~");
    EXPECT_EQ(labelFromBytes(Bytes{}), u"");
}

TEST(DeviceInfo, FieldsAndSummaryText)
{
    const Bytes data{0x01, 0x00,             // protocol version
                     0x12, 0x34,             // model
                     0x01, 0x01,             // product category
                     1, 2, 3, 4,             // software version
                     0x00, 0x0C,             // footprint 12
                     2, 5,                   // personality 2 of 5
                     0x01, 0x2C,             // start address 300
                     0x00, 0x00, 0x00};      // sub-devices, sensors
    const auto info = deviceInfoFromData(data);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->protocolVersion, 0x0100);
    EXPECT_EQ(info->modelId, 0x1234);
    EXPECT_EQ(info->productCategory, 0x0101);
    EXPECT_EQ(info->softwareVersion, u"1.2.3.4.");
    EXPECT_EQ(info->currentPersonality, 2);
    EXPECT_EQ(info->personalityCount, 5);
    EXPECT_EQ(info->summary(), u"软件版本：1.2.3.4.\r\n通道数：12\r\nDmx地址：300\r\n");
    EXPECT_FALSE(deviceInfoFromData(Bytes(18, 0)));
    EXPECT_FALSE(deviceInfoFromData(Bytes(20, 0)));
}

} // namespace
} // namespace rz::rdm
