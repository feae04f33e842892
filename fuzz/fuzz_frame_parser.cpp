// Link bytes from the outside: the first two bytes steer how the rest is cut into deliveries,
// half of which arrive through receive() and half through a transport polled by a wait.
// Every dispatched frame must be a checked frame no longer than the receive limit.
#include "FuzzSupport.h"
#include "core/link/Link.h"

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <vector>

namespace {

using rz::fuzz::StepClock;
using rz::fuzz::StepYield;
using rz::fuzz::check;

// Hands queued pieces to the link on each poll and echoes every frame written to it.
class QueueTransport : public rz::link::Transport {
public:
    bool isOpen() const override { return true; }
    void write(std::span<const uint8_t> bytes) override { deliver(bytes); }
    void poll() override
    {
        if (pieces.empty())
            return;
        const std::vector<uint8_t> p = std::move(pieces.front());
        pieces.pop_front();
        deliver(p);
    }
    std::deque<std::vector<uint8_t>> pieces;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace rz::link;
    if (size < 2)
        return 0;
    const std::size_t maxPiece = 1 + data[0] * 16u;
    uint32_t state = data[1] | 1u;
    const std::span<const uint8_t> stream(data + 2, size - 2);

    StepClock clock;
    StepYield yield(clock);
    QueueTransport transport;
    Link link(clock, yield);
    link.setTransport(&transport);
    int frames = 0;
    link.setReceiver(Link::ReceiverSlot::FileTransfer, [&](uint8_t command, std::span<const uint8_t> p) {
        check(p.size() + kFrameOverhead <= kMaxReceivedFrame);
        ++frames;
        if (command == 0xD0 && frames < 64)
            link.send(0xD1, p.first(std::min<std::size_t>(p.size(), 4))); // answered at once
    });

    std::vector<std::vector<uint8_t>> pieces;
    for (std::size_t pos = 0; pos < stream.size();) {
        state = state * 1103515245u + 12345u;
        const std::size_t n = std::min<std::size_t>(1 + (state >> 8) % maxPiece, stream.size() - pos);
        pieces.emplace_back(stream.begin() + pos, stream.begin() + pos + n);
        pos += n;
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i < pieces.size() / 2)
            link.receive(pieces[i]);
        else
            transport.pieces.push_back(pieces[i]);
    }
    const std::size_t queued = transport.pieces.size();
    link.waitReplyCode(0xC0, static_cast<uint32_t>(queued + 1), 0x66);
    check(link.waitDepth() == 0);
    check(link.lastPayload().size() == link.lastPayloadLength());

    // The same bytes as frame text must never upset the text reader.
    const std::string_view text(reinterpret_cast<const char*>(stream.data()), stream.size());
    if (auto bytes = bytesFromHexText(text))
        check(bytes->size() * 2 <= text.size());
    link.sendText(text);
    link.setTransport(nullptr);
    return 0;
}
