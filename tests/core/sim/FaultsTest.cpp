#include "SimTestSupport.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace rz::sim {
namespace {

using test::frame;
using test::parseAsPc;

// Sends `count` connect requests one at a time and records which got an answer the PC's
// parser accepts.
std::vector<bool> answered(Controller& controller, int count)
{
    std::vector<bool> got;
    for (int i = 0; i < count; ++i) {
        controller.receive(frame(0xC0));
        got.push_back(parseAsPc(controller.takeOutput()).size() == 1);
    }
    return got;
}

TEST(Faults, DropNthLosesExactlyThatReply)
{
    rz::test::FakeClock clock;
    FaultPolicy p;
    p.dropNth = 2;
    Controller controller(clock, p);
    EXPECT_EQ(answered(controller, 4), (std::vector<bool>{true, false, true, true}));
    EXPECT_EQ(controller.counters().repliesDropped, 1u);
    EXPECT_EQ(controller.handshake().handshakes(), 4u) << "the controller still acted on it";
}

struct ShareCase {
    const char* name;
    double drop;
    double corrupt;
    int minLost, maxLost; // out of 200
};

class FaultShareTest : public ::testing::TestWithParam<ShareCase> {};

TEST_P(FaultShareTest, ShareOfLostRepliesFollowsThePolicyAndRepeatsWithTheSeed)
{
    const ShareCase& c = GetParam();
    auto run = [&](uint64_t seed) {
        rz::test::FakeClock clock;
        FaultPolicy p;
        p.dropShare = c.drop;
        p.corruptShare = c.corrupt;
        p.seed = seed;
        Controller controller(clock, p);
        return answered(controller, 200);
    };
    const auto first = run(7);
    const int lost = static_cast<int>(std::count(first.begin(), first.end(), false));
    EXPECT_GE(lost, c.minLost);
    EXPECT_LE(lost, c.maxLost);
    EXPECT_EQ(run(7), first) << "same seed, same faults";
    if (c.minLost > 0 && c.maxLost < 200) {
        EXPECT_NE(run(8), first) << "another seed, other faults";
    }
}

INSTANTIATE_TEST_SUITE_P(Shares, FaultShareTest,
                         ::testing::Values(ShareCase{"None", 0.0, 0.0, 0, 0},
                                           ShareCase{"DropAll", 1.0, 0.0, 200, 200},
                                           ShareCase{"CorruptAll", 0.0, 1.0, 200, 200},
                                           ShareCase{"DropQuarter", 0.25, 0.0, 30, 70},
                                           ShareCase{"CorruptHalf", 0.0, 0.5, 75, 125}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Faults, CorruptedReplyDiffersOnlyInItsChecksum)
{
    rz::test::FakeClock clock;
    FaultPolicy p;
    p.corruptShare = 1.0;
    Controller controller(clock, p);
    controller.receive(frame(0xC0));
    auto out = controller.takeOutput();
    const auto good = frame(0xC0);
    ASSERT_EQ(out.size(), good.size());
    EXPECT_NE(out.back(), good.back());
    out.back() = good.back();
    EXPECT_EQ(out, good);
    EXPECT_EQ(controller.counters().repliesCorrupted, 1u);
}

TEST(Faults, DelayedReplyLeavesOnlyWhenItsTimeHasCome)
{
    rz::test::FakeClock clock(0xFFFFFFF0u); // and across the clock's wrap
    FaultPolicy p;
    p.delayMs = 50;
    Controller controller(clock, p);
    controller.receive(frame(0xC0));
    clock.advance(10);
    controller.receive(frame(0xC0));
    EXPECT_EQ(controller.msUntilNextOutput(), 40u);

    clock.advance(39);
    EXPECT_TRUE(controller.takeOutput().empty());
    clock.advance(1);
    EXPECT_EQ(controller.takeOutput(), frame(0xC0));
    EXPECT_EQ(controller.msUntilNextOutput(), 10u);
    clock.advance(10);
    EXPECT_EQ(controller.takeOutput(), frame(0xC0));
    EXPECT_FALSE(controller.msUntilNextOutput());
}

TEST(Faults, SplitReplyComesInPiecesThatJoinToTheFrame)
{
    rz::test::FakeClock clock;
    FaultPolicy p;
    p.splitBytes = 3;
    Controller controller(clock, p);
    controller.receive(frame(0xC0));
    const auto pieces = controller.takeOutputChunks();
    ASSERT_EQ(pieces.size(), 3u); // 8 bytes: 3 + 3 + 2
    EXPECT_EQ(pieces[0].size(), 3u);
    EXPECT_EQ(pieces[2].size(), 2u);
    EXPECT_EQ(test::concat({pieces[0], pieces[1], pieces[2]}), frame(0xC0));
}

} // namespace
} // namespace rz::sim
