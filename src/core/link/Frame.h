#pragma once
// The link frame: FA F5 AA 55, 16-bit big-endian length of the whole frame, command,
// payload, checksum = (length bytes + command + payload + 0x80) mod 256.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::link {

inline constexpr std::array<uint8_t, 4> kFrameHeader{0xFA, 0xF5, 0xAA, 0x55};
inline constexpr std::size_t kFrameOverhead = 8;          // header, length, command, checksum
inline constexpr std::size_t kMaxReceivedFrame = 1200;    // longer length fields empty the buffer
inline constexpr std::size_t kReceiveBufferCapacity = 2000;
inline constexpr std::size_t kMaxSendPayload = 4001;

// Checksum over the length bytes, command and payload.
uint8_t frameChecksum(uint16_t length, uint8_t command, std::span<const uint8_t> payload);

// The whole frame as bytes.
std::vector<uint8_t> buildFrame(uint8_t command, std::span<const uint8_t> payload);

// Two upper-case hexadecimal digits per byte, no separators.
std::string byteHex(uint8_t value);
std::string hexText(std::span<const uint8_t> bytes);

// Bytes of a frame text; spaces are ignored. Empty optional for an odd number of digits or a
// character that is not a hexadecimal digit.
std::optional<std::vector<uint8_t>> bytesFromHexText(std::string_view text);

// Receive buffer and frame assembler. Bytes are appended as they arrive; parse() cuts every
// complete frame, checks it and hands valid ones to the handler.
class FrameParser {
public:
    using Handler = std::function<void(uint8_t command, std::span<const uint8_t> payload)>;

    explicit FrameParser(std::size_t maxFrame = kMaxReceivedFrame,
                         std::size_t capacity = kReceiveBufferCapacity);

    // Appends one byte; a full buffer restarts empty (the byte is dropped).
    void append(uint8_t byte);
    void append(std::span<const uint8_t> bytes);
    // Consumes complete frames from the front of the buffer.
    void parse(const Handler& onFrame);
    void clear();

    std::size_t count() const;
    std::span<const uint8_t> pending() const;

private:
    void drop(std::size_t k);

    std::size_t maxFrame;
    std::size_t capacity;
    std::vector<uint8_t> buffer; // holds exactly count() bytes
};

} // namespace rz::link
