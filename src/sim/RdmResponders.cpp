#include "sim/RdmResponders.h"

#include "core/rdm/DiscoveryReply.h"
#include "core/link/Frame.h"
#include "core/rdm/RdmPacket.h"

#include <algorithm>

namespace rz::sim {

namespace {

using Bytes = std::vector<uint8_t>;
namespace cmd = link::cmd;

constexpr uint16_t kNackSubDeviceOutOfRange = 0x0009;
constexpr std::array<uint8_t, 4> kNoiseAfterAnswer{0xAA, 0x55, 0xFE, 0xFE};
constexpr std::size_t kDiscoveryChecksumLength = 4;

constexpr std::pair<RdmQuirk, std::string_view> kQuirkNames[] = {
    {RdmQuirk::IgnoresMute, "ignores-mute"}, {RdmQuirk::LateMuteAnswer, "late-mute"},
    {RdmQuirk::ExtraBytes, "extra-bytes"},   {RdmQuirk::ShortReply, "short-reply"},
    {RdmQuirk::EveryOtherRequest, "every-other"},
};

// True when the fixture takes this request in; counts it.
bool hears(RdmResponder& r)
{
    ++r.requestsHeard;
    return r.quirk != RdmQuirk::EveryOtherRequest || r.requestsHeard % 2 == 1;
}

uint16_t word(std::span<const uint8_t> b, std::size_t at)
{
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

void putWord(Bytes& b, uint16_t v)
{
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

// A response to the request packet from `source`.
Bytes response(std::span<const uint8_t> request, rdm::Uid source, uint8_t responseType,
               std::span<const uint8_t> data)
{
    Bytes p{rdm::kStartCode, rdm::kSubStartCode,
            static_cast<uint8_t>(rdm::kHeaderLength + data.size())};
    p.insert(p.end(), request.begin() + 9, request.begin() + 15); // to the request's source
    const auto src = source.toBytes();
    p.insert(p.end(), src.begin(), src.end());
    p.push_back(request[15]); // transaction number
    p.push_back(responseType);
    p.push_back(0x00); // message count
    p.push_back(request[18]);
    p.push_back(request[19]);
    p.push_back(static_cast<uint8_t>(request[20] + 1)); // GET -> GET response, ...
    p.push_back(request[21]);
    p.push_back(request[22]);
    p.push_back(static_cast<uint8_t>(data.size()));
    p.insert(p.end(), data.begin(), data.end());
    putWord(p, rdm::rdmChecksum(p));
    return p;
}

Bytes ack(std::span<const uint8_t> request, rdm::Uid source, const Bytes& data = {})
{
    return response(request, source, rdm::kResponseAck, data);
}

Bytes nack(std::span<const uint8_t> request, rdm::Uid source, uint16_t reason)
{
    Bytes data;
    putWord(data, reason);
    return response(request, source, rdm::kResponseNack, data);
}

} // namespace

std::string_view quirkName(RdmQuirk quirk)
{
    for (const auto& [q, name] : kQuirkNames)
        if (q == quirk)
            return name;
    return {};
}

std::optional<RdmQuirk> quirkFromName(std::string_view name)
{
    for (const auto& [q, n] : kQuirkNames)
        if (n == name)
            return q;
    return std::nullopt;
}

uint16_t RdmResponder::footprint() const
{
    if (personality < 1 || personality > footprints.size())
        return 0;
    return footprints[personality - 1];
}

RdmResponder* RdmResponders::find(rdm::Uid uid)
{
    auto it = std::find_if(fixtures.begin(), fixtures.end(),
                           [&](const RdmResponder& r) { return r.uid == uid; });
    return it == fixtures.end() ? nullptr : &*it;
}

void RdmResponders::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    const Bytes& p = frame.payload;
    if (frame.command != cmd::kRdm || p.empty())
        return;
    if (p[0] == cmd::rdm::kControl) {
        if (p.size() >= 2)
            control = p[1];
        return;
    }
    if (p[0] != cmd::rdm::kRequest)
        return;
    ++requests;
    Bytes line;
    if (p.size() >= 2)
        line = answer(std::span(p).subspan(2));
    Bytes reply{cmd::rdm::kReply};
    if (!line.empty()) {
        reply.insert(reply.end(), answerPrefix.begin(), answerPrefix.end());
        reply.insert(reply.end(), line.begin(), line.end());
        // What does not fit one frame never reaches the PC.
        reply.resize(std::min(reply.size(), link::kMaxReceivedFrame - link::kFrameOverhead));
    }
    context.reply(cmd::kRdm, reply);
}

Bytes RdmResponders::answer(std::span<const uint8_t> packet)
{
    Bytes line = std::move(late);
    late.clear();
    const Bytes own = answerOnLine(packet);
    line.insert(line.end(), own.begin(), own.end());
    return line;
}

Bytes RdmResponders::answerOnLine(std::span<const uint8_t> packet)
{
    if (packet.size() < rdm::kHeaderLength + 2 || packet[0] != rdm::kStartCode ||
        packet[1] != rdm::kSubStartCode)
        return {};
    const std::size_t ml = packet[2];
    if (ml < rdm::kHeaderLength || packet.size() < ml + 2 ||
        rdm::kHeaderLength + packet[23] > ml ||
        rdm::rdmChecksum(packet.first(ml)) != word(packet, ml))
        return {};
    packet = packet.first(ml);
    const rdm::Uid destination = *rdm::Uid::fromBytes(packet.subspan(3, 6));
    const uint8_t commandClass = packet[20];
    const uint16_t pid = word(packet, 21);
    if (commandClass == rdm::kDiscoveryCommand)
        return discovery(pid, destination, packet);
    if (commandClass != rdm::kGetCommand && commandClass != rdm::kSetCommand)
        return {};
    if (destination.isBroadcast()) {
        // Everyone acts on a broadcast SET; no one answers.
        if (commandClass == rdm::kSetCommand)
            for (RdmResponder& r : fixtures)
                if (hears(r))
                    getOrSet(r, packet);
        return {};
    }
    RdmResponder* r = find(destination);
    return r && hears(*r) ? getOrSet(*r, packet) : Bytes{};
}

Bytes RdmResponders::discovery(uint16_t pid, rdm::Uid destination, std::span<const uint8_t> packet)
{
    const std::span<const uint8_t> data = packet.subspan(rdm::kHeaderLength, packet[23]);
    if (pid == rdm::kPidDiscUniqueBranch) {
        ++branches;
        if (data.size() != 12)
            return {};
        const rdm::Uid lower = *rdm::Uid::fromBytes(data.first(6));
        const rdm::Uid upper = *rdm::Uid::fromBytes(data.subspan(6));
        Bytes line;
        for (RdmResponder& r : fixtures) {
            if ((r.muted && r.quirk != RdmQuirk::IgnoresMute) || r.uid < lower || r.uid > upper ||
                !hears(r))
                continue;
            const auto encoded = rdm::encodeDiscoveryReply(r.uid);
            Bytes own(encoded.begin(), encoded.end());
            if (r.quirk == RdmQuirk::ExtraBytes)
                own.insert(own.end(), kNoiseAfterAnswer.begin(), kNoiseAfterAnswer.end());
            if (r.quirk == RdmQuirk::ShortReply)
                own.resize(own.size() - kDiscoveryChecksumLength);
            // Answers on the wire at the same time OR together.
            line.resize(std::max(line.size(), own.size()));
            for (std::size_t i = 0; i < own.size(); ++i)
                line[i] |= own[i];
        }
        return line;
    }
    if (pid != rdm::kPidDiscMute && pid != rdm::kPidDiscUnMute)
        return {};
    const bool mute = pid == rdm::kPidDiscMute;
    if (destination.isBroadcast()) {
        for (RdmResponder& r : fixtures)
            if (hears(r))
                r.muted = mute;
        return {};
    }
    RdmResponder* r = find(destination);
    if (!r || !hears(*r))
        return {};
    r->muted = mute;
    Bytes answer = ack(packet, r->uid, {0x00, 0x00}); // control field
    if (r->quirk == RdmQuirk::LateMuteAnswer) {
        late.insert(late.end(), answer.begin(), answer.end());
        return {};
    }
    return answer;
}

Bytes RdmResponders::getOrSet(RdmResponder& r, std::span<const uint8_t> packet)
{
    const bool set = packet[20] == rdm::kSetCommand;
    const uint16_t pid = word(packet, 21);
    const std::span<const uint8_t> data = packet.subspan(rdm::kHeaderLength, packet[23]);
    if (packet[18] != 0 || packet[19] != 0)
        return nack(packet, r.uid, kNackSubDeviceOutOfRange);
    auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    switch (pid) {
    case rdm::kPidDeviceInfo: {
        if (set)
            return nack(packet, r.uid, rdm::kNackUnsupportedCommandClass);
        Bytes d;
        putWord(d, r.protocolVersion);
        putWord(d, r.modelId);
        putWord(d, r.productCategory);
        d.insert(d.end(), r.softwareVersion.begin(), r.softwareVersion.end());
        putWord(d, r.footprint());
        d.push_back(r.personality);
        d.push_back(static_cast<uint8_t>(r.footprints.size()));
        putWord(d, r.startAddress);
        putWord(d, 0); // sub-devices
        d.push_back(0); // sensors
        return ack(packet, r.uid, d);
    }
    case rdm::kPidManufacturerLabel:
        if (set)
            return nack(packet, r.uid, rdm::kNackUnsupportedCommandClass);
        return ack(packet, r.uid, text(r.manufacturerLabel));
    case rdm::kPidDeviceLabel:
        if (set) {
            if (data.size() > 32)
                return nack(packet, r.uid, rdm::kNackFormatError);
            r.deviceLabel.assign(data.begin(), data.end());
            return ack(packet, r.uid);
        }
        return ack(packet, r.uid, text(r.deviceLabel));
    case rdm::kPidDmxStartAddress: {
        if (!set) {
            Bytes d;
            putWord(d, r.startAddress);
            return ack(packet, r.uid, d);
        }
        if (data.size() != 2)
            return nack(packet, r.uid, rdm::kNackFormatError);
        if (r.startAddressLocked)
            return nack(packet, r.uid, rdm::kNackWriteProtect);
        const uint16_t address = word(data, 0);
        if (address < 1 || address > 512)
            return nack(packet, r.uid, rdm::kNackDataOutOfRange);
        r.startAddress = address;
        return ack(packet, r.uid);
    }
    case rdm::kPidDmxPersonality:
        if (!set)
            return ack(packet, r.uid, {r.personality, static_cast<uint8_t>(r.footprints.size())});
        if (data.size() != 1)
            return nack(packet, r.uid, rdm::kNackFormatError);
        if (data[0] < 1 || data[0] > r.footprints.size())
            return nack(packet, r.uid, rdm::kNackDataOutOfRange);
        r.personality = data[0];
        return ack(packet, r.uid);
    case rdm::kPidIdentifyDevice:
        if (!set)
            return ack(packet, r.uid, {r.identify});
        if (data.size() != 1)
            return nack(packet, r.uid, rdm::kNackFormatError);
        if (data[0] > 1)
            return nack(packet, r.uid, rdm::kNackDataOutOfRange);
        r.identify = data[0];
        return ack(packet, r.uid);
    default:
        return nack(packet, r.uid, rdm::kNackUnknownPid);
    }
}

} // namespace rz::sim
