#include "core/transfer/FirmwareUpgrade.h"

#include "core/app/Conversions.h"
#include "core/files/ByteImage.h"
#include "core/link/Commands.h"
#include "core/transfer/TransferMessages.h"
#include "core/transfer/TransferTexts.h"

#include <algorithm>

namespace rz::transfer {

namespace {

// The upgrade page starts each step on a new line.
void step(LogBox& box, std::u16string_view t)
{
    box.append(u"", true);
    box.append(std::u16string(t), false);
}

void mark(LogBox& box)
{
    box.append(std::u16string(text::kMarkSent), false);
}

constexpr std::u16string_view kToolProjectTail = u"02--PC代码_调试软件\\01--代码";
constexpr std::u16string_view kLoaderImageTail =
    u"01--Dmx512主芯片_GD32F103C8T6\\01--代码\\Obj\\STM32F103.bin";

} // namespace

bool isFirmwareImage(std::span<const uint8_t> image)
{
    if (image.size() < kIdentityTailGap)
        return false;
    // The last allowed start is length - 1000; the identity may run past it into the tail.
    const std::size_t lastStart = image.size() - kIdentityTailGap;
    const std::size_t searchEnd = std::min(image.size(), lastStart + kFirmwareIdentity.size());
    const auto end = image.begin() + static_cast<std::ptrdiff_t>(searchEnd);
    const auto found = std::search(image.begin(), end, kFirmwareIdentity.begin(),
                                   kFirmwareIdentity.end(),
                                   [](uint8_t b, char c) { return b == static_cast<uint8_t>(c); });
    return found != end;
}

std::optional<std::filesystem::path> developmentImagePath(std::u16string_view applicationFolder)
{
    if (applicationFolder.size() < kToolProjectTail.size())
        return std::nullopt;
    std::u16string text(applicationFolder.substr(0, applicationFolder.size() - kToolProjectTail.size()));
    for (char16_t c : kLoaderImageTail)
        text += c == u'\\' ? static_cast<char16_t>(std::filesystem::path::preferred_separator) : c;
    return std::filesystem::path(text);
}

FirmwareUpgrade::FirmwareUpgrade(link::Link& link) : link(link)
{
    link.setReceiver(link::Link::ReceiverSlot::FirmwareData,
                     [this](uint8_t command, std::span<const uint8_t> payload) {
                         onFrame(command, payload);
                     });
}

FirmwareUpgrade::~FirmwareUpgrade()
{
    link.setReceiver(link::Link::ReceiverSlot::FirmwareData, {});
}

void FirmwareUpgrade::onFrame(uint8_t command, std::span<const uint8_t> payload)
{
    if (command == link::cmd::kRestart &&
        std::ranges::equal(payload, kLoaderHandshakeReply))
        handshake = true;
}

bool FirmwareUpgrade::statusCheck() const
{
    return upgradeRunning && (!stillWanted || stillWanted());
}

bool FirmwareUpgrade::checkFile(const std::filesystem::path& path, LogBox& box)
{
    fileSize = fileLengthOrZero(path);
    if (fileSize < 1) {
        step(box, text::kUpgradeFileMissing);
        return false;
    }
    return true;
}

TransferResult FirmwareUpgrade::upgrade(const std::filesystem::path& path, LogBox& box)
{
    return run(path, box, true);
}

TransferResult FirmwareUpgrade::developmentUpgrade(const std::filesystem::path& path, LogBox& box)
{
    return run(path, box, false);
}

bool FirmwareUpgrade::cancelled(LogBox& box) const
{
    if (!cancelRequested || !cancelRequested())
        return false;
    step(box, text::kCancelled);
    return true;
}

TransferResult FirmwareUpgrade::run(const std::filesystem::path& path, LogBox& box, bool checkIdentity)
{
    if (upgradeRunning)
        return TransferResult::Busy;
    upgradeRunning = true;
    const TransferResult result = checkedRun(path, box, checkIdentity);
    upgradeRunning = false;
    return result;
}

TransferResult FirmwareUpgrade::checkedRun(const std::filesystem::path& path, LogBox& box,
                                           bool checkIdentity)
{
    if (!checkFile(path, box))
        return TransferResult::FileMissing;
    const auto image = files::loadImage(path);
    if (!image) { // vanished or unreadable since its length was taken
        step(box, text::kUpgradeFileMissing);
        return TransferResult::FileMissing;
    }
    if (checkIdentity && !isFirmwareImage(*image)) {
        step(box, text::kFileFormatError);
        return TransferResult::FileRefused;
    }
    if (image->size() > kMaxFirmwareImage) {
        step(box, text::kImageTooLarge);
        return TransferResult::FileRefused;
    }
    link.delayMs(kPauseBeforeHandshakeMs);
    const TransferResult handshakeResult = startHandshake(box);
    if (handshakeResult != TransferResult::Succeeded)
        return handshakeResult;
    return downloadData(*image, box);
}

TransferResult FirmwareUpgrade::startHandshake(LogBox& box)
{
    handshake = false;
    step(box, text::kHandshaking);
    bool stopped = false;
    for (int attempt = 0; attempt < kHandshakeAttempts && !handshake; ++attempt) {
        if (cancelled(box))
            return TransferResult::Cancelled;
        stopped = !statusCheck();
        if (stopped)
            break;
        link.send(link::cmd::kRestart, kLoaderHandshake);
        mark(box);
        link.delayMs(kHandshakePauseMs);
        if (link::Transport* t = link.transport())
            t->poll();
    }
    step(box, handshake ? text::kHandshakeSucceeded : text::kHandshakeFailed);
    if (handshake)
        return TransferResult::Succeeded;
    return stopped ? TransferResult::Cancelled : TransferResult::NoAnswer;
}

TransferResult FirmwareUpgrade::downloadData(std::span<const uint8_t> image, LogBox& box)
{
    step(box, text::kSendingInfo);
    step(box, std::u16string(text::kFileSizePrefix) + sizeInKText(image.size()));
    if (image.size() > kMaxFirmwareImage) {
        step(box, text::kImageTooLarge);
        return TransferResult::FileRefused;
    }
    const auto length = static_cast<uint16_t>(image.size());
    link.send(link::cmd::kFirmwareStart, firmwareStartPayload(length, checksum16(image)));
    if (!link.waitReply(link::cmd::kFirmwareStart, link::kFirmwareReplyTimeoutMs)) {
        step(box, text::kReceiveFailed);
        return TransferResult::NoAnswer;
    }
    step(box, text::kReceiveSucceeded);
    step(box, text::kSendingData);

    for (std::size_t offset = 0; offset < image.size(); offset += kBlockSize) {
        const std::size_t n = std::min(kBlockSize, image.size() - offset);
        link.send(link::cmd::kFirmwareData, firmwareBlockPayload(image.subspan(offset, n)));
        if (!link.waitReply(link::cmd::kFirmwareData, link::kFirmwareReplyTimeoutMs)) {
            step(box, text::kDataError);
            return TransferResult::NoAnswer;
        }
        mark(box);
        if (onProgress)
            onProgress(offset + n, image.size());
        if (cancelled(box) || !statusCheck())
            return TransferResult::Cancelled;
    }

    step(box, text::kSendingVerify);
    link.send(link::cmd::kFirmwareVerify, {});
    if (!link.waitReplyCode(link::cmd::kFirmwareVerify, link::kFirmwareReplyTimeoutMs,
                            link::kReplySuccess)) {
        step(box, text::kVerifyFailed);
        return TransferResult::Failed;
    }
    step(box, text::kVerifySucceeded);
    step(box, text::kDownloadSucceeded);
    return TransferResult::Succeeded;
}

} // namespace rz::transfer
