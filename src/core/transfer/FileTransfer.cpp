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
    case link::cmd::kFileStatus: statusReply.assign(payload.begin(), payload.end()); break;
    default: break;
    }
}

bool FileTransfer::closing() const
{
    return programClosing && programClosing();
}

void FileTransfer::progress(uint64_t done, uint64_t total)
{
    if (onProgress)
        onProgress(done, total);
}

void FileTransfer::downloadFile(uint8_t kind, const std::filesystem::path& path, LogBox& box,
                                std::optional<uint8_t> switchToScene)
{
    succeeded = 0;
    line(box, std::u16string(text::kFilePrefix) + path.u16string());
    line(box, text::kReadingFile);

    // A file too large for the 32-bit length cannot be loaded either; it reads as missing.
    const auto file = files::loadImage(path);
    if (!file) {
        line(box, text::kFileMissing);
        return;
    }
    const std::vector<uint8_t>& bytes = *file;
    const auto length = static_cast<uint32_t>(bytes.size());
    line(box, std::u16string(text::kFileSizePrefix) + sizeInKText(length));

    link.send(link::cmd::kFileStart, downloadStartPayload(length, checksum16(bytes), kind));
    if (!link.waitReply(link::cmd::kFileStart, link::kTransferReplyTimeoutMs)) {
        line(box, text::kHandshakeFailed);
        return;
    }
    line(box, text::kHandshakeSucceeded);
    progress(0, length);

    for (uint32_t offset = 0; offset < length; offset += kBlockSize) {
        const uint32_t width = std::min<uint32_t>(kBlockSize, length - offset);
        const std::span<const uint8_t> block(bytes.data() + offset, width);
        if (sendBlock(block, offset + width, box) == BlockOutcome::Failed)
            return;
        progress(offset + width, length);
        if (closing())
            return;
    }

    line(box, u"");
    line(box, text::kVerifying);
    link.send(link::cmd::kFileVerify, verifyPayload(kind, switchToScene));
    if (link.waitReplyCode(link::cmd::kFileVerify, link::kTransferReplyTimeoutMs,
                           link::kReplySuccess)) {
        line(box, text::kVerifySucceeded);
        line(box, text::kDownloadSucceeded);
        succeeded = 1;
    } else {
        line(box, text::kVerifyFailed);
    }
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
        const StatusAnswer status = queryStatus(heldAfter);
        if (!status.answered)
            return BlockOutcome::Delivered; // nobody answers: go on, the verification decides
        if (status.blockArrived) {
            mark(box, text::kMarkSent); // only the acknowledgement was lost
            return BlockOutcome::Delivered;
        }
        mark(box, text::kMarkRetry);
    }
}

FileTransfer::StatusAnswer FileTransfer::queryStatus(uint32_t heldAfter)
{
    for (int q = 0; q < kStatusQueries; ++q) {
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

bool FileTransfer::uploadFile(uint8_t kind, const std::filesystem::path& path, LogBox& box)
{
    line(box, text::kPreparingUpload);
    line(box, text::kReadingInfo);

    link.send(link::cmd::kFileUploadInfo, std::vector<uint8_t>{kind});
    if (!link.waitReply(link::cmd::kFileUploadInfo, link::kTransferReplyTimeoutMs)) {
        line(box, text::kReadFailed);
        line(box, text::kUploadFailed);
        return false;
    }
    const auto info = parseUploadInfo(uploadInfoReply);
    // An empty file is no file: writing it would only wipe the target.
    if (!info || info->kind != kind || info->presence != 1 || info->length == 0) {
        line(box, text::kDataMissing);
        line(box, text::kUploadFailed);
        return false;
    }
    line(box, std::u16string(text::kFileSizePrefix) + sizeInKText(info->length));
    if (info->length > kMaxUploadLength) {
        line(box, text::kDataError);
        line(box, text::kUploadFailed);
        return false;
    }

    std::vector<uint8_t> file;
    progress(0, info->length);
    for (uint32_t offset = 0; offset < info->length; offset += kBlockSize) {
        const auto n = static_cast<uint16_t>(std::min<uint32_t>(kBlockSize, info->length - offset));
        link.send(link::cmd::kFileUploadData, uploadBlockRequest(info->baseAddress + offset, n));
        if (!link.waitReply(link::cmd::kFileUploadData, link::kTransferReplyTimeoutMs)) {
            line(box, text::kHandshakeFailed);
            line(box, text::kUploadFailed);
            return false;
        }
        if (uploadDataReply.size() != n) {
            line(box, text::kDataError);
            line(box, text::kUploadFailed);
            return false;
        }
        mark(box, text::kMarkReceived);
        file.insert(file.end(), uploadDataReply.begin(), uploadDataReply.end());
        progress(offset + n, info->length);
        if (closing()) {
            line(box, text::kUploadFailed);
            return false;
        }
    }

    line(box, u"");
    line(box, text::kUploadFinished);
    if (!files::saveImage(path, file)) {
        line(box, text::kFileWriteFailed);
        line(box, text::kUploadFailed);
        return false;
    }
    line(box, text::kUploadSucceeded);
    line(box, text::kUploadBlankLine);
    line(box, std::u16string(text::kUploadFilePrefix) + path.u16string());
    return true;
}

} // namespace rz::transfer
