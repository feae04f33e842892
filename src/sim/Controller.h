#pragma once
// The simulated controller: takes the bytes the PC sends, cuts and checks frames, routes each
// good frame to its command family and queues the answers as checked frames. Replies pass
// through the fault policy; time comes only from the clock given to it.
#include "core/app/Seams.h"
#include "sim/CommandFamily.h"
#include "sim/ControllerEvent.h"
#include "sim/Faults.h"
#include "sim/FrameReader.h"
#include "sim/HandshakeFamily.h"
#include "sim/LiveOutputFamily.h"
#include "sim/RdmResponders.h"
#include "sim/InfraredFunctions.h"
#include "sim/SceneAssociations.h"
#include "sim/RoomFunctions.h"
#include "sim/TransferFamilies.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace rz::sim {

// A partial frame that sees no further byte for this long is thrown away, so one lost byte
// cannot swallow the frames after it.
inline constexpr uint32_t kPartialFrameTimeoutMs = 1000;
inline constexpr std::size_t kRememberedFrames = 32;

struct LinkCounters {
    uint32_t goodFrames = 0;
    uint32_t badChecksums = 0;
    uint32_t badLengths = 0;
    uint32_t abandonedPartials = 0;
    uint32_t repliesSent = 0; // includes corrupted ones
    uint32_t repliesDropped = 0;
    uint32_t repliesCorrupted = 0;
};

class Controller {
public:
    explicit Controller(Clock& clock, const FaultPolicy& faults = {});
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // Bytes from the PC, in any pieces.
    void receive(std::span<const uint8_t> bytes);
    // Output that is due now, joined / as the pieces the fault policy cut.
    std::vector<uint8_t> takeOutput();
    std::vector<std::vector<uint8_t>> takeOutputChunks();
    // Milliseconds until the next queued output is due (0 when due now); empty when none.
    std::optional<uint32_t> msUntilNextOutput();

    void setListener(ControllerListener* l) { listener = l; }

    // Extension point for further command families: frames with this command (and, for the
    // second form, this first payload byte) go to the family, which must outlive the
    // controller. A command-and-byte route wins over a command route.
    void route(uint8_t command, CommandFamily& family);
    void route(uint8_t command, uint8_t firstByte, CommandFamily& family);

    // Observable state.
    const LinkCounters& counters() const { return link; }
    uint32_t framesReceived(uint8_t command) const { return perCommand[command]; }
    uint32_t framesReceived(uint8_t command, uint8_t firstByte) const;
    uint32_t restarts() const { return restartCount; }
    const std::deque<ReceivedFrame>& lastFrames() const { return recent; }
    const LiveOutput& output() const { return liveOutput.output(); }
    const HandshakeFamily& handshake() const { return handshakeFamily; }
    const LiveOutputFamily& live() const { return liveOutput; }
    // File storage, firmware loader and query answers (preload files, script the loader).
    TransferFamilies& transfer() { return transferFamilies; }
    const RoomFunctions& roomFunctions() const { return room; }
    // The RDM fixtures on the DMX line.
    RdmResponders& rdm() { return rdmResponders; }
    // Infrared reception and the air-conditioner codes.
    InfraredFunctions& infrared() { return infraredFunctions; }
    // The scene-association report of wall-panel and VOD selections.
    SceneAssociations& associations() { return sceneAssociations; }

    // Something the room produced without a frame from the PC (a remote control pressed, a
    // wall-panel key): `act` replies and reports through the context as a family does.
    void inject(const std::function<void(FamilyContext&)>& act);
    // A frame the controller sends of its own accord.
    void sendUnprompted(uint8_t command, std::span<const uint8_t> payload);

private:
    class Context;
    friend class Context;

    void dispatch(ReceivedFrame frame);
    void reportDrop(DropReason reason, std::size_t length);
    void queueReply(uint8_t command, std::span<const uint8_t> payload,
                    std::vector<ControllerEvent>& events);
    void restart(std::vector<ControllerEvent>& events);
    void notify(const ControllerEvent& e);

    Clock& clock;
    FaultInjector faults;
    FrameReader reader;
    ControllerListener* listener = nullptr;
    uint32_t lastInputMs = 0;

    HandshakeFamily handshakeFamily;
    LiveOutputFamily liveOutput;
    TransferFamilies transferFamilies{clock};
    RoomFunctions room;
    RdmResponders rdmResponders;
    InfraredFunctions infraredFunctions;
    SceneAssociations sceneAssociations{transferFamilies.files};
    std::array<CommandFamily*, 256> routes{};
    std::map<uint16_t, CommandFamily*> subRoutes;
    std::vector<CommandFamily*> families; // each once, for restarts

    LinkCounters link;
    std::array<uint32_t, 256> perCommand{};
    std::map<uint16_t, uint32_t> perSubCommand;
    uint32_t restartCount = 0;
    std::deque<ReceivedFrame> recent;
    std::deque<OutputChunk> pending;
};

} // namespace rz::sim
