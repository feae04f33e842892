#pragma once
// One direction of a serial line at a given speed: bytes pushed in come out only once the
// time they need on the wire (10 bits per byte) has passed on the clock. Speed 0 is a line
// without delay. Time is whatever millisecond clock the caller passes, so tests and
// benchmarks measure line time without waiting for it.
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace rz::sim {

inline constexpr uint32_t kLinkBaud = 115200;
inline constexpr uint32_t kBitsPerByte = 10; // start bit, 8 data bits, stop bit

class SerialLine {
public:
    explicit SerialLine(uint32_t baud = 0);

    // The bytes start on the line at nowMs, or when the bytes before them have left.
    void push(std::span<const uint8_t> bytes, uint32_t nowMs);
    // Bytes that have crossed by nowMs, in the pieces they were pushed as. With wholeChunks a
    // piece comes out only when all of it has crossed (a datagram cannot arrive in part).
    std::vector<std::vector<uint8_t>> take(uint32_t nowMs, bool wholeChunks = false);
    // Milliseconds until take() would return something more; empty when nothing is on the line.
    std::optional<uint32_t> msUntilNext(uint32_t nowMs, bool wholeChunks = false);

    bool idle() const { return chunks.empty(); }
    uint32_t baud() const { return bitRate; }
    // Time on the wire of n bytes at this speed, in nanoseconds.
    uint64_t wireTimeNs(uint64_t n) const;

private:
    struct Chunk {
        std::vector<uint8_t> bytes;
        uint64_t startNs = 0;
        std::size_t delivered = 0;
    };
    uint64_t toNs(uint32_t nowMs);
    std::size_t crossed(const Chunk& c, uint64_t nowNs) const;

    uint32_t bitRate;
    std::deque<Chunk> chunks;
    uint64_t busyUntilNs = 0;
    // The clock wraps at 2^32 ms; the line keeps its own 64-bit time.
    bool started = false;
    uint32_t lastMs = 0;
    uint64_t elapsedMs = 0;
};

} // namespace rz::sim
