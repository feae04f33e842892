#pragma once
// The link frame: FA F5 AA 55, 16-bit big-endian length of the whole frame, command,
// payload, checksum = (length bytes + command + payload + 0x80) mod 256.
#include "core/app/HexText.h"

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

// Frame texts: two upper-case digits per byte; reading ignores spaces.
using ::rz::byteHex;
using ::rz::bytesFromHexText;
using ::rz::hexText;

// Receive buffer and frame assembler. Bytes are appended as they arrive; parse() cuts every
// complete frame, checks it and hands valid ones to the handler.
//
// One parse() call loops: fewer than 8 bytes held -> stop; no header at the front -> drop one
// byte (a call stops after 500 passes); a length above maxFrame empties the buffer; fewer bytes
// than the length -> wait for more; otherwise the frame is dispatched when its checksum matches
// and its L bytes are dropped either way. A length field below 8 cannot be a frame: it is
// treated like a missing header (one byte dropped), so a real frame right behind such a
// false header is still found and no negative payload length ever reaches the handler.
class FrameParser {
public:
    using Handler = std::function<void(uint8_t command, std::span<const uint8_t> payload)>;

    // Why a parse() call returned.
    enum class ParseStop {
        NeedMoreBytes, // fewer than 8 bytes, or a frame whose tail has not arrived yet
        PassLimit,     // 500 passes in this call; calling again continues
        Overlong,      // a length field above maxFrame emptied the buffer
    };

    static constexpr int kMaxPassesPerCall = 500;

    explicit FrameParser(std::size_t maxFrame = kMaxReceivedFrame,
                         std::size_t capacity = kReceiveBufferCapacity);

    // Appends one byte; a full buffer restarts empty (the byte is dropped).
    void append(uint8_t byte);
    void append(std::span<const uint8_t> bytes);
    // Consumes complete frames from the front of the buffer. The handler must not append to
    // or parse this parser.
    ParseStop parse(const Handler& onFrame);
    void clear();

    std::size_t count() const;
    std::size_t capacity() const;
    std::size_t freeSpace() const;
    std::span<const uint8_t> pending() const;

private:
    void drop(std::size_t k);

    std::size_t maxFrame;
    std::vector<uint8_t> storage; // capacity bytes; the held bytes are [head, head + held)
    std::size_t head = 0;
    std::size_t held = 0;
};

} // namespace rz::link
