#include "core/link/Frame.h"
#include "core/app/Conversions.h"

#include <algorithm>
#include <cstring>

namespace rz::link {

namespace {

// The length field can say at most 0xFFFF bytes for the whole frame.
constexpr std::size_t kMaxEncodablePayload = 0xFFFF - kFrameOverhead;

} // namespace

uint8_t frameChecksum(uint16_t length, uint8_t command, std::span<const uint8_t> payload)
{
    unsigned sum = (length >> 8) + (length & 0xFF) + command + 0x80u;
    for (uint8_t b : payload)
        sum += b;
    return static_cast<uint8_t>(sum & 0xFF);
}

std::vector<uint8_t> buildFrame(uint8_t command, std::span<const uint8_t> payload)
{
    if (payload.size() > kMaxEncodablePayload)
        return {};
    const auto length = static_cast<uint16_t>(payload.size() + kFrameOverhead);
    std::vector<uint8_t> frame;
    frame.reserve(length);
    frame.insert(frame.end(), kFrameHeader.begin(), kFrameHeader.end());
    frame.push_back(static_cast<uint8_t>(length >> 8));
    frame.push_back(static_cast<uint8_t>(length & 0xFF));
    frame.push_back(command);
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(frameChecksum(length, command, payload));
    return frame;
}

FrameParser::FrameParser(std::size_t maxFrame, std::size_t capacity)
    : maxFrame(maxFrame), storage(std::max<std::size_t>(capacity, 1))
{
}

void FrameParser::append(uint8_t byte)
{
    if (held >= storage.size()) {
        // A full buffer restarts empty and the arriving byte is lost with it.
        clear();
        return;
    }
    if (head + held == storage.size()) {
        std::memmove(storage.data(), storage.data() + head, held);
        head = 0;
    }
    storage[head + held] = byte;
    ++held;
}

void FrameParser::append(std::span<const uint8_t> bytes)
{
    for (uint8_t b : bytes)
        append(b);
}

FrameParser::ParseStop FrameParser::parse(const Handler& onFrame)
{
    int passes = 0;
    for (;;) {
        ++passes;
        if (held < kFrameOverhead)
            return ParseStop::NeedMoreBytes;

        const uint8_t* f = storage.data() + head;
        const std::size_t length = std::size_t{f[4]} << 8 | f[5];
        const bool header = std::equal(kFrameHeader.begin(), kFrameHeader.end(), f);
        if (!header || length < kFrameOverhead) {
            drop(1);
            if (passes >= kMaxPassesPerCall)
                return ParseStop::PassLimit;
            continue;
        }
        if (length > maxFrame) {
            clear();
            return ParseStop::Overlong;
        }
        if (held < length)
            return ParseStop::NeedMoreBytes;

        const uint8_t command = f[6];
        const std::span<const uint8_t> payload(f + 7, length - kFrameOverhead);
        if (frameChecksum(static_cast<uint16_t>(length), command, payload) == f[length - 1]) {
            // The handler sees the bytes in place; they are dropped only after it returns.
            if (onFrame)
                onFrame(command, payload);
        }
        drop(length);
    }
}

void FrameParser::clear()
{
    head = 0;
    held = 0;
}

std::size_t FrameParser::count() const
{
    return held;
}

std::size_t FrameParser::capacity() const
{
    return storage.size();
}

std::size_t FrameParser::freeSpace() const
{
    return storage.size() - held;
}

std::span<const uint8_t> FrameParser::pending() const
{
    return {storage.data() + head, held};
}

void FrameParser::drop(std::size_t k)
{
    if (k >= held) {
        clear();
        return;
    }
    head += k;
    held -= k;
}

} // namespace rz::link
