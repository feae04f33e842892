// Discovery on a line with badly behaved responders: every well-behaved fixture is found
// exactly once, nothing that is not on the line is listed, and the search ends within a
// bounded number of branches, with and without mute.
#include "core/rdm/UidSearch.h"

#include "RdmRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace rz::rdm {
namespace {

using sim::RdmQuirk;
using test::RdmRig;

// Whether the misbehaving fixture itself ends up in the table.
enum class Listed { Always, Never, Perhaps };

// One named double per misbehaviour of the simulator's line.
struct Misbehaviour {
    const char* name;
    RdmQuirk quirk;
    Listed listed;
};

const Misbehaviour kDoubles[] = {
    {"WellBehaved", RdmQuirk::None, Listed::Always}, // the yardstick for the figures
    {"IgnoresMute", RdmQuirk::IgnoresMute, Listed::Always},
    {"AnswersMuteLate", RdmQuirk::LateMuteAnswer, Listed::Always},
    {"ExtraBytesAfterItsAnswer", RdmQuirk::ExtraBytes, Listed::Always},
    // Without a checksum its answer never decodes: it cannot be told from noise.
    {"ShortReply", RdmQuirk::ShortReply, Listed::Never},
    // Its leaf branch may be one it does not hear.
    {"AnswersEveryOtherRequest", RdmQuirk::EveryOtherRequest, Listed::Perhaps},
};

struct QuirkCase {
    Misbehaviour misbehaviour;
    bool mute;
};

std::vector<QuirkCase> quirkCases()
{
    std::vector<QuirkCase> cases;
    for (const Misbehaviour& m : kDoubles)
        for (bool mute : {false, true})
            cases.push_back({m, mute});
    return cases;
}

// Eight well-behaved fixtures and two misbehaving ones: one right next to a well-behaved UID
// (they share every branch down to the last bit) and one elsewhere.
struct Line {
    explicit Line(uint32_t seed) : good(test::randomUids(8, seed, 0x7A70)) {}
    std::vector<Uid> good;
    std::vector<Uid> bad{Uid::fromValue(good[3].value() ^ 1), Uid(0x0311, 0xF3944E87)};
    std::size_t total() const { return good.size() + bad.size(); }
};

// A branch takes at most two per level of the 48-bit space for each answering device; with
// mute every find starts over.
uint32_t branchBound(const Line& line, bool mute)
{
    const auto n = static_cast<uint32_t>(line.total());
    return 2 * 49 * n * (mute ? n + 1 : 1);
}

struct DiscoveryWithAMisbehavingFixture : ::testing::TestWithParam<QuirkCase> {};

// Runs one search on the line of this seed and checks what it listed.
void discoverOnLine(const QuirkCase& c, uint32_t seed)
{
    SCOPED_TRACE(seed);
    const Line line(seed);
    RdmRig rig;
    test::addFixtures(rig.line(), line.good);
    for (Uid u : line.bad) {
        sim::RdmResponder r;
        r.uid = u;
        r.quirk = c.misbehaviour.quirk;
        rig.line().add(r);
    }
    const uint32_t bound = branchBound(line, c.mute);
    rig.view.onBranch = [&](uint32_t n) {
        if (n > bound)
            rig.driver.stopDiscovery();
    };
    UidSearch& search = rig.driver.discovery();
    search.setUseMute(c.mute);
    rig.driver.unMuteAll();
    rig.driver.startDiscovery();

    EXPECT_FALSE(search.running());
    EXPECT_LE(search.branchCount(), bound);
    const std::vector<Uid>& found = search.foundUids();
    const std::set<Uid> distinct(found.begin(), found.end());
    EXPECT_EQ(distinct.size(), found.size()) << "a UID was listed twice";
    EXPECT_EQ(rig.view.list.size(), found.size());
    for (Uid u : line.good)
        EXPECT_EQ(std::count(found.begin(), found.end(), u), 1) << u.toString();
    for (Uid u : found) {
        const bool onLine = std::find(line.good.begin(), line.good.end(), u) != line.good.end() ||
                            std::find(line.bad.begin(), line.bad.end(), u) != line.bad.end();
        EXPECT_TRUE(onLine) << "phantom " << u.toString();
    }
    for (Uid u : line.bad) {
        const bool listed = distinct.count(u) == 1;
        if (c.misbehaviour.listed == Listed::Always)
            EXPECT_TRUE(listed) << u.toString();
        if (c.misbehaviour.listed == Listed::Never)
            EXPECT_FALSE(listed) << u.toString();
    }
    const std::string run = "_seed" + std::to_string(seed);
    ::testing::Test::RecordProperty("branches" + run, static_cast<int>(search.branchCount()));
    ::testing::Test::RecordProperty("requests" + run, static_cast<int>(rig.line().requestsSeen()));
    ::testing::Test::RecordProperty("listed" + run, static_cast<int>(found.size()));
}

TEST_P(DiscoveryWithAMisbehavingFixture, FindsEveryWellBehavedFixtureOnceAndNoPhantom)
{
    for (const uint32_t seed : {31u, 32u, 33u})
        discoverOnLine(GetParam(), seed);
}

INSTANTIATE_TEST_SUITE_P(Quirks, DiscoveryWithAMisbehavingFixture, ::testing::ValuesIn(quirkCases()),
                         [](const ::testing::TestParamInfo<QuirkCase>& info) {
                             return std::string(info.param.misbehaviour.name) +
                                    (info.param.mute ? "_WithMute" : "_WithoutMute");
                         });

} // namespace
} // namespace rz::rdm
