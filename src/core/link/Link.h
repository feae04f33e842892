#pragma once
// The controller link: sends frames on the selected transport, assembles received bytes into
// frames, hands each valid frame to nine receivers in a fixed order, and lets callers wait for
// a reply while the event loop keeps running.
//
// Single-threaded. Receivers run inside receive(), which runs inside transport events and
// inside waits. A receiver may send; bytes that arrive while a frame is being dispatched are
// held and parsed right after it. A receiver should not wait for a reply: nothing is parsed
// until it returns, so such a wait can only time out.
#include "core/app/Seams.h"
#include "core/link/Frame.h"
#include "core/link/LinkGate.h"
#include "core/link/Transport.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::link {

// Time-outs the callers use.
inline constexpr uint32_t kConnectReplyTimeoutMs = 1000;  // C0
inline constexpr uint32_t kFirmwareReplyTimeoutMs = 500;  // F0, F1, F2
inline constexpr uint32_t kTransferReplyTimeoutMs = 500;  // D0, D2, D3, D4
inline constexpr uint32_t kTransferStatusTimeoutMs = 300; // D1, D8
inline constexpr uint8_t kReplySuccess = 0x66;             // first payload byte of F2, D2 success
// A partial frame that saw no further byte for longer than this is abandoned when the next
// bytes arrive. The serial transport's idle timer does the same; datagrams have no such timer,
// and one cut-short datagram would otherwise swallow the replies behind it.
inline constexpr uint32_t kStalePartialFrameMs = 1000;

// Whether send() let a frame go or refused it.
enum class SendStatus : uint8_t {
    sent,
    payloadTooLong,
};

class Link {
public:
    using Receiver = std::function<void(uint8_t command, std::span<const uint8_t> payload)>;

    // The dispatch order; each later module plugs into its own slot.
    enum class ReceiverSlot {
        FileTransfer = 1,
        LightControlInfrared,
        FirmwareVersion,
        FirmwareData,
        TestPanel,
        SceneAssociation,
        Rdm,
        FrameCounter,
        AirConditioner,
    };
    static constexpr int kReceiverSlots = 9;

    Link(Clock& clock, Yield& yield);
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // The transport frames go to and bytes come from; null means none is open. The link
    // installs itself as the transport's receiver (and removes itself from the previous one).
    // Detach (null) before either of the two is destroyed.
    void setTransport(Transport* transport);
    Transport* transport() const;

    // Builds the frame, keeps its text as the last sent frame text, writes it to the transport
    // (nothing leaves without an open transport) and then reports it through onFrameSent.
    // A payload longer than kMaxSendPayload is refused: nothing is built, sent or counted.
    SendStatus send(uint8_t command, std::span<const uint8_t> payload);
    // A ready-made frame text, spaces allowed; not checked and not counted. Clears the last
    // sent frame text. A text that is not whole hexadecimal bytes sends nothing.
    void sendText(std::string_view frameText);
    const std::string& lastSentFrameText() const;

    // Bytes from the transport: appended to the receive buffer and parsed, and every complete
    // frame among them is dispatched before this returns. Then onBytesReceived sees them.
    // Bytes held longer than kStalePartialFrameMs without more are dropped first.
    void receive(std::span<const uint8_t> bytes);

    // Abandons an incomplete frame: the serial transport calls it after about a second
    // without data while bytes are held.
    void clearReceived();
    // Bytes held in the receive buffer, not yet part of a complete frame.
    std::size_t receivedByteCount() const;

    void setReceiver(ReceiverSlot slot, Receiver receiver);

    // Waits until a frame with this command is dispatched, polling the transport and yielding
    // between polls; false once more than timeoutMs have passed. Only a frame dispatched
    // during this wait counts, even when a nested wait ran meanwhile or other frames came
    // behind it in the same delivery.
    bool waitReply(uint8_t command, uint32_t timeoutMs);
    // As waitReply; then true only when that frame's first payload byte is `code`.
    bool waitReplyCode(uint8_t command, uint32_t timeoutMs, uint8_t code);
    // Waits strictly more than `ms` milliseconds while yielding; counts as a wait.
    void delayMs(uint32_t ms);
    // Above 0 while any wait runs; the main loop skips its periodic tasks then.
    int waitDepth() const;

    // Set after each dispatched frame. The first payload byte keeps its previous value for an
    // empty payload; a wait clears the command to 0 when it starts.
    uint8_t lastCommand() const;
    uint8_t lastFirstPayloadByte() const;
    uint32_t lastPayloadLength() const;
    std::span<const uint8_t> lastPayload() const;

    // Called after every frame sent with send() (the connection manager counts it).
    std::function<void()> onFrameSent;
    // Called with every delivery of received bytes (the development window's log).
    std::function<void(std::span<const uint8_t>)> onBytesReceived;

    // The busy gate every operation that waits for replies passes through.
    LinkGate& operations() { return gate; }
    const LinkGate& operations() const { return gate; }

private:
    struct PendingWait {
        uint8_t command;
        bool arrived = false;
        uint8_t firstPayloadByte = 0;
    };

    std::optional<uint8_t> waitFor(uint8_t command, uint32_t timeoutMs);
    void feed(std::span<const uint8_t> bytes);
    void parseAll();
    void dispatch(uint8_t command, std::span<const uint8_t> payload);

    Clock& clock;
    Yield& yield;
    Transport* current = nullptr;
    FrameParser parser;
    std::array<Receiver, kReceiverSlots + 1> receivers{}; // index 0 unused
    std::string lastSent;
    std::vector<uint8_t> receivedPayload;
    std::vector<uint8_t> heldWhileDispatching;
    std::vector<PendingWait*> waits;
    LinkGate gate;
    int depth = 0;
    bool dispatching = false;
    uint8_t lastCmd = 0;
    uint8_t lastFirst = 0;
    uint32_t lastLength = 0;
    uint32_t lastReceivedMs = 0;
};

} // namespace rz::link
