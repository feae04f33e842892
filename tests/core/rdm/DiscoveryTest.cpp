#include "core/rdm/UidSearch.h"

#include "RdmRig.h"
#include "core/rdm/DiscoveryReply.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace rz::rdm {
namespace {

using test::Bytes;
using test::RdmRig;
using test::ResponderLine;
using test::RecordingView;

bool contains(const std::u16string& text, const std::u16string& part)
{
    return text.find(part) != std::u16string::npos;
}

struct LineCase {
    const char* name;
    std::vector<Uid> uids;
    bool mute;
    Bytes prefix = {}; // what the line returns before each answer
};

std::ostream& operator<<(std::ostream& os, const LineCase& c)
{
    return os << c.name << (c.mute ? " with mute" : " without mute");
}

std::vector<LineCase> lineCases()
{
    const std::vector<std::pair<const char*, std::vector<Uid>>> sets = {
        {"1 random", test::randomUids(1, 11)},
        {"2 random", test::randomUids(2, 12)},
        {"17 random", test::randomUids(17, 13)},
        {"64 random", test::randomUids(64, 14)},
        {"17 of one maker", test::randomUids(17, 15, 0x7A70)},
        {"lowest bit apart", {Uid(0x7A70, 0x10), Uid(0x7A70, 0x11)}},
        {"OR gives a valid third", {Uid(0x7A70, 1), Uid(0x7A70, 2)}},
        {"extremes", {Uid(0, 0), Uid(0xFFFF, 0xFFFFFFFD)}},
    };
    std::vector<LineCase> cases;
    for (bool mute : {false, true})
        for (const auto& [name, uids] : sets)
            cases.push_back({name, uids, mute});
    cases.push_back({"17 behind a break byte", test::randomUids(17, 16), true, {0x00, 0x00}});
    cases.push_back({"17 behind a break byte", test::randomUids(17, 16), false, {0x00}});
    return cases;
}

struct DiscoveryOverTheLink : ::testing::TestWithParam<LineCase> {};

TEST_P(DiscoveryOverTheLink, FindsEveryFixtureOnceAndNoOther)
{
    const LineCase& c = GetParam();
    RdmRig rig;
    test::addFixtures(rig.line(), c.uids);
    rig.line().answerPrefix = c.prefix;
    UidSearch& search = rig.driver.discovery();
    search.setUseMute(c.mute);

    rig.driver.clearFoundUids();
    rig.driver.startDiscovery();

    EXPECT_EQ(test::sorted(search.foundUids()), test::sorted(c.uids));
    ASSERT_EQ(rig.view.list.size(), c.uids.size()) << "each UID enters the list once";
    for (std::size_t i = 0; i < c.uids.size(); ++i)
        EXPECT_EQ(rig.view.list[i], search.foundUids()[i].listedText());
    EXPECT_EQ(rig.view.branchCount, search.branchCount());
    EXPECT_FALSE(search.running());
    for (const auto& f : rig.line().responders())
        EXPECT_EQ(f.muted, c.mute) << f.uid.toString();
}

INSTANTIATE_TEST_SUITE_P(Sets, DiscoveryOverTheLink, ::testing::ValuesIn(lineCases()),
                         [](const ::testing::TestParamInfo<LineCase>& info) {
                             std::string name = std::to_string(info.index) + "_" + info.param.name +
                                                (info.param.mute ? "_mute" : "");
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(Discovery, CollisionDecodingToAThirdUidIsConfirmedAwayInMuteMode)
{
    RdmRig rig;
    test::addFixtures(rig.line(), {Uid(0x7A70, 1), Uid(0x7A70, 2)});
    rig.driver.discovery().setUseMute(true);
    rig.driver.startDiscovery();
    EXPECT_EQ(test::sorted(rig.driver.discovery().foundUids()),
              (std::vector<Uid>{Uid(0x7A70, 1), Uid(0x7A70, 2)}));
    EXPECT_TRUE(contains(rig.view.detail, u"->未确认的ID(冲突):7A-70-00-00-00-03\r\n"));
}

TEST(Discovery, MutedFixtureThatStillAnswersEndsTheSearch)
{
    for (bool mute : {true, false}) {
        SCOPED_TRACE(mute);
        RdmRig rig;
        const std::vector<Uid> uids = test::randomUids(5, 21);
        test::addFixtures(rig.line(), uids);
        for (auto& f : rig.line().responders())
            f.quirk = sim::RdmQuirk::IgnoresMute;
        rig.driver.discovery().setUseMute(mute);
        // A search that starts over for every answer would never end; stop it to fail.
        rig.view.onBranch = [&](uint32_t n) {
            if (n > 100000)
                rig.driver.stopDiscovery();
        };
        rig.driver.startDiscovery();
        EXPECT_LT(rig.view.branchCount, 100000u);
        EXPECT_EQ(test::sorted(rig.driver.discovery().foundUids()), test::sorted(uids));
        EXPECT_EQ(contains(rig.view.detail, u"->已Mute的设备仍应答:"), mute);
    }
}

TEST(Discovery, AnswerOutsideTheBranchIsRejected)
{
    RecordingView view;
    ResponderLine line;
    const Uid inside(0x0001, 5);
    const Uid stray(0xF000, 7); // answers a branch of the lower half, where it does not lie
    test::addFixtures(line.fixtures, {inside});
    line.tamper = [&](Uid lower, Uid upper, std::optional<Bytes>& answer) {
        if (lower == Uid::fromValue(0) && upper == Uid::fromValue(Uid::kMaxValue / 2)) {
            const auto a = encodeDiscoveryReply(stray);
            answer = Bytes(a.begin(), a.end());
        }
    };
    for (bool mute : {false, true}) {
        UidSearch search(line, view);
        search.setUseMute(mute);
        line.unMuteAll();
        view.detail.clear();
        search.startDiscovery();
        EXPECT_EQ(search.foundUids(), std::vector<Uid>{inside}) << mute;
        EXPECT_TRUE(contains(view.detail, u"->忽略范围外的ID:F0-00-00-00-00-07\r\n")) << mute;
    }
}

TEST(Discovery, SilentLineCostsTenTriesOfTheWholeSpace)
{
    RecordingView view;
    ResponderLine line;
    line.tamper = [](Uid, Uid, std::optional<Bytes>& answer) { answer.reset(); };
    UidSearch search(line, view);
    search.startDiscovery();
    EXPECT_EQ(line.branches, UidSearch::kBranchTries);
    EXPECT_EQ(search.branchCount(), 1u);
    EXPECT_TRUE(search.foundUids().empty());
    EXPECT_EQ(view.logClears, 1);
}

TEST(Discovery, LostAnswersAreTriedAgain)
{
    RdmRig rig;
    const std::vector<Uid> uids = test::randomUids(3, 31);
    test::addFixtures(rig.line(), uids);
    // Every other request of the controller goes unanswered, costing one wait each.
    struct Flaky : sim::CommandFamily {
        explicit Flaky(sim::RdmResponders& line) : line(line) {}
        void handle(const sim::ReceivedFrame& f, sim::FamilyContext& c) override
        {
            if (++count % 2 == 0)
                line.handle(f, c);
        }
        sim::RdmResponders& line;
        int count = 0;
    } flaky(rig.line());
    rig.controller.route(0xA0, flaky);
    rig.driver.startDiscovery();
    EXPECT_EQ(test::sorted(rig.driver.discovery().foundUids()), test::sorted(uids));
}

TEST(Discovery, StopEndsTheSearchAtTheNextBranch)
{
    RecordingView view;
    ResponderLine line;
    test::addFixtures(line.fixtures, test::randomUids(8, 41));
    UidSearch search(line, view);
    line.tamper = [&](Uid, Uid, std::optional<Bytes>&) {
        if (line.branches == 20)
            search.stopDiscovery();
    };
    search.startDiscovery();
    EXPECT_EQ(line.branches, 20);
    EXPECT_FALSE(search.running());

    // A new search starts again from the whole space.
    line.tamper = {};
    search.startDiscovery();
    EXPECT_EQ(search.foundUids().size(), 8u);
}

TEST(Discovery, FoundTableHoldsAThousandUids)
{
    RecordingView view;
    ResponderLine line;
    std::vector<Uid> uids;
    for (uint32_t d = 0; d <= 1000; ++d)
        uids.push_back(Uid(0x7A70, d * 3)); // close together: a small search tree
    test::addFixtures(line.fixtures, uids);
    UidSearch search(line, view);
    search.startDiscovery();
    EXPECT_EQ(search.foundUids().size(), UidSearch::kMaxFoundUids);
    EXPECT_EQ(view.log, u"->ID表已满(1000)\r\n");

    search.clearFoundUids();
    EXPECT_TRUE(search.foundUids().empty());
    EXPECT_TRUE(view.list.empty());
}

TEST(Discovery, DecodeAllRepliesFindsEveryAnswerInTheBytes)
{
    const auto a = encodeDiscoveryReply(Uid(1, 1));
    const auto b = encodeDiscoveryReply(Uid(2, 2));
    Bytes bytes{0x00, 0x00};
    bytes.insert(bytes.end(), a.begin(), a.end());
    bytes.insert(bytes.end(), {0x11, 0x22});
    bytes.insert(bytes.end(), b.begin(), b.end());
    EXPECT_EQ(UidSearch::decodeAllReplies(bytes), (std::vector<Uid>{Uid(1, 1), Uid(2, 2)}));
    EXPECT_TRUE(UidSearch::decodeAllReplies(Bytes(a.begin(), a.end() - 1)).empty());
}

} // namespace
} // namespace rz::rdm
