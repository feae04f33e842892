#include "sim/Faults.h"

#include <algorithm>

namespace rz::sim {

uint64_t SplitMix64::next()
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double SplitMix64::unit()
{
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

FaultInjector::FaultInjector(const FaultPolicy& policy) : settings(policy), random(policy.seed) {}

ReplyFate FaultInjector::apply(std::vector<uint8_t> frame, uint32_t nowMs,
                               std::vector<OutputChunk>& out)
{
    ++replies;
    // Both draws happen for every reply so that one share does not shift the other's sequence.
    const bool dropDraw = random.unit() < settings.dropShare;
    const bool corruptDraw = random.unit() < settings.corruptShare;
    if (dropDraw || replies == settings.dropNth)
        return ReplyFate::Dropped;

    ReplyFate fate = ReplyFate::Sent;
    if (corruptDraw && !frame.empty()) {
        frame.back() = static_cast<uint8_t>(frame.back() + 1);
        fate = ReplyFate::Corrupted;
    }
    const uint32_t due = nowMs + settings.delayMs;
    const std::size_t piece = settings.splitBytes == 0 ? frame.size() : settings.splitBytes;
    for (std::size_t at = 0; at < frame.size(); at += piece) {
        const std::size_t n = std::min(piece, frame.size() - at);
        out.push_back({{frame.begin() + static_cast<std::ptrdiff_t>(at),
                        frame.begin() + static_cast<std::ptrdiff_t>(at + n)},
                       due});
    }
    return fate;
}

} // namespace rz::sim
