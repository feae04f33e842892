#pragma once
// Payloads of the file-transfer and firmware messages, built and taken apart without any I/O.
// All numbers are big-endian. Every parser checks the length it reads and fails cleanly.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rz::transfer {

// The file kinds; the number travels in the messages.
enum class FileKind : uint8_t {
    Show = 1,
    WallPanel = 2,
    Vod = 3,
    AirConditioner = 4,
};

inline constexpr std::size_t kBlockSize = 512;
inline constexpr uint8_t kReceivingStatus = 0x50;     // D8 byte 0 while the controller receives
inline constexpr uint8_t kSceneSwitchRequest = 0x88;  // D2 byte 0 when a scene switch is asked
inline constexpr std::size_t kVerifyPayloadSize = 10;
inline constexpr std::size_t kUploadInfoSize = 10;
inline constexpr std::size_t kStatusReplySize = 5;
inline constexpr std::size_t kMaxFirmwareImage = 65535; // F0 carries the length in 2 bytes

// Sum of all bytes modulo 65,536.
uint16_t checksum16(std::span<const uint8_t> bytes);

// "12.5K": bytes / 1024 with one decimal, halves rounded up.
std::u16string sizeInKText(uint64_t bytes);

// D0: length (4), checksum (2), kind (1).
std::vector<uint8_t> downloadStartPayload(uint32_t length, uint16_t checksum, uint8_t kind);
// D1: raw length (2), encoded length (2), the block with its zero runs packed.
std::vector<uint8_t> downloadBlockPayload(std::span<const uint8_t> block);
// D2: ten zero bytes; 0x88 and the scene in the first two when a scene switch is asked for a
// show file (other kinds never switch scenes).
std::vector<uint8_t> verifyPayload(uint8_t kind, std::optional<uint8_t> switchToScene);
// D4: address (4), length (2).
std::vector<uint8_t> uploadBlockRequest(uint32_t address, uint16_t length);

struct DownloadBlock {
    uint16_t rawLength = 0;
    std::vector<uint8_t> bytes; // decoded
};
// Takes a D1 payload apart; empty when the lengths disagree or the packing is broken.
std::optional<DownloadBlock> parseDownloadBlock(std::span<const uint8_t> payload);

struct DownloadStart {
    uint32_t length = 0;
    uint16_t checksum = 0;
    uint8_t kind = 0;
};
std::optional<DownloadStart> parseDownloadStart(std::span<const uint8_t> payload);

// D8 reply: status (1), bytes held (4).
struct TransferStatus {
    uint8_t status = 0;
    uint32_t bytesHeld = 0;
};
std::vector<uint8_t> statusReplyPayload(const TransferStatus& s);
std::optional<TransferStatus> parseStatusReply(std::span<const uint8_t> payload);

// D3 reply: kind (1), presence (1, 1 = present), base address (4), length (4).
struct UploadInfo {
    uint8_t kind = 0;
    uint8_t presence = 0;
    uint32_t baseAddress = 0;
    uint32_t length = 0;
};
std::vector<uint8_t> uploadInfoPayload(const UploadInfo& info);
std::optional<UploadInfo> parseUploadInfo(std::span<const uint8_t> payload);

struct UploadBlockRequest {
    uint32_t address = 0;
    uint16_t length = 0;
};
std::optional<UploadBlockRequest> parseUploadBlockRequest(std::span<const uint8_t> payload);

// F0: image length (2), checksum (2). F1: block length (2), the raw bytes.
std::vector<uint8_t> firmwareStartPayload(uint16_t length, uint16_t checksum);
std::vector<uint8_t> firmwareBlockPayload(std::span<const uint8_t> block);
struct FirmwareStart {
    uint16_t length = 0;
    uint16_t checksum = 0;
};
std::optional<FirmwareStart> parseFirmwareStart(std::span<const uint8_t> payload);
// The raw bytes of an F1 payload; empty when the length field disagrees with them.
std::optional<std::vector<uint8_t>> parseFirmwareBlock(std::span<const uint8_t> payload);

} // namespace rz::transfer
