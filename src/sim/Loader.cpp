#include "sim/Loader.h"

#include "core/link/Commands.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "core/transfer/TransferMessages.h"
#include "sim/FileStore.h"

#include <algorithm>

namespace rz::sim {

using namespace rz::transfer;
namespace cmd = rz::link::cmd;

Loader::Loader(Clock& clock)
    : clock(clock), handshakeReply(kLoaderHandshakeReply.begin(), kLoaderHandshakeReply.end())
{
}

void Loader::reset()
{
    restarted = true;
    restartMs = clock.nowMs();
    handshaken = false;
    imageStarted = false;
    image.clear();
}

bool Loader::listening()
{
    if (handshaken)
        return true;
    return restarted && clock.nowMs() - restartMs <= kLoaderListenMs;
}

void Loader::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    switch (frame.command) {
    case cmd::kRestart: handshake(frame, context); break;
    case cmd::kFirmwareStart: imageStart(frame, context); break;
    case cmd::kFirmwareData: imageBlock(frame, context); break;
    case cmd::kFirmwareVerify: imageVerify(context); break;
    default: break;
    }
}

void Loader::handshake(const ReceivedFrame& frame, FamilyContext& context)
{
    if (!std::ranges::equal(frame.payload, kLoaderHandshake) || !listening())
        return;
    handshaken = true;
    ++answered;
    context.reply(cmd::kRestart, handshakeReply);
}

void Loader::imageStart(const ReceivedFrame& frame, FamilyContext& context)
{
    const auto s = parseFirmwareStart(frame.payload);
    if (!handshaken || !s)
        return;
    imageStarted = true;
    expectedLength = s->length;
    expectedChecksum = s->checksum;
    image.clear();
    context.reply(cmd::kFirmwareStart, {});
}

void Loader::imageBlock(const ReceivedFrame& frame, FamilyContext& context)
{
    const auto bytes = parseFirmwareBlock(frame.payload);
    if (!imageStarted || !bytes || bytes->size() > expectedLength - image.size())
        return;
    image.insert(image.end(), bytes->begin(), bytes->end());
    context.reply(cmd::kFirmwareData, {});
}

void Loader::imageVerify(FamilyContext& context)
{
    if (!handshaken)
        return;
    const bool ok = imageStarted && image.size() == expectedLength &&
                    checksum16(image) == expectedChecksum;
    context.reply(cmd::kFirmwareVerify, std::vector<uint8_t>{ok ? kVerifiedCode : kVerifyFailedCode});
    imageStarted = false;
    if (ok) {
        installed = std::move(image);
        ++upgradeCount;
        handshaken = false; // the new program runs; the loader is quiet until the next restart
        restarted = false;
    }
    image.clear();
}

} // namespace rz::sim
