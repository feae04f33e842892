// Bytes from the DMX line: taken as an RDM reply, a discovery answer, the answer to every
// request of the driver (and to the first branches of a search), and as a request packet
// reaching the simulated fixtures. Nothing may crash, and what is accepted must be whole.
#include "FuzzSupport.h"
#include "core/link/Commands.h"
#include "core/link/Frame.h"
#include "core/link/Link.h"
#include "core/rdm/DiscoveryReply.h"
#include "core/rdm/RdmDriver.h"
#include "core/rdm/RdmPacket.h"
#include "core/rdm/UidSearch.h"
#include "sim/RdmResponders.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

using rz::fuzz::StepClock;
using rz::fuzz::StepYield;
using rz::fuzz::check;

// Answers the first `answers` requests with an A1 frame of the input, later ones with none.
class LineTransport : public rz::link::Transport {
public:
    bool isOpen() const override { return true; }
    void write(std::span<const uint8_t>) override
    {
        Bytes payload{rz::link::cmd::rdm::kReply};
        if (answers > 0) {
            --answers;
            payload.insert(payload.end(), line.begin(), line.end());
        }
        queued.push_back(rz::link::buildFrame(rz::link::cmd::kRdm, payload));
    }
    void poll() override
    {
        while (!queued.empty()) {
            const Bytes f = std::move(queued.front());
            queued.pop_front();
            deliver(f);
        }
    }
    Bytes line;
    int answers = 0;
    std::deque<Bytes> queued;
};


} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace rz::rdm;
    const std::span<const uint8_t> input(data, size);

    const ReplyParse parsed = parseRdmReply(input);
    if (parsed.status == ReplyStatus::Ok) {
        check(parsed.reply.data.size() <= 255 - kHeaderLength);
        (void)deviceInfoFromData(parsed.reply.data);
        (void)labelFromBytes(parsed.reply.data);
        (void)parsed.reply.nackReason();
    }
    if (const auto uid = decodeDiscoveryReply(input))
        check(decodeDiscoveryReply(encodeDiscoveryReply(*uid)) == uid);
    (void)UidSearch::decodeAllReplies(input);

    // A reply with its noise fits in a few hundred bytes; longer lines only slow the runs.
    const std::size_t carried = std::min<std::size_t>(size, 400);
    StepClock clock;
    StepYield yield(clock);
    LineTransport transport;
    transport.line.assign(data, data + carried);
    rz::link::Link link(clock, yield);
    link.setTransport(&transport);
    {
        RdmView view;
        RdmDriver driver(link, clock, view);
        transport.answers = 8;
        const char16_t* uid = u"7A7000000001";
        (void)driver.rdmReadDeviceInfo(uid);
        (void)driver.rdmSetStartAddress(uid, 1);
        rz::fuzz::NullLog log;
        (void)driver.rdmSendTestCommand(uid, u"0020", u"0060", u"", log);

        transport.answers = 4;
        driver.discovery().setUseMute(size % 2 == 1);
        driver.startDiscovery();
        check(driver.discovery().foundUids().size() <= UidSearch::kMaxFoundUids);
    }
    link.setTransport(nullptr);

    rz::sim::RdmResponders fixtures;
    for (uint32_t d : {1u, 2u}) {
        rz::sim::RdmResponder r;
        r.uid = Uid(0x7A70, d);
        fixtures.add(r);
    }
    (void)fixtures.answer(input);
    return 0;
}
