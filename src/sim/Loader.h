#pragma once
// The controller's firmware loader. For a while after a restart it answers the handshake
// C4 F1 F2 F3 F4 F5 with C4 01 02 03 04 05; once it has answered it stays in charge, takes an
// image (F0 length and checksum, F1 raw blocks) and verifies it (F2: 0x66 when length and
// 16-bit checksum match), after which the new program runs.
#include "core/app/Seams.h"
#include "sim/CommandFamily.h"

#include <cstdint>
#include <vector>

namespace rz::sim {

inline constexpr uint32_t kLoaderListenMs = 3000;

class Loader : public CommandFamily {
public:
    explicit Loader(Clock& clock);

    void handle(const ReceivedFrame& frame, FamilyContext& context) override;
    // A restart starts the loader's listening time.
    void reset() override;

    // What the loader answers to the handshake (01 02 03 04 05 unless a test changes it).
    void setHandshakeReply(std::vector<uint8_t> reply) { handshakeReply = std::move(reply); }

    bool listening();
    bool inCharge() const { return handshaken; }
    uint32_t handshakesAnswered() const { return answered; }
    // The last image that verified, and how many did.
    const std::vector<uint8_t>& installedImage() const { return installed; }
    uint32_t upgrades() const { return upgradeCount; }

private:
    void handshake(const ReceivedFrame& frame, FamilyContext& context);
    void imageStart(const ReceivedFrame& frame, FamilyContext& context);
    void imageBlock(const ReceivedFrame& frame, FamilyContext& context);
    void imageVerify(FamilyContext& context);

    Clock& clock;
    std::vector<uint8_t> handshakeReply;
    bool restarted = false;
    uint32_t restartMs = 0;
    bool handshaken = false;
    bool imageStarted = false;
    uint16_t expectedLength = 0;
    uint16_t expectedChecksum = 0;
    std::vector<uint8_t> image;
    std::vector<uint8_t> installed;
    uint32_t answered = 0;
    uint32_t upgradeCount = 0;
};

} // namespace rz::sim
