#pragma once
// The controller's side of frame assembly. Unlike the PC's parser it reports every frame it
// throws away, so the simulator can count and show them, and it takes frames up to the size
// of a file or firmware block.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rz::sim {

inline constexpr std::size_t kMaxControllerFrame = 4096 + 8;

struct ReceivedFrame {
    uint8_t command = 0;
    std::vector<uint8_t> payload;
};

enum class DropReason {
    BadChecksum, // a whole frame whose last byte did not match
    BadLength,   // a header whose length field is below 8 or above the limit
    Abandoned,   // a partial frame that saw no more bytes for too long
};

class FrameReader {
public:
    struct Result {
        std::optional<ReceivedFrame> frame; // set for a good frame
        DropReason dropped{};               // meaningful when frame is empty
        std::size_t droppedLength = 0;      // bytes thrown away with the drop
    };

    explicit FrameReader(std::size_t maxFrame = kMaxControllerFrame);

    void append(std::span<const uint8_t> bytes);
    // The next good or dropped frame at the front of the buffer; empty when more bytes are
    // needed. Bytes before a header are skipped silently.
    std::optional<Result> next();
    // Forgets a partial frame (the caller decided it will never complete).
    std::size_t abandonPartial();

    std::size_t pendingBytes() const { return buffer.size() - head; }

private:
    void consume(std::size_t n);

    std::size_t maxFrame;
    std::vector<uint8_t> buffer;
    std::size_t head = 0; // bytes before head are consumed
};

} // namespace rz::sim
