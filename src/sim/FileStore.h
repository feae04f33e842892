#pragma once
// The controller's parameter-file storage: a download (D0 start, D1 packed blocks, D8 status,
// D2 verify) keeps the file of its kind only when length and 16-bit checksum match; an upload
// (D3 information, D4 blocks) reads the stored file of a kind. A verification asked again
// answers as the first one did, until the next D0. Files survive a restart; a download in
// progress does not.
#include "sim/CommandFamily.h"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace rz::sim {

// Where the controller keeps the file of a kind in its memory, as D3 reports it.
inline constexpr uint32_t kFileBaseAddressStep = 0x01000000; // 16 MB per kind
inline constexpr uint8_t kVerifiedCode = 0x66;
inline constexpr uint8_t kVerifyFailedCode = 0x00;
inline constexpr uint8_t kIdleStatus = 0x00;

class FileStore : public CommandFamily {
public:
    void handle(const ReceivedFrame& frame, FamilyContext& context) override;
    void reset() override;

    // A file the controller holds from the start (wall-panel, VOD, air-conditioner files).
    void preload(uint8_t kind, std::vector<uint8_t> bytes);
    // Empty when no file of that kind is stored.
    const std::vector<uint8_t>* file(uint8_t kind) const;
    static uint32_t baseAddress(uint8_t kind) { return kFileBaseAddressStep * kind; }

    // The next `count` D1 blocks are lost on their way in: neither kept nor answered.
    void loseIncomingBlocks(uint32_t count) { blocksToLose = count; }

    bool receiving() const { return isReceiving; }
    uint32_t bytesHeld() const { return static_cast<uint32_t>(incoming.size()); }
    // The scene the last verified download asked the controller to switch to.
    std::optional<uint8_t> switchedToScene() const { return scene; }
    uint32_t verifiedDownloads() const { return verified; }

private:
    void start(const ReceivedFrame& frame, FamilyContext& context);
    void block(const ReceivedFrame& frame, FamilyContext& context);
    void verify(const ReceivedFrame& frame, FamilyContext& context);
    void uploadInfo(const ReceivedFrame& frame, FamilyContext& context);
    void uploadBlock(const ReceivedFrame& frame, FamilyContext& context);

    std::map<uint8_t, std::vector<uint8_t>> stored;
    bool isReceiving = false;
    uint8_t incomingKind = 0;
    uint32_t expectedLength = 0;
    uint16_t expectedChecksum = 0;
    std::vector<uint8_t> incoming;
    uint32_t blocksToLose = 0;
    std::optional<uint8_t> scene;
    uint32_t verified = 0;
    std::optional<uint8_t> lastVerification; // the code of the last D2 answer since D0

};

} // namespace rz::sim
