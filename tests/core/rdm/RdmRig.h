#pragma once
// The RDM driver wired through the link to the in-process simulated controller and its
// fixtures, on a fake clock; plus a discovery line without the link, for misbehaving lines.
#include "core/link/Link.h"
#include "core/rdm/RdmDriver.h"
#include "core/rdm/RdmPacket.h"
#include "core/rdm/UidSearch.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "sim/RdmResponders.h"
#include "support/Fakes.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace rz::rdm::test {

using Bytes = std::vector<uint8_t>;

// Everything the driver and the search write to the page.
class RecordingView : public RdmView {
public:
    void appendDetail(const std::u16string& t) override { detail += t; }
    void appendLog(const std::u16string& t) override { log += t; }
    void clearLog() override
    {
        log.clear();
        ++logClears;
    }
    void showBranchCount(uint32_t c) override
    {
        branchCount = c;
        if (onBranch)
            onBranch(c);
    }
    void uidFound(const std::u16string& t) override { list.push_back(t); }
    void foundUidsCleared() override { list.clear(); }

    std::u16string detail;
    std::u16string log;
    int logClears = 0;
    uint32_t branchCount = 0;
    std::vector<std::u16string> list;
    std::function<void(uint32_t)> onBranch;
};

struct RdmRig {
    RdmRig()
    {
        controller.setListener(&recorder);
        link.setTransport(&transport);
    }
    ~RdmRig() { link.setTransport(nullptr); }
    RdmRig(const RdmRig&) = delete;
    RdmRig& operator=(const RdmRig&) = delete;

    sim::RdmResponders& line() { return controller.rdm(); }
    // The A0 payloads the controller received.
    struct Recorder : sim::ControllerListener {
        void onEvent(const sim::ControllerEvent& e) override
        {
            if (e.kind == sim::EventKind::FrameReceived && e.command == 0xA0)
                frames.push_back(e.payload);
        }
        std::vector<Bytes> frames;
    };

    rz::test::FakeClock clock{1000};
    rz::test::FakeYield yield{clock};
    Recorder recorder;
    sim::Controller controller{clock};
    sim::LoopbackTransport transport{controller, clock};
    link::Link link{clock, yield};
    RecordingView view;
    RdmDriver driver{link, clock, view};
};

// A discovery line straight onto the simulated fixtures, without link or time; `tamper` may
// change what a branch returns.
class ResponderLine : public DiscoveryTarget {
public:
    std::optional<Bytes> branch(Uid lower, Uid upper) override
    {
        ++branches;
        const Bytes packet = buildRdmPacket(request::discUniqueBranch(lower, upper), 0);
        std::optional<Bytes> answer = fixtures.answer(packet);
        if (tamper)
            tamper(lower, upper, answer);
        return answer;
    }
    void mute(Uid uid) override
    {
        ++mutes;
        fixtures.answer(buildRdmPacket(request::discMute(uid), 0));
    }
    void unMuteAll() override { fixtures.answer(buildRdmPacket(request::discUnMuteAll(), 0)); }

    sim::RdmResponders fixtures;
    std::function<void(Uid, Uid, std::optional<Bytes>&)> tamper;
    int branches = 0;
    int mutes = 0;
};

// `count` distinct UIDs drawn from a seeded generator, all of one manufacturer when given.
inline std::vector<Uid> randomUids(std::size_t count, uint32_t seed, std::optional<uint16_t> maker = {})
{
    std::mt19937_64 random(seed);
    std::set<Uid> uids;
    while (uids.size() < count) {
        const uint64_t v = random() & Uid::kMaxValue;
        Uid u = Uid::fromValue(v);
        if (maker)
            u = Uid(*maker, u.device());
        if (!u.isBroadcast() && u != Uid::requestSource())
            uids.insert(u);
    }
    return {uids.begin(), uids.end()};
}

inline void addFixtures(sim::RdmResponders& line, const std::vector<Uid>& uids)
{
    for (Uid u : uids) {
        sim::RdmResponder r;
        r.uid = u;
        line.add(r);
    }
}

inline std::vector<Uid> sorted(std::vector<Uid> uids)
{
    std::sort(uids.begin(), uids.end());
    return uids;
}

} // namespace rz::rdm::test
