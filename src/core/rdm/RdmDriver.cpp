#include "core/rdm/RdmDriver.h"

#include "core/link/Commands.h"
#include "core/rdm/NumberText.h"
#include "core/rdm/RdmTexts.h"

namespace rz::rdm {

namespace {

namespace cmd = link::cmd;

// Whole hexadecimal bytes of a text normalised like a UID text.
std::optional<std::vector<uint8_t>> hexBytes(std::u16string_view text)
{
    return bytesFromHex(normalizeUidText(text));
}

std::optional<uint16_t> hexWord(std::u16string_view text)
{
    const auto bytes = hexBytes(text);
    if (!bytes || bytes->size() != 2)
        return std::nullopt;
    return static_cast<uint16_t>((*bytes)[0] << 8 | (*bytes)[1]);
}

} // namespace

RdmDriver::RdmDriver(link::Link& link, Clock& clock, RdmView& view)
    : link(link), clock(clock), view(view), search(*this, view)
{
    link.setReceiver(link::Link::ReceiverSlot::Rdm,
                     [this](uint8_t command, std::span<const uint8_t> payload) {
                         rdmReceive(command, payload);
                     });
}

RdmDriver::~RdmDriver()
{
    link.setReceiver(link::Link::ReceiverSlot::Rdm, {});
}

link::SendStatus RdmDriver::sendRdmPacket(const RdmRequest& request)
{
    reply.clear();
    hasData = false;
    arrived = false;
    parsed.reset();
    const std::vector<uint8_t> packet = buildRdmPacket(request, transaction.take());
    if (packet.empty())
        return link::SendStatus::payloadTooLong;
    std::vector<uint8_t> payload{cmd::rdm::kRequest, request.mode};
    payload.insert(payload.end(), packet.begin(), packet.end());
    sentText = spacedHexText(std::span(payload).subspan(1));
    return link.send(cmd::kRdm, payload);
}

bool RdmDriver::waitRdmReply(uint32_t ms)
{
    // The link's wait ends at any A0 frame; only an A1 reply ends this one.
    const uint32_t start = clock.nowMs();
    for (;;) {
        if (arrived)
            return true;
        const uint32_t elapsed = clock.nowMs() - start;
        if (elapsed > ms)
            return false;
        link.waitReply(cmd::kRdm, ms - elapsed);
    }
}

void RdmDriver::rdmReceive(uint8_t command, std::span<const uint8_t> payload)
{
    if (command != cmd::kRdm || payload.empty())
        return;
    if (payload[0] == cmd::rdm::kReply) {
        reply.assign(payload.begin() + 1, payload.end());
        const std::u16string line = u"L=" + decimalText(reply.size()) + u" " +
                                    spacedHexText(reply);
        if (capture)
            captured = line;
        else
            view.appendDetail(line + std::u16string(text::kLineEnd));
        hasData = !reply.empty();
        arrived = true;
    }
    if (!supportedNoted) {
        supportedNoted = true;
        view.appendLog(std::u16string(text::kRdmSupported));
    }
}

void RdmDriver::rdmDiscUniqueBranch(Uid lower, Uid upper)
{
    sendRdmPacket(request::discUniqueBranch(lower, upper));
}

bool RdmDriver::rdmDiscMute(std::u16string_view uidText)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return false;
    rdmDiscMute(*uid);
    return true;
}

void RdmDriver::rdmDiscMute(Uid uid)
{
    sendRdmPacket(request::discMute(uid));
}

void RdmDriver::rdmDiscUnMuteAll()
{
    sendRdmPacket(request::discUnMuteAll());
}

bool RdmDriver::rdmIdentify(std::u16string_view uidText, uint8_t value)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return false;
    sendRdmPacket(request::identify(*uid, value));
    return true;
}

RdmResult RdmDriver::exchange(const RdmRequest& request)
{
    RdmResult result;
    sendRdmPacket(request);
    if (!waitRdmReply(kReplyWaitMs)) {
        result.status = RdmStatus::NoReply;
        return result;
    }
    ReplyParse p = parseRdmReply(reply);
    if (p.status != ReplyStatus::Ok) {
        result.status = RdmStatus::InvalidReply;
        result.replyStatus = p.status;
        return result;
    }
    parsed = std::move(p.reply);
    const RdmReply& r = *parsed;
    if (r.pid != request.pid || r.commandClass != request.replyClass || r.subDeviceLow != 0) {
        result.status = RdmStatus::UnexpectedReply;
        return result;
    }
    // A NACK carries the same class and PID; taking it for success would report a refused
    // change as done.
    if (r.responseType == kResponseNack) {
        result.status = RdmStatus::Nack;
        result.nackReason = r.nackReason();
        std::u16string line = std::u16string(text::kNackPid) + r.pidText() +
                              std::u16string(text::kNackReason);
        if (result.nackReason) {
            line += hexDigits(*result.nackReason, 4);
            const std::u16string name = nackReasonName(*result.nackReason);
            if (!name.empty())
                line += u" " + name;
        }
        view.appendLog(line + std::u16string(text::kLineEnd));
        return result;
    }
    if (r.responseType != kResponseAck) {
        result.status = RdmStatus::NotAcknowledged;
        view.appendLog(std::u16string(text::kResponseTypePrefix) +
                       spacedHexText(std::span(&r.responseType, 1)) + std::u16string(text::kLineEnd));
        return result;
    }
    if (request.replyLength && r.data.size() != *request.replyLength) {
        result.status = RdmStatus::UnexpectedReply;
        return result;
    }
    return result;
}

RdmResult RdmDriver::rdmReadDeviceInfo(std::u16string_view uidText)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return RdmResult::failure(RdmStatus::InvalidUid);
    RdmResult result = exchange(request::readDeviceInfo(*uid));
    if (result.ok()) {
        info = *deviceInfoFromData(parsed->data);
        summary = info.summary();
    }
    return result;
}

RdmResult RdmDriver::rdmSetStartAddress(std::u16string_view uidText, uint16_t address)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return RdmResult::failure(RdmStatus::InvalidUid);
    return exchange(request::setStartAddress(*uid, address));
}

RdmResult RdmDriver::rdmSetPersonality(std::u16string_view uidText, uint8_t personality)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return RdmResult::failure(RdmStatus::InvalidUid);
    return exchange(request::setPersonality(*uid, personality));
}

RdmResult RdmDriver::rdmIdentifyConfirmed(std::u16string_view uidText, uint8_t value)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return RdmResult::failure(RdmStatus::InvalidUid);
    return exchange(request::identifyConfirmed(*uid, value));
}

RdmResult RdmDriver::rdmReadManufacturerLabel(std::u16string_view uidText)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return RdmResult::failure(RdmStatus::InvalidUid);
    RdmResult result = exchange(request::readManufacturerLabel(*uid));
    if (result.ok())
        manufacturer = labelFromBytes(parsed->data);
    return result;
}

RdmResult RdmDriver::rdmReadDeviceLabel(std::u16string_view uidText)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return RdmResult::failure(RdmStatus::InvalidUid);
    RdmResult result = exchange(request::readDeviceLabel(*uid));
    if (result.ok())
        device = labelFromBytes(parsed->data);
    return result;
}

RdmResult RdmDriver::rdmSendTestCommand(std::u16string_view uidText, std::u16string_view classText,
                                        std::u16string_view pidText, std::u16string_view dataText,
                                        LogBox& log)
{
    const auto uid = Uid::fromText(uidText);
    if (!uid)
        return RdmResult::failure(RdmStatus::InvalidUid);
    const auto classWord = hexWord(classText);
    const auto pid = hexWord(pidText);
    if (!classWord || !pid) {
        log.append(std::u16string(text::kCommandFormatError), true);
        return RdmResult::failure(RdmStatus::BadCommandText);
    }
    const auto data = hexBytes(dataText);
    if (!data || data->size() > kMaxParameterData) {
        log.append(std::u16string(text::kDataFormatError), true);
        return RdmResult::failure(RdmStatus::BadCommandText);
    }
    RdmRequest request;
    request.destination = *uid;
    request.subDeviceLow = static_cast<uint8_t>(*classWord >> 8);
    request.commandClass = static_cast<uint8_t>(*classWord);
    request.pid = *pid;
    request.data = *data;
    request.mode = kModeRequest;

    // Only this command's answer is shown, never one captured by an earlier command.
    captured.clear();
    capture = true;
    sendRdmPacket(request);
    log.append(std::u16string(text::kSentPrefix) + sentText, true);
    RdmResult result;
    if (!waitRdmReply(kReplyWaitMs)) {
        result.status = RdmStatus::NoReply;
    } else {
        ReplyParse p = parseRdmReply(reply);
        if (p.status == ReplyStatus::Ok) {
            parsed = std::move(p.reply);
            log.append(std::u16string(text::kReceivedPrefix) + parsed->parsedText, true);
        } else {
            result.status = RdmStatus::InvalidReply;
            result.replyStatus = p.status;
        }
    }
    log.append(captured, true);
    capture = false;
    return result;
}

void RdmDriver::sendRdmControl(uint8_t p)
{
    const std::vector<uint8_t> payload{cmd::rdm::kControl, p, 0, 0, 0, 0, 0, 0, 0, 0};
    link.send(cmd::kRdm, payload);
}

void RdmDriver::unMuteAll()
{
    for (int i = 0; i < 2; ++i) {
        rdmDiscUnMuteAll();
        link.delayMs(kMutePauseMs);
    }
}

void RdmDriver::mute(Uid uid)
{
    // Twice, as one request may be lost on the line.
    for (int i = 0; i < 2; ++i) {
        rdmDiscMute(uid);
        link.delayMs(kMutePauseMs);
    }
}

std::optional<std::vector<uint8_t>> RdmDriver::branch(Uid lower, Uid upper)
{
    rdmDiscUniqueBranch(lower, upper);
    if (!waitRdmReply(kReplyWaitMs))
        return std::nullopt;
    return reply;
}

void RdmDriver::rdmPeriodicStep()
{
    if (pageIdle >= 1 && requestLiveFrames)
        requestLiveFrames();
}

} // namespace rz::rdm
