#include "core/link/Link.h"

#include "core/app/Conversions.h"

#include <algorithm>

namespace rz::link {

namespace {

// Counts a running wait for as long as it lives.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth(depth) { ++depth; }
    ~DepthGuard() { --depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth;
};

} // namespace

Link::Link(Clock& clock, Yield& yield) : clock(clock), yield(yield)
{
    receivedPayload.reserve(kMaxReceivedFrame);
}

void Link::setTransport(Transport* transport)
{
    if (current == transport)
        return;
    if (current)
        current->setReceiver({});
    current = transport;
    if (current)
        current->setReceiver([this](std::span<const uint8_t> bytes) { receive(bytes); });
}

Transport* Link::transport() const
{
    return current;
}

SendStatus Link::send(uint8_t command, std::span<const uint8_t> payload)
{
    if (payload.size() > kMaxSendPayload)
        return SendStatus::payloadTooLong;
    const std::vector<uint8_t> frame = buildFrame(command, payload);
    lastSent = hexText(frame);
    if (current)
        current->write(frame);
    if (onFrameSent)
        onFrameSent();
    return SendStatus::sent;
}

void Link::sendText(std::string_view frameText)
{
    lastSent.clear();
    const auto bytes = bytesFromHexText(frameText);
    if (!bytes || bytes->empty() || !current)
        return;
    current->write(*bytes);
}

const std::string& Link::lastSentFrameText() const
{
    return lastSent;
}

void Link::receive(std::span<const uint8_t> bytes)
{
    if (bytes.empty())
        return;
    if (dispatching) {
        // A receiver's send was answered at once; parse these after the current frame.
        heldWhileDispatching.insert(heldWhileDispatching.end(), bytes.begin(), bytes.end());
        return;
    }
    const uint32_t now = clock.nowMs();
    if (parser.count() > 0 && now - lastReceivedMs > kStalePartialFrameMs)
        parser.clear();
    lastReceivedMs = now;
    feed(bytes);
    while (!heldWhileDispatching.empty()) {
        const std::vector<uint8_t> held = std::move(heldWhileDispatching);
        heldWhileDispatching.clear();
        feed(held);
    }
}

void Link::feed(std::span<const uint8_t> bytes)
{
    // Append no more than fits and parse in between: a large delivery then loses no frame,
    // as the small serial reads never did. A buffer that stays full still restarts empty.
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t room = std::max<std::size_t>(parser.freeSpace(), 1);
        const std::size_t n = std::min(room, bytes.size() - pos);
        parser.append(bytes.subspan(pos, n));
        pos += n;
        parseAll();
    }
    if (onBytesReceived)
        onBytesReceived(bytes);
}

void Link::parseAll()
{
    const FrameParser::Handler handler = [this](uint8_t command, std::span<const uint8_t> payload) {
        dispatch(command, payload);
    };
    // Each call is bounded; calling again until it stops for want of bytes leaves no
    // complete frame behind garbage waiting for the next delivery.
    while (parser.parse(handler) == FrameParser::ParseStop::PassLimit) {
    }
}

void Link::dispatch(uint8_t command, std::span<const uint8_t> payload)
{
    // A copy, so receivers see a stable payload while they send and bytes arrive.
    receivedPayload.assign(payload.begin(), payload.end());
    const std::span<const uint8_t> received(receivedPayload);

    dispatching = true;
    for (int slot = 1; slot <= kReceiverSlots; ++slot) {
        const Receiver receiver = receivers[slot]; // a receiver may replace itself
        if (receiver)
            receiver(command, received);
    }
    dispatching = false;

    lastCmd = command;
    if (!received.empty())
        lastFirst = received[0];
    lastLength = static_cast<uint32_t>(received.size());
    for (PendingWait* w : waits) {
        if (!w->arrived && w->command == command) {
            w->arrived = true;
            w->firstPayloadByte = lastFirst;
        }
    }
}

void Link::clearReceived()
{
    parser.clear();
}

std::size_t Link::receivedByteCount() const
{
    return parser.count();
}

void Link::setReceiver(ReceiverSlot slot, Receiver receiver)
{
    const int index = static_cast<int>(slot);
    if (index < 1 || index > kReceiverSlots)
        return;
    receivers[index] = std::move(receiver);
}

std::optional<uint8_t> Link::waitFor(uint8_t command, uint32_t timeoutMs)
{
    DepthGuard guard(depth);
    PendingWait wait{command};
    waits.push_back(&wait);
    const uint32_t start = clock.nowMs();
    lastCmd = 0;
    std::optional<uint8_t> result;
    for (;;) {
        const uint32_t now = clock.nowMs();
        if (current)
            current->poll();
        if (wait.arrived) {
            result = wait.firstPayloadByte;
            break;
        }
        const uint32_t elapsed = now - start;
        if (elapsed > timeoutMs)
            break;
        // Sleeps until bytes arrive or the time-out would pass; the fake's step is 1 ms.
        yield.yieldUntilEvent(timeoutMs - elapsed + 1);
    }
    waits.erase(std::find(waits.begin(), waits.end(), &wait));
    return result;
}

bool Link::waitReply(uint8_t command, uint32_t timeoutMs)
{
    return waitFor(command, timeoutMs).has_value();
}

bool Link::waitReplyCode(uint8_t command, uint32_t timeoutMs, uint8_t code)
{
    const auto first = waitFor(command, timeoutMs);
    return first && *first == code;
}

void Link::delayMs(uint32_t ms)
{
    DepthGuard guard(depth);
    rz::delayMs(clock, yield, static_cast<int32_t>(std::min<uint32_t>(ms, INT32_MAX)));
}

int Link::waitDepth() const
{
    return depth;
}

uint8_t Link::lastCommand() const
{
    return lastCmd;
}

uint8_t Link::lastFirstPayloadByte() const
{
    return lastFirst;
}

uint32_t Link::lastPayloadLength() const
{
    return lastLength;
}

std::span<const uint8_t> Link::lastPayload() const
{
    return receivedPayload;
}

} // namespace rz::link
