#include "core/transfer/FileTransfer.h"

#include "core/files/ByteImage.h"
#include "core/link/Commands.h"
#include "core/transfer/TransferMessages.h"
#include "core/transfer/TransferTexts.h"

#include <algorithm>

namespace rz::transfer {

namespace {

void line(LogBox& box, std::u16string_view t)
{
    box.append(std::u16string(t), true);
}

void mark(LogBox& box, std::u16string_view t)
{
    box.append(std::u16string(t), false);
}

} // namespace

FileTransfer::FileTransfer(link::Link& link, std::function<bool()> isConnected)
    : link(link), isConnected(std::move(isConnected))
{
    link.setReceiver(link::Link::ReceiverSlot::FileTransfer,
                     [this](uint8_t command, std::span<const uint8_t> payload) {
                         onFrame(command, payload);
                     });
}

FileTransfer::~FileTransfer()
{
    link.setReceiver(link::Link::ReceiverSlot::FileTransfer, {});
}

bool FileTransfer::checkConnected(LogBox& box)
{
    if (isConnected && isConnected())
        return true;
    line(box, text::kNotConnected);
    return false;
}

void FileTransfer::onFrame(uint8_t command, std::span<const uint8_t> payload)
{
    switch (command) {
    case link::cmd::kFileUploadInfo: uploadInfoReply.assign(payload.begin(), payload.end()); break;
    case link::cmd::kFileUploadData: uploadDataReply.assign(payload.begin(), payload.end()); break;
    case link::cmd::kFileBlock: ++blockRepliesHeard; break;
    case link::cmd::kFileStatus:
        ++blockRepliesHeard;
        statusReply.assign(payload.begin(), payload.end());
        break;
    case link::cmd::kFileVerify: verifyReply.assign(payload.begin(), payload.end()); break;
    default: break;
    }
}

bool FileTransfer::stopHere(LogBox& box)
{
    if (cancelRequested && cancelRequested()) {
        line(box, text::kCancelled);
        return true;
    }
    return programClosing && programClosing();
}

void FileTransfer::progress(uint64_t done, uint64_t total)
{
    if (onProgress)
        onProgress(done, total);
}

FileTransfer::Asked FileTransfer::ask(uint8_t command, std::span<const uint8_t> payload, LogBox& box)
{
    Asked asked;
    for (;;) {
        link.send(command, payload);
        ++asked.sent;
        if (link.waitReply(command, link::kTransferReplyTimeoutMs)) {
            asked.outcome = Asked::Answered;
            return asked;
        }
        if (asked.sent >= kReplyAttempts)
            return asked;
        if (stopHere(box)) {
            asked.outcome = Asked::Stopped;
            return asked;
        }
    }
}

TransferResult FileTransfer::downloadFile(uint8_t kind, const std::filesystem::path& path, LogBox& box,
                                          std::optional<uint8_t> switchToScene)
{
    if (!checkConnected(box))
        return TransferResult::NotConnected;
    line(box, std::u16string(text::kFilePrefix) + path.u16string());
    line(box, text::kReadingFile);

    // A file too large for the 32-bit length cannot be loaded either; it reads as missing.
    const auto file = files::loadImage(path);
    if (!file) {
        line(box, text::kFileMissing);
        return TransferResult::FileMissing;
    }
    const std::vector<uint8_t>& bytes = *file;
    const auto length = static_cast<uint32_t>(bytes.size());
    line(box, std::u16string(text::kFileSizePrefix) + sizeInKText(length));

    // Before any block a second start is the same as the first.
    const Asked start = ask(link::cmd::kFileStart, downloadStartPayload(length, checksum16(bytes), kind), box);
    if (start.outcome == Asked::Stopped)
        return TransferResult::Cancelled;
    if (start.outcome == Asked::Unanswered) {
        line(box, text::kHandshakeFailed);
        return TransferResult::NoAnswer;
    }
    line(box, text::kHandshakeSucceeded);
    progress(0, length);

    int silentBlocks = 0;
    for (uint32_t offset = 0; offset < length; offset += kBlockSize) {
        if (stopHere(box))
            return TransferResult::Cancelled;
        const uint32_t width = std::min<uint32_t>(kBlockSize, length - offset);
        const std::span<const uint8_t> block(bytes.data() + offset, width);
        const uint64_t heardBefore = blockRepliesHeard;
        switch (sendBlock(block, offset + width, box)) {
        case BlockOutcome::Delivered: break;
        case BlockOutcome::Failed: return TransferResult::Failed;
        case BlockOutcome::Stopped: return TransferResult::Cancelled;
        }
        // Late replies count too: only a controller that is gone stays silent this long.
        silentBlocks = blockRepliesHeard == heardBefore ? silentBlocks + 1 : 0;
        if (silentBlocks >= kMaxSilentBlocks) {
            line(box, text::kHandshakeFailed);
            return TransferResult::NoAnswer;
        }
        progress(offset + width, length);
    }
    if (stopHere(box))
        return TransferResult::Cancelled;

    line(box, u"");
    line(box, text::kVerifying);
    // Asked again, the controller checks the file it holds once more.
    const Asked verify = ask(link::cmd::kFileVerify, verifyPayload(kind, switchToScene), box);
    if (verify.outcome == Asked::Stopped)
        return TransferResult::Cancelled;
    if (verify.outcome == Asked::Unanswered || verifyReply.empty() ||
        verifyReply[0] != link::kReplySuccess) {
        line(box, text::kVerifyFailed);
        return verify.outcome == Asked::Unanswered ? TransferResult::NoAnswer : TransferResult::Failed;
    }
    line(box, text::kVerifySucceeded);
    line(box, text::kDownloadSucceeded);
    return TransferResult::Succeeded;
}

FileTransfer::BlockOutcome FileTransfer::sendBlock(std::span<const uint8_t> block,
                                                   uint32_t heldAfter, LogBox& box)
{
    const std::vector<uint8_t> payload = downloadBlockPayload(block);
    int resends = 0;
    for (;;) {
        link.send(link::cmd::kFileBlock, payload);
        if (link.waitReply(link::cmd::kFileBlock, link::kTransferStatusTimeoutMs)) {
            mark(box, text::kMarkSent);
            return BlockOutcome::Delivered;
        }
        if (++resends > kMaxBlockResends) {
            line(box, text::kHandshakeFailed);
            return BlockOutcome::Failed;
        }
        const StatusAnswer status = queryStatus(heldAfter, box);
        if (status.stopped)
            return BlockOutcome::Stopped;
        if (!status.answered)
            return BlockOutcome::Delivered; // nobody answers: go on, the verification decides
        if (status.blockArrived) {
            mark(box, text::kMarkSent); // only the acknowledgement was lost
            return BlockOutcome::Delivered;
        }
        mark(box, text::kMarkRetry);
        if (stopHere(box))
            return BlockOutcome::Stopped;
    }
}

FileTransfer::StatusAnswer FileTransfer::queryStatus(uint32_t heldAfter, LogBox& box)
{
    for (int q = 0; q < kStatusQueries; ++q) {
        if (stopHere(box))
            return {.stopped = true};
        link.send(link::cmd::kFileStatus, {});
        if (!link.waitReply(link::cmd::kFileStatus, link::kTransferStatusTimeoutMs))
            continue;
        const auto status = parseStatusReply(statusReply);
        const bool arrived = status && status->status == kReceivingStatus &&
                             status->bytesHeld == heldAfter;
        return {true, arrived};
    }
    return {};
}

TransferResult FileTransfer::uploadFile(uint8_t kind, const std::filesystem::path& path, LogBox& box)
{
    if (!checkConnected(box))
        return TransferResult::NotConnected;
    const auto fail = [&box](std::u16string_view why, TransferResult result) {
        if (!why.empty())
            line(box, why);
        line(box, text::kUploadFailed);
        return result;
    };
    line(box, text::kPreparingUpload);
    line(box, text::kReadingInfo);

    const std::vector<uint8_t> infoRequest{kind};
    const Asked asked = ask(link::cmd::kFileUploadInfo, infoRequest, box);
    if (asked.outcome == Asked::Stopped)
        return fail({}, TransferResult::Cancelled);
    if (asked.outcome == Asked::Unanswered)
        return fail(text::kReadFailed, TransferResult::NoAnswer);
    const auto info = parseUploadInfo(uploadInfoReply);
    // An empty file is no file: writing it would only wipe the target.
    if (!info || info->kind != kind || info->presence != 1 || info->length == 0)
        return fail(text::kDataMissing, TransferResult::Failed);
    line(box, std::u16string(text::kFileSizePrefix) + sizeInKText(info->length));
    if (info->length > kMaxUploadLength)
        return fail(text::kDataError, TransferResult::Failed);

    std::vector<uint8_t> file;
    progress(0, info->length);
    for (uint32_t offset = 0; offset < info->length; offset += kBlockSize) {
        if (stopHere(box))
            return fail({}, TransferResult::Cancelled);
        const auto n = static_cast<uint16_t>(std::min<uint32_t>(kBlockSize, info->length - offset));
        const Asked block = ask(link::cmd::kFileUploadData, uploadBlockRequest(info->baseAddress + offset, n), box);
        if (block.outcome == Asked::Stopped)
            return fail({}, TransferResult::Cancelled);
        if (block.outcome == Asked::Unanswered)
            return fail(text::kHandshakeFailed, TransferResult::NoAnswer);
        if (uploadDataReply.size() != n)
            return fail(text::kDataError, TransferResult::Failed);
        mark(box, text::kMarkReceived);
        file.insert(file.end(), uploadDataReply.begin(), uploadDataReply.end());
        progress(offset + n, info->length);
        if (block.sent == 1)
            continue;
        // The answer taken may have been the one to an earlier request of this block, and
        // a late answer to a later one may still come while the next block is awaited, with
        // the same length but this block's bytes. The controller answers in order, so once
        // it has answered one more information request nothing of this block is on its way.
        const Asked fence = ask(link::cmd::kFileUploadInfo, infoRequest, box);
        if (fence.outcome == Asked::Stopped)
            return fail({}, TransferResult::Cancelled);
        if (fence.outcome == Asked::Unanswered)
            return fail(text::kHandshakeFailed, TransferResult::NoAnswer);
    }
    if (stopHere(box))
        return fail({}, TransferResult::Cancelled);

    line(box, u"");
    line(box, text::kUploadFinished);
    if (!files::saveImage(path, file))
        return fail(text::kFileWriteFailed, TransferResult::NotWritten);
    line(box, text::kUploadSucceeded);
    line(box, text::kUploadBlankLine);
    line(box, std::u16string(text::kUploadFilePrefix) + path.u16string());
    return TransferResult::Succeeded;
}

} // namespace rz::transfer
