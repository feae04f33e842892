#include "sim/FileStore.h"

#include "core/link/Commands.h"
#include "core/transfer/TransferMessages.h"

#include <algorithm>

namespace rz::sim {

using namespace rz::transfer;
namespace cmd = rz::link::cmd;

void FileStore::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    switch (frame.command) {
    case cmd::kFileStart: start(frame, context); break;
    case cmd::kFileBlock: block(frame, context); break;
    case cmd::kFileStatus:
        context.reply(cmd::kFileStatus,
                      statusReplyPayload({isReceiving ? kReceivingStatus : kIdleStatus, bytesHeld()}));
        break;
    case cmd::kFileVerify: verify(frame, context); break;
    case cmd::kFileUploadInfo: uploadInfo(frame, context); break;
    case cmd::kFileUploadData: uploadBlock(frame, context); break;
    default: break;
    }
}

void FileStore::reset()
{
    isReceiving = false;
    incoming.clear();
    lastVerification.reset();
}

void FileStore::preload(uint8_t kind, std::vector<uint8_t> bytes)
{
    stored[kind] = std::move(bytes);
}

const std::vector<uint8_t>* FileStore::file(uint8_t kind) const
{
    auto it = stored.find(kind);
    return it == stored.end() ? nullptr : &it->second;
}

void FileStore::start(const ReceivedFrame& frame, FamilyContext& context)
{
    const auto s = parseDownloadStart(frame.payload);
    if (!s)
        return;
    isReceiving = true;
    lastVerification.reset();
    incomingKind = s->kind;
    expectedLength = s->length;
    expectedChecksum = s->checksum;
    incoming.clear();
    context.reply(cmd::kFileStart, {});
}

void FileStore::block(const ReceivedFrame& frame, FamilyContext& context)
{
    if (blocksToLose > 0) {
        --blocksToLose;
        return;
    }
    if (!isReceiving)
        return;
    const auto b = parseDownloadBlock(frame.payload);
    // A broken block or one beyond the announced length is not kept; without an answer the
    // PC asks for the status and sends it again.
    if (!b || b->bytes.size() > expectedLength - incoming.size())
        return;
    incoming.insert(incoming.end(), b->bytes.begin(), b->bytes.end());
    context.reply(cmd::kFileBlock, {});
}

void FileStore::verify(const ReceivedFrame& frame, FamilyContext& context)
{
    // Asked again (its answer was lost), the verification checks the same file again and
    // gives the same answer; the scene switch is repeated, which changes nothing.
    const bool ok = isReceiving ? incoming.size() == expectedLength &&
                                      checksum16(incoming) == expectedChecksum
                                : lastVerification == kVerifiedCode;
    if (ok && isReceiving) {
        stored[incomingKind] = incoming;
        ++verified;
    }
    if (ok && frame.payload.size() >= 2 && frame.payload[0] == kSceneSwitchRequest)
        scene = frame.payload[1];
    isReceiving = false;
    incoming.clear();
    const uint8_t code = ok ? kVerifiedCode : kVerifyFailedCode;
    lastVerification = code;
    context.reply(cmd::kFileVerify, std::vector<uint8_t>{code});
}

void FileStore::uploadInfo(const ReceivedFrame& frame, FamilyContext& context)
{
    if (frame.payload.empty())
        return;
    const uint8_t kind = frame.payload[0];
    UploadInfo info{kind, 0, baseAddress(kind), 0};
    if (const auto* f = file(kind)) {
        info.presence = 1;
        info.length = static_cast<uint32_t>(f->size());
    }
    context.reply(cmd::kFileUploadInfo, uploadInfoPayload(info));
}

void FileStore::uploadBlock(const ReceivedFrame& frame, FamilyContext& context)
{
    const auto request = parseUploadBlockRequest(frame.payload);
    if (!request)
        return;
    // The address names the kind: each file lives at its own base.
    const uint8_t kind = static_cast<uint8_t>(request->address / kFileBaseAddressStep);
    const uint32_t offset = request->address % kFileBaseAddressStep;
    const auto* f = file(kind);
    std::vector<uint8_t> bytes;
    if (f && offset < f->size()) {
        const std::size_t n = std::min<std::size_t>(request->length, f->size() - offset);
        bytes.assign(f->begin() + offset, f->begin() + offset + n);
    }
    context.reply(cmd::kFileUploadData, bytes);
}

} // namespace rz::sim
