#pragma once
// RDM request packets as the tool builds them, and the checks of a reply packet.
//
// Request: CC 01 ML, destination, source FF FF FF FF FF FE, transaction number, port 00,
// message count 00, sub-device high 00, sub-device low, command class, PID, PDL, data, then
// the 16-bit sum of bytes 0 .. ML - 1, high byte first.
#include "core/app/HexText.h"
#include "core/rdm/Uid.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace rz::rdm {

inline constexpr uint8_t kStartCode = 0xCC;
inline constexpr uint8_t kSubStartCode = 0x01;
inline constexpr std::size_t kHeaderLength = 24;  // bytes before the parameter data
inline constexpr std::size_t kMaxParameterData = 231; // so that ML fits its byte

// Command classes.
inline constexpr uint8_t kDiscoveryCommand = 0x10;
inline constexpr uint8_t kDiscoveryResponse = 0x11;
inline constexpr uint8_t kGetCommand = 0x20;
inline constexpr uint8_t kGetResponse = 0x21;
inline constexpr uint8_t kSetCommand = 0x30;
inline constexpr uint8_t kSetResponse = 0x31;

// Parameter IDs.
inline constexpr uint16_t kPidDiscUniqueBranch = 0x0001;
inline constexpr uint16_t kPidDiscMute = 0x0002;
inline constexpr uint16_t kPidDiscUnMute = 0x0003;
inline constexpr uint16_t kPidDeviceInfo = 0x0060;
inline constexpr uint16_t kPidManufacturerLabel = 0x0081;
inline constexpr uint16_t kPidDeviceLabel = 0x0082;
inline constexpr uint16_t kPidDmxPersonality = 0x00E0;
inline constexpr uint16_t kPidDmxStartAddress = 0x00F0;
inline constexpr uint16_t kPidIdentifyDevice = 0x1000;

// Response types (byte 16 of a reply).
inline constexpr uint8_t kResponseAck = 0x00;
inline constexpr uint8_t kResponseAckTimer = 0x01;
inline constexpr uint8_t kResponseNack = 0x02;
inline constexpr uint8_t kResponseAckOverflow = 0x03;

// NACK reasons (the two data bytes of a NACK).
inline constexpr uint16_t kNackUnknownPid = 0x0000;
inline constexpr uint16_t kNackFormatError = 0x0001;
inline constexpr uint16_t kNackUnsupportedCommandClass = 0x0005;
inline constexpr uint16_t kNackWriteProtect = 0x0004;
inline constexpr uint16_t kNackDataOutOfRange = 0x0006;

// How the controller is to put a request on the line.
inline constexpr uint8_t kModeDiscovery = 3; // replies may collide
inline constexpr uint8_t kModeRequest = 5;

inline constexpr uint32_t kReplyWaitMs = 100;
inline constexpr uint8_t kDeviceInfoLength = 0x13;

// The transaction number: 0 at start, advanced after each packet, 254 followed by 0.
class TransactionNumber {
public:
    static constexpr uint8_t kLast = 254;
    uint8_t current() const { return number; }
    // The number for this packet; the next packet gets the following one.
    uint8_t take()
    {
        const uint8_t n = number;
        number = n >= kLast ? 0 : static_cast<uint8_t>(n + 1);
        return n;
    }

private:
    uint8_t number = 0;
};

// One request: what to send and how to judge the answer.
struct RdmRequest {
    Uid destination;
    uint8_t subDeviceLow = 0;
    uint8_t commandClass = kGetCommand;
    uint16_t pid = 0;
    std::vector<uint8_t> data;
    uint8_t mode = kModeRequest;
    // A request that waits accepts only this response class and PID (and length, if given).
    bool waits = false;
    uint8_t replyClass = 0;
    std::optional<uint8_t> replyLength;
};

// The requests of the tool, with their class, PID, data, mode and wait.
namespace request {
RdmRequest discUniqueBranch(Uid lower, Uid upper);
RdmRequest discMute(Uid uid);
RdmRequest discUnMuteAll();
RdmRequest identify(Uid uid, uint8_t value);
// The same request waiting for its ACK, for callers that must know a device answered.
RdmRequest identifyConfirmed(Uid uid, uint8_t value);
RdmRequest readDeviceInfo(Uid uid);
RdmRequest setStartAddress(Uid uid, uint16_t address);
RdmRequest setPersonality(Uid uid, uint8_t personality);
RdmRequest readManufacturerLabel(Uid uid);
RdmRequest readDeviceLabel(Uid uid);
} // namespace request

// The whole packet, checksum included, with this transaction number. A request with more than
// kMaxParameterData bytes of parameter data is refused with an empty packet: its length would
// not fit ML, and a cut packet would set something other than what was asked.
std::vector<uint8_t> buildRdmPacket(const RdmRequest& request, uint8_t transaction);

// Sum of the bytes modulo 65536.
uint16_t rdmChecksum(std::span<const uint8_t> bytes);

// "CC 01 18 " - two upper-case digits and a space per byte.
using ::rz::spacedHexText;

enum class ReplyStatus {
    Ok,
    NoStartCode,   // no CC within the first 101 bytes, or no bytes at all
    BadHeader,     // sub-start code not 01, or a message length of 0
    Truncated,     // fewer bytes than the message length and checksum
    BadLength,     // message length too short for the header or for the PDL
    BadChecksum,
};

// A reply packet taken apart.
struct RdmReply {
    Uid destination;
    Uid source;
    uint8_t transaction = 0;
    uint8_t responseType = 0;
    uint8_t subDeviceLow = 0;
    uint8_t commandClass = 0;
    uint16_t pid = 0;
    std::vector<uint8_t> data;   // PDL bytes
    std::u16string parsedText;   // bytes 0 .. ML + 1 in spaced form

    // "0021": sub-device low byte and command class.
    std::u16string classText() const;
    // "0060".
    std::u16string pidText() const;
    // The reason of a NACK (its first two data bytes); none for other responses.
    std::optional<uint16_t> nackReason() const;
};

struct ReplyParse {
    ReplyStatus status = ReplyStatus::NoStartCode;
    RdmReply reply; // filled when status is Ok
};

// Up to 100 bytes of line noise before the start code are skipped.
ReplyParse parseRdmReply(std::span<const uint8_t> bytes);

// A label: every byte above 20 is one character (bytes above 7F as Latin-1); the others are
// skipped.
std::u16string labelFromBytes(std::span<const uint8_t> bytes);

// The fields of a DEVICE_INFO reply.
struct DeviceInfo {
    uint16_t protocolVersion = 0;
    uint16_t modelId = 0;
    uint16_t productCategory = 0;
    std::u16string softwareVersion; // "1.2.3.4."
    uint16_t footprint = 0;
    uint8_t currentPersonality = 0;
    uint8_t personalityCount = 0;
    uint16_t startAddress = 0;

    // "软件版本：1.2.3.4.\r\n通道数：12\r\nDmx地址：1\r\n"
    std::u16string summary() const;
};

// No value unless the data holds exactly 0x13 bytes.
std::optional<DeviceInfo> deviceInfoFromData(std::span<const uint8_t> data);

// "DATA_OUT_OF_RANGE" and the like; "" for a reason this tool does not know.
std::u16string nackReasonName(uint16_t reason);

} // namespace rz::rdm
