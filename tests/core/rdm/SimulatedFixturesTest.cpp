// The controller's side of RDM: fixtures on the simulated DMX line.
#include "sim/RdmResponders.h"

#include "RdmRig.h"
#include "core/link/Frame.h"
#include "core/rdm/DiscoveryReply.h"
#include "sim/Controller.h"

#include <gtest/gtest.h>

namespace rz::rdm {
namespace {

using test::Bytes;

struct SimulatedFixtures : ::testing::Test {
    SimulatedFixtures() { test::addFixtures(controller.rdm(), {a, b}); }

    // The payloads of the A0 frames the controller answers with.
    std::vector<Bytes> exchange(const Bytes& payload)
    {
        controller.receive(link::buildFrame(0xA0, payload));
        std::vector<Bytes> out;
        link::FrameParser parser;
        parser.append(controller.takeOutput());
        parser.parse([&](uint8_t command, std::span<const uint8_t> p) {
            EXPECT_EQ(command, 0xA0);
            out.emplace_back(p.begin(), p.end());
        });
        return out;
    }
    std::vector<Bytes> request(const RdmRequest& r, uint8_t transaction = 0)
    {
        Bytes payload{0xA0, r.mode};
        const Bytes packet = buildRdmPacket(r, transaction);
        payload.insert(payload.end(), packet.begin(), packet.end());
        return exchange(payload);
    }
    // The line's bytes of the single A1 answer.
    Bytes lineBytes(const RdmRequest& r)
    {
        const auto frames = request(r);
        EXPECT_EQ(frames.size(), 1u);
        if (frames.size() != 1 || frames[0].empty() || frames[0][0] != 0xA1)
            return {0xEE};
        return Bytes(frames[0].begin() + 1, frames[0].end());
    }

    rz::test::FakeClock clock;
    sim::Controller controller{clock};
    const Uid a{0x7A70, 1};
    const Uid b{0x7A70, 2};
};

TEST_F(SimulatedFixtures, EveryRequestGetsAnA1AndTheControlNone)
{
    Bytes broken{0xA0, 0x05, 0xCC, 0x01, 0x18};
    EXPECT_EQ(exchange(broken), std::vector<Bytes>{Bytes{0xA1}});
    EXPECT_EQ(lineBytes(request::discUnMuteAll()), Bytes{}) << "a broadcast is not answered";
    EXPECT_EQ(lineBytes(request::readDeviceInfo(Uid(1, 1))), Bytes{}) << "nobody has this UID";
    EXPECT_TRUE(exchange({0xA8, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}).empty());
    EXPECT_EQ(controller.rdm().controlParameter(), 1);
}

TEST_F(SimulatedFixtures, BranchAnswersOrCombineAndMutedFixturesKeepQuiet)
{
    const auto ea = encodeDiscoveryReply(a);
    const auto eb = encodeDiscoveryReply(b);
    Bytes both(ea.begin(), ea.end());
    for (std::size_t i = 0; i < both.size(); ++i)
        both[i] |= eb[i];
    EXPECT_EQ(lineBytes(request::discUniqueBranch(Uid(0, 0), Uid::allDevices())), both);
    EXPECT_EQ(lineBytes(request::discUniqueBranch(a, a)), Bytes(ea.begin(), ea.end()));
    EXPECT_EQ(lineBytes(request::discUniqueBranch(Uid(0x7A70, 3), Uid::allDevices())), Bytes{});

    const ReplyParse muted = parseRdmReply(lineBytes(request::discMute(a)));
    ASSERT_EQ(muted.status, ReplyStatus::Ok);
    EXPECT_EQ(muted.reply.commandClass, kDiscoveryResponse);
    EXPECT_EQ(muted.reply.source, a);
    EXPECT_EQ(lineBytes(request::discUniqueBranch(Uid(0, 0), Uid::allDevices())),
              Bytes(eb.begin(), eb.end()));

    controller.rdm().responders()[0].quirk = sim::RdmQuirk::IgnoresMute;
    EXPECT_EQ(lineBytes(request::discUniqueBranch(Uid(0, 0), Uid::allDevices())), both);
}

TEST_F(SimulatedFixtures, AnswersAddressTheRequesterWithItsTransaction)
{
    const ReplyParse r = parseRdmReply(lineBytes(request::readDeviceInfo(b)));
    ASSERT_EQ(r.status, ReplyStatus::Ok);
    EXPECT_EQ(r.reply.destination, Uid::requestSource());
    EXPECT_EQ(r.reply.source, b);
    EXPECT_EQ(r.reply.classText(), u"0021");
    EXPECT_EQ(r.reply.data.size(), kDeviceInfoLength);

    RdmRequest unknown = request::readDeviceLabel(b);
    unknown.pid = 0x0123;
    const ReplyParse u = parseRdmReply(lineBytes(unknown));
    EXPECT_EQ(u.reply.nackReason(), kNackUnknownPid);
    RdmRequest subDevice = request::readDeviceLabel(b);
    subDevice.subDeviceLow = 1;
    EXPECT_EQ(parseRdmReply(lineBytes(subDevice)).reply.nackReason(), 0x0009);
}

TEST_F(SimulatedFixtures, BroadcastSetActsOnEveryFixtureSilently)
{
    RdmRequest all = request::setStartAddress(Uid::allDevices(), 100);
    EXPECT_EQ(lineBytes(all), Bytes{});
    for (const auto& f : controller.rdm().responders())
        EXPECT_EQ(f.startAddress, 100);
    EXPECT_EQ(lineBytes(request::identify(a, 1)).size(), 26u);
    EXPECT_EQ(controller.rdm().find(a)->identify, 1);
    EXPECT_EQ(controller.rdm().find(b)->identify, 0);
}

} // namespace
} // namespace rz::rdm
