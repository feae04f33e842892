#include "sim/FrameReader.h"

#include "core/link/Frame.h"

#include <algorithm>

namespace rz::sim {

FrameReader::FrameReader(std::size_t maxFrame) : maxFrame(maxFrame) {}

void FrameReader::append(std::span<const uint8_t> bytes)
{
    if (head > 0 && head == buffer.size()) {
        buffer.clear();
        head = 0;
    }
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
}

void FrameReader::consume(std::size_t n)
{
    head += std::min(n, pendingBytes());
    // Compact now and then so the buffer does not grow with everything ever received.
    if (head > 4 * kMaxControllerFrame || head == buffer.size()) {
        buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(head));
        head = 0;
    }
}

std::optional<FrameReader::Result> FrameReader::next()
{
    using link::kFrameHeader;
    using link::kFrameOverhead;
    for (;;) {
        const uint8_t* data = buffer.data() + head;
        const std::size_t held = pendingBytes();
        // Skip to the first possible header start; a partial header at the end is kept.
        std::size_t skip = 0;
        while (skip < held) {
            const std::size_t n = std::min(held - skip, kFrameHeader.size());
            if (std::equal(data + skip, data + skip + n, kFrameHeader.begin()))
                break;
            ++skip;
        }
        if (skip > 0) {
            consume(skip);
            continue;
        }
        if (held < kFrameOverhead)
            return std::nullopt;

        const std::size_t length = std::size_t{data[4]} << 8 | data[5];
        if (length < kFrameOverhead || length > maxFrame) {
            // Not a frame we could ever take: skip this header and look for the next one.
            consume(1);
            return Result{std::nullopt, DropReason::BadLength, 1};
        }
        if (held < length)
            return std::nullopt;

        const uint8_t command = data[6];
        const std::span<const uint8_t> payload(data + 7, length - kFrameOverhead);
        const bool good =
            link::frameChecksum(static_cast<uint16_t>(length), command, payload) == data[length - 1];
        Result result;
        if (good)
            result.frame = ReceivedFrame{command, {payload.begin(), payload.end()}};
        else
            result = Result{std::nullopt, DropReason::BadChecksum, length};
        consume(length);
        return result;
    }
}

std::size_t FrameReader::abandonPartial()
{
    const std::size_t n = pendingBytes();
    consume(n);
    return n;
}

} // namespace rz::sim
