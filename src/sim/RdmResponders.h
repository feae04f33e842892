#pragma once
// The RDM fixtures on the simulated controller's DMX line. Every A0 request packet is put on
// the line and answered with an A1 frame carrying what came back (possibly nothing);
// discovery answers of several unmuted fixtures in the branch OR-combine, as colliding
// answers do on a wired line.
#include "core/link/Commands.h"
#include "core/rdm/Uid.h"
#include "sim/CommandFamily.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::sim {

// How a badly behaved fixture misbehaves on the line.
enum class RdmQuirk {
    None,
    IgnoresMute,       // answers discovery while muted
    LateMuteAnswer,    // its mute answer misses the listening window and reaches the line in
                       // the next one, ahead of that request's answers
    ExtraBytes,        // sends four bytes of noise after its discovery answer
    ShortReply,        // its discovery answer lacks the checksum
    EveryOtherRequest, // hears only every other request that concerns it
};

// The names the simulator's command line uses: "ignores-mute", "late-mute", "extra-bytes",
// "short-reply", "every-other" ("" for None).
std::string_view quirkName(RdmQuirk quirk);
std::optional<RdmQuirk> quirkFromName(std::string_view name);

struct RdmResponder {
    rdm::Uid uid;
    std::string manufacturerLabel = "RZ Sim";
    std::string deviceLabel = "Fixture";
    uint16_t protocolVersion = 0x0100;
    uint16_t modelId = 0x0001;
    uint16_t productCategory = 0x0101;
    std::array<uint8_t, 4> softwareVersion{1, 0, 0, 0};
    // The footprint of each personality, personality 1 first.
    std::vector<uint16_t> footprints{8};
    uint8_t personality = 1;
    uint16_t startAddress = 1;
    uint8_t identify = 0;
    bool muted = false;
    RdmQuirk quirk = RdmQuirk::None;
    // Refuses start-address changes (a well-behaved answer: NACK write protect).
    bool startAddressLocked = false;
    // Requests that concerned it so far (an EveryOtherRequest fixture hears the odd ones).
    uint32_t requestsHeard = 0;

    uint16_t footprint() const;
};

class RdmResponders : public CommandFamily {
public:
    void add(RdmResponder responder) { fixtures.push_back(std::move(responder)); }
    void clear() { fixtures.clear(); }
    std::vector<RdmResponder>& responders() { return fixtures; }
    const std::vector<RdmResponder>& responders() const { return fixtures; }
    RdmResponder* find(rdm::Uid uid);

    // Bytes the line returns before every answer (a break read as 00, noise).
    std::vector<uint8_t> answerPrefix;

    // What the line returns for one request packet (checksum included), behind anything a
    // late fixture sent after the previous one; nothing for a packet no fixture can read.
    std::vector<uint8_t> answer(std::span<const uint8_t> packet);

    void handle(const ReceivedFrame& frame, FamilyContext& context) override;

    uint32_t requestsSeen() const { return requests; }
    uint32_t branchesSeen() const { return branches; }
    // The parameter of the last A8 control; -1 before the first.
    int controlParameter() const { return control; }

private:
    std::vector<uint8_t> answerOnLine(std::span<const uint8_t> packet);
    std::vector<uint8_t> discovery(uint16_t pid, rdm::Uid destination,
                                   std::span<const uint8_t> packet);
    std::vector<uint8_t> getOrSet(RdmResponder& r, std::span<const uint8_t> packet);

    std::vector<RdmResponder> fixtures;
    std::vector<uint8_t> late; // reaches the line in the next listening window
    uint32_t requests = 0;
    uint32_t branches = 0;
    int control = -1;
};

} // namespace rz::sim
