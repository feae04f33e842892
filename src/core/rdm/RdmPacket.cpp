#include "core/rdm/RdmPacket.h"

#include "core/rdm/NumberText.h"
#include "core/rdm/RdmTexts.h"

#include <algorithm>

namespace rz::rdm {

namespace {

constexpr std::size_t kMaxNoiseBytes = 100;

RdmRequest make(Uid destination, uint8_t commandClass, uint16_t pid, std::vector<uint8_t> data,
                uint8_t mode = kModeRequest)
{
    RdmRequest r;
    r.destination = destination;
    r.commandClass = commandClass;
    r.pid = pid;
    r.data = std::move(data);
    r.mode = mode;
    return r;
}

RdmRequest waiting(RdmRequest r, uint8_t replyClass, std::optional<uint8_t> length = std::nullopt)
{
    r.waits = true;
    r.replyClass = replyClass;
    r.replyLength = length;
    return r;
}

uint16_t word(std::span<const uint8_t> b, std::size_t at)
{
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

} // namespace

namespace request {

RdmRequest discUniqueBranch(Uid lower, Uid upper)
{
    std::vector<uint8_t> data;
    for (Uid u : {lower, upper}) {
        const auto b = u.toBytes();
        data.insert(data.end(), b.begin(), b.end());
    }
    return make(Uid::allDevices(), kDiscoveryCommand, kPidDiscUniqueBranch, std::move(data),
                kModeDiscovery);
}

RdmRequest discMute(Uid uid)
{
    return make(uid, kDiscoveryCommand, kPidDiscMute, {});
}

RdmRequest discUnMuteAll()
{
    return make(Uid::allDevices(), kDiscoveryCommand, kPidDiscUnMute, {});
}

RdmRequest identify(Uid uid, uint8_t value)
{
    return make(uid, kSetCommand, kPidIdentifyDevice, {value});
}

RdmRequest identifyConfirmed(Uid uid, uint8_t value)
{
    return waiting(identify(uid, value), kSetResponse);
}

RdmRequest readDeviceInfo(Uid uid)
{
    return waiting(make(uid, kGetCommand, kPidDeviceInfo, {}), kGetResponse, kDeviceInfoLength);
}

RdmRequest setStartAddress(Uid uid, uint16_t address)
{
    return waiting(make(uid, kSetCommand, kPidDmxStartAddress,
                        {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)}),
                   kSetResponse);
}

RdmRequest setPersonality(Uid uid, uint8_t personality)
{
    return waiting(make(uid, kSetCommand, kPidDmxPersonality, {personality}), kSetResponse);
}

RdmRequest readManufacturerLabel(Uid uid)
{
    return waiting(make(uid, kGetCommand, kPidManufacturerLabel, {}), kGetResponse);
}

RdmRequest readDeviceLabel(Uid uid)
{
    return waiting(make(uid, kGetCommand, kPidDeviceLabel, {}), kGetResponse);
}

} // namespace request

uint16_t rdmChecksum(std::span<const uint8_t> bytes)
{
    uint32_t sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    return static_cast<uint16_t>(sum);
}

std::vector<uint8_t> buildRdmPacket(const RdmRequest& r, uint8_t transaction)
{
    if (r.data.size() > kMaxParameterData)
        return {};
    const std::size_t pdl = r.data.size();
    std::vector<uint8_t> p;
    p.reserve(kHeaderLength + pdl + 2);
    p.push_back(kStartCode);
    p.push_back(kSubStartCode);
    p.push_back(static_cast<uint8_t>(kHeaderLength + pdl));
    for (Uid u : {r.destination, Uid::requestSource()}) {
        const auto b = u.toBytes();
        p.insert(p.end(), b.begin(), b.end());
    }
    p.push_back(transaction);
    p.push_back(0x00); // port
    p.push_back(0x00); // message count
    p.push_back(0x00); // sub-device high
    p.push_back(r.subDeviceLow);
    p.push_back(r.commandClass);
    p.push_back(static_cast<uint8_t>(r.pid >> 8));
    p.push_back(static_cast<uint8_t>(r.pid));
    p.push_back(static_cast<uint8_t>(pdl));
    p.insert(p.end(), r.data.begin(), r.data.begin() + static_cast<std::ptrdiff_t>(pdl));
    const uint16_t sum = rdmChecksum(p);
    p.push_back(static_cast<uint8_t>(sum >> 8));
    p.push_back(static_cast<uint8_t>(sum));
    return p;
}

std::u16string RdmReply::classText() const
{
    return hexDigits(static_cast<uint32_t>(subDeviceLow << 8 | commandClass), 4);
}

std::u16string RdmReply::pidText() const
{
    return hexDigits(pid, 4);
}

std::optional<uint16_t> RdmReply::nackReason() const
{
    if (responseType != kResponseNack || data.size() < 2)
        return std::nullopt;
    return word(data, 0);
}

ReplyParse parseRdmReply(std::span<const uint8_t> bytes)
{
    ReplyParse result;
    std::size_t skip = 0;
    while (skip < kMaxNoiseBytes && skip < bytes.size() && bytes[skip] != kStartCode)
        ++skip;
    const std::span<const uint8_t> b = bytes.subspan(skip);
    if (b.empty() || b[0] != kStartCode) {
        result.status = ReplyStatus::NoStartCode;
        return result;
    }
    if (b.size() < 3 || b[1] != kSubStartCode || b[2] == 0) {
        result.status = ReplyStatus::BadHeader;
        return result;
    }
    const std::size_t ml = b[2];
    if (b.size() < ml + 2) {
        result.status = ReplyStatus::Truncated;
        return result;
    }
    // The header fields and the parameter data must lie inside the message.
    if (ml < kHeaderLength || kHeaderLength + b[23] > ml) {
        result.status = ReplyStatus::BadLength;
        return result;
    }
    if (rdmChecksum(b.first(ml)) != word(b, ml)) {
        result.status = ReplyStatus::BadChecksum;
        return result;
    }
    RdmReply& r = result.reply;
    r.destination = *Uid::fromBytes(b.subspan(3, 6));
    r.source = *Uid::fromBytes(b.subspan(9, 6));
    r.transaction = b[15];
    r.responseType = b[16];
    r.subDeviceLow = b[19];
    r.commandClass = b[20];
    r.pid = word(b, 21);
    r.data.assign(b.begin() + kHeaderLength, b.begin() + kHeaderLength + b[23]);
    r.parsedText = spacedHexText(b.first(ml + 2));
    result.status = ReplyStatus::Ok;
    return result;
}

std::u16string labelFromBytes(std::span<const uint8_t> bytes)
{
    std::u16string t;
    for (uint8_t b : bytes)
        if (b > 20)
            t += static_cast<char16_t>(b);
    return t;
}

std::u16string DeviceInfo::summary() const
{
    std::u16string t;
    t += text::kSoftwareVersion;
    t += softwareVersion;
    t += text::kLineEnd;
    t += text::kChannelCount;
    t += decimalText(footprint);
    t += text::kLineEnd;
    t += text::kDmxAddress;
    t += decimalText(startAddress);
    t += text::kLineEnd;
    return t;
}

std::optional<DeviceInfo> deviceInfoFromData(std::span<const uint8_t> d)
{
    if (d.size() != kDeviceInfoLength)
        return std::nullopt;
    DeviceInfo info;
    info.protocolVersion = word(d, 0);
    info.modelId = word(d, 2);
    info.productCategory = word(d, 4);
    for (std::size_t i = 6; i <= 9; ++i) {
        info.softwareVersion += decimalText(d[i]);
        info.softwareVersion += u'.';
    }
    info.footprint = word(d, 10);
    info.currentPersonality = d[12];
    info.personalityCount = d[13];
    info.startAddress = word(d, 14);
    return info;
}

std::u16string nackReasonName(uint16_t reason)
{
    static constexpr std::u16string_view kNames[] = {
        u"UNKNOWN_PID",          u"FORMAT_ERROR",         u"HARDWARE_FAULT",
        u"PROXY_REJECT",         u"WRITE_PROTECT",        u"UNSUPPORTED_COMMAND_CLASS",
        u"DATA_OUT_OF_RANGE",    u"BUFFER_FULL",          u"PACKET_SIZE_UNSUPPORTED",
        u"SUB_DEVICE_OUT_OF_RANGE", u"PROXY_BUFFER_FULL",
    };
    if (reason < std::size(kNames))
        return std::u16string(kNames[reason]);
    return {};
}

} // namespace rz::rdm
