#pragma once
// Deliberate misbehaviour of the controller's replies, for tests and benchmarks of the PC's
// error paths. Every decision comes from a seeded generator, so a run repeats exactly.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rz::sim {

struct FaultPolicy {
    double dropShare = 0.0;    // 0..1: share of replies never sent
    uint32_t dropNth = 0;      // 1-based number of the one reply to drop; 0 = none
    double corruptShare = 0.0; // 0..1: share of replies sent with a wrong checksum
    uint32_t delayMs = 0;      // every reply leaves this much later
    std::size_t splitBytes = 0; // replies leave in pieces of this many bytes; 0 = whole
    uint64_t seed = 1;
};

enum class ReplyFate { Sent, Dropped, Corrupted };

// A piece of output and the earliest time it may leave.
struct OutputChunk {
    std::vector<uint8_t> bytes;
    uint32_t dueMs = 0;
};

// Small, fast and the same on every platform (unlike the standard distributions).
class SplitMix64 {
public:
    explicit SplitMix64(uint64_t seed) : state(seed) {}
    uint64_t next();
    // Uniform in [0, 1).
    double unit();

private:
    uint64_t state;
};

class FaultInjector {
public:
    explicit FaultInjector(const FaultPolicy& policy);

    // Decides the fate of one reply frame; a corrupted frame gets its checksum changed. The
    // chunks to send (none when dropped) are appended to out.
    ReplyFate apply(std::vector<uint8_t> frame, uint32_t nowMs, std::vector<OutputChunk>& out);

    const FaultPolicy& policy() const { return settings; }

private:
    FaultPolicy settings;
    SplitMix64 random;
    uint32_t replies = 0;
};

} // namespace rz::sim
