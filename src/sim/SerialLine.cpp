#include "sim/SerialLine.h"

#include <algorithm>

namespace rz::sim {

namespace {
constexpr uint64_t kNsPerSecond = 1'000'000'000;
constexpr uint64_t kNsPerMs = 1'000'000;
} // namespace

SerialLine::SerialLine(uint32_t baud) : bitRate(baud) {}

uint64_t SerialLine::wireTimeNs(uint64_t n) const
{
    if (bitRate == 0)
        return 0;
    const uint64_t bits = n * kBitsPerByte;
    return (bits * kNsPerSecond + bitRate - 1) / bitRate;
}

uint64_t SerialLine::toNs(uint32_t nowMs)
{
    if (!started) {
        started = true;
        lastMs = nowMs;
    }
    elapsedMs += static_cast<uint32_t>(nowMs - lastMs);
    lastMs = nowMs;
    return elapsedMs * kNsPerMs;
}

void SerialLine::push(std::span<const uint8_t> bytes, uint32_t nowMs)
{
    const uint64_t now = toNs(nowMs);
    if (bytes.empty())
        return;
    Chunk c;
    c.bytes.assign(bytes.begin(), bytes.end());
    c.startNs = std::max(now, busyUntilNs);
    busyUntilNs = c.startNs + wireTimeNs(c.bytes.size());
    chunks.push_back(std::move(c));
}

std::size_t SerialLine::crossed(const Chunk& c, uint64_t nowNs) const
{
    if (bitRate == 0)
        return c.bytes.size();
    if (nowNs <= c.startNs)
        return 0;
    const uint64_t spent = nowNs - c.startNs;
    if (spent >= wireTimeNs(c.bytes.size()))
        return c.bytes.size();
    // spent is below the chunk's wire time here, so the product cannot overflow.
    return static_cast<std::size_t>(spent * bitRate / (kBitsPerByte * kNsPerSecond));
}

std::vector<std::vector<uint8_t>> SerialLine::take(uint32_t nowMs, bool wholeChunks)
{
    const uint64_t now = toNs(nowMs);
    std::vector<std::vector<uint8_t>> out;
    while (!chunks.empty()) {
        Chunk& c = chunks.front();
        const std::size_t n = crossed(c, now);
        const bool complete = n == c.bytes.size();
        if (n > c.delivered && (complete || !wholeChunks)) {
            out.emplace_back(c.bytes.begin() + static_cast<std::ptrdiff_t>(c.delivered),
                             c.bytes.begin() + static_cast<std::ptrdiff_t>(n));
            c.delivered = n;
        }
        if (!complete)
            break;
        chunks.pop_front();
    }
    return out;
}

std::optional<uint32_t> SerialLine::msUntilNext(uint32_t nowMs, bool wholeChunks)
{
    const uint64_t now = toNs(nowMs);
    if (chunks.empty())
        return std::nullopt;
    const Chunk& c = chunks.front();
    const std::size_t target = wholeChunks ? c.bytes.size() : c.delivered + 1;
    const uint64_t due = c.startNs + wireTimeNs(target);
    if (due <= now)
        return 0u;
    return static_cast<uint32_t>((due - now + kNsPerMs - 1) / kNsPerMs);
}

} // namespace rz::sim
