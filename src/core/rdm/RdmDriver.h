#pragma once
// The RDM driver: builds each request packet, hands it to the controller in an A0 frame,
// keeps the bytes the controller returns from the line (A1) and offers one operation per
// request of the RDM page. It is also the line the discovery search talks to.
//
// One request at a time: a request started from an event during another's wait replaces the
// reply state. Requests are sent whether or not a connection is established; with no open
// transport every waiting request times out.
#include "core/app/Seams.h"
#include "core/link/Link.h"
#include "core/rdm/RdmPacket.h"
#include "core/rdm/RdmView.h"
#include "core/rdm/UidSearch.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::rdm {

inline constexpr uint32_t kMutePauseMs = 50;
inline constexpr uint8_t kControlEnable = 1;

// How a request that waits for its answer ended.
enum class RdmStatus {
    Ok,
    InvalidUid,      // nothing was sent
    BadCommandText,  // test command: class, PID or data not hexadecimal; nothing was sent
    NoReply,         // no A1 within the wait
    InvalidReply,    // see replyStatus
    UnexpectedReply, // another class, PID or length than the request asks for
    Nack,            // see nackReason
    NotAcknowledged, // ACK_TIMER or ACK_OVERFLOW: the value is not there yet
};

struct RdmResult {
    RdmStatus status = RdmStatus::Ok;
    ReplyStatus replyStatus = ReplyStatus::Ok;
    std::optional<uint16_t> nackReason;
    static RdmResult failure(RdmStatus s)
    {
        RdmResult r;
        r.status = s;
        return r;
    }
    bool ok() const { return status == RdmStatus::Ok; }
    explicit operator bool() const { return ok(); }
};

class RdmDriver : private DiscoveryTarget {
public:
    // Installs the receive handler in the link's RDM slot.
    RdmDriver(link::Link& link, Clock& clock, RdmView& view);
    ~RdmDriver() override;
    RdmDriver(const RdmDriver&) = delete;
    RdmDriver& operator=(const RdmDriver&) = delete;

    // Requests that do not wait: false when the UID text is not acceptable (nothing sent).
    void rdmDiscUniqueBranch(Uid lower, Uid upper);
    bool rdmDiscMute(std::u16string_view uidText);
    void rdmDiscMute(Uid uid);
    void rdmDiscUnMuteAll();
    bool rdmIdentify(std::u16string_view uidText, uint8_t value);

    // Requests that wait for an ACK of their own class and PID.
    RdmResult rdmReadDeviceInfo(std::u16string_view uidText);
    RdmResult rdmSetStartAddress(std::u16string_view uidText, uint16_t address);
    RdmResult rdmSetPersonality(std::u16string_view uidText, uint8_t personality);
    // rdmIdentify that waits for the device's ACK (the page sends without waiting).
    RdmResult rdmIdentifyConfirmed(std::u16string_view uidText, uint8_t value);
    RdmResult rdmReadManufacturerLabel(std::u16string_view uidText);
    RdmResult rdmReadDeviceLabel(std::u16string_view uidText);

    // A free request; its bytes and the answer's go to `log`. True for any valid reply.
    RdmResult rdmSendTestCommand(std::u16string_view uidText, std::u16string_view classText,
                                 std::u16string_view pidText, std::u16string_view dataText,
                                 LogBox& log);

    // The A8 control (the page sends it with 1 each time it is shown).
    void sendRdmControl(uint8_t p);
    // The page's "un-mute all": DISC_UN_MUTE twice, each followed by a 50 ms pause.
    void unMuteAll() override;

    // Sends the packet of the request in an A0 frame after clearing the reply state.
    link::SendStatus sendRdmPacket(const RdmRequest& request);
    // True once an A1 frame arrived after the last packet; false after more than ms.
    bool waitRdmReply(uint32_t ms);

    // Receiver 7 of the link.
    void rdmReceive(uint8_t command, std::span<const uint8_t> payload);
    // The live-output tick's step while the RDM page drives the output.
    void rdmPeriodicStep();

    // Discovery and the found table.
    UidSearch& discovery() { return search; }
    void startDiscovery() { search.startDiscovery(); }
    void stopDiscovery() { search.stopDiscovery(); }
    void clearFoundUids() { search.clearFoundUids(); }

    // The page's log is emptied.
    void clearLog() { view.clearLog(); }
    // The page clears the note each time it is shown, so it appears once per showing.
    void clearSupportedNote() { supportedNoted = false; }
    // 1 while the page is shown and no search runs (written by the page).
    void setPageIdle(int32_t idle) { pageIdle = idle; }
    int32_t pageIdleFlag() const { return pageIdle; }
    // Asks the live sender for frames (its requestLiveFrames).
    std::function<void()> requestLiveFrames;

    // Information results: each is replaced by the next successful request of its kind.
    const DeviceInfo& deviceInfo() const { return info; }
    const std::u16string& summaryText() const { return summary; }
    const std::u16string& manufacturerLabel() const { return manufacturer; }
    const std::u16string& deviceLabel() const { return device; }

    // Reply state of the last packet.
    uint8_t transactionNumber() const { return transaction.current(); }
    const std::u16string& sentBytesText() const { return sentText; }
    const std::vector<uint8_t>& replyBytes() const { return reply; }
    bool replyArrived() const { return arrived; }
    bool replyHasData() const { return hasData; }
    const std::optional<RdmReply>& parsedReply() const { return parsed; }

private:
    std::optional<std::vector<uint8_t>> branch(Uid lower, Uid upper) override;
    void mute(Uid uid) override;

    // Sends a waiting request, waits and judges the answer.
    RdmResult exchange(const RdmRequest& request);

    link::Link& link;
    Clock& clock;
    RdmView& view;
    UidSearch search;
    TransactionNumber transaction;
    std::u16string sentText;
    std::vector<uint8_t> reply;
    bool arrived = false;
    bool hasData = false;
    bool capture = false;
    std::u16string captured;
    std::optional<RdmReply> parsed;
    bool supportedNoted = false;
    int32_t pageIdle = 0;
    DeviceInfo info;
    std::u16string summary;
    std::u16string manufacturer;
    std::u16string device;
};

} // namespace rz::rdm
