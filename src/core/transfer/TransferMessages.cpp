#include "core/transfer/TransferMessages.h"

#include "core/app/Conversions.h"

namespace rz::transfer {

namespace {

void putWord(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void putLong(std::vector<uint8_t>& out, uint32_t v)
{
    putWord(out, v >> 16);
    putWord(out, v);
}

uint16_t wordAt(std::span<const uint8_t> p, std::size_t at)
{
    return static_cast<uint16_t>(p[at] << 8 | p[at + 1]);
}

uint32_t longAt(std::span<const uint8_t> p, std::size_t at)
{
    return static_cast<uint32_t>(wordAt(p, at)) << 16 | wordAt(p, at + 2);
}

} // namespace

uint16_t checksum16(std::span<const uint8_t> bytes)
{
    uint32_t sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    return static_cast<uint16_t>(sum);
}

std::u16string sizeInKText(uint64_t bytes)
{
    const uint64_t tenths = (bytes * 10 + 512) / 1024;
    const std::string digits = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "K";
    return std::u16string(digits.begin(), digits.end());
}

std::vector<uint8_t> downloadStartPayload(uint32_t length, uint16_t checksum, uint8_t kind)
{
    std::vector<uint8_t> p;
    putLong(p, length);
    putWord(p, checksum);
    p.push_back(kind);
    return p;
}

std::vector<uint8_t> downloadBlockPayload(std::span<const uint8_t> block)
{
    const std::vector<uint8_t> packed = encodeZeroRuns(block);
    std::vector<uint8_t> p;
    p.reserve(4 + packed.size());
    putWord(p, static_cast<uint32_t>(block.size()));
    putWord(p, static_cast<uint32_t>(packed.size()));
    p.insert(p.end(), packed.begin(), packed.end());
    return p;
}

std::vector<uint8_t> verifyPayload(uint8_t kind, std::optional<uint8_t> switchToScene)
{
    std::vector<uint8_t> p(kVerifyPayloadSize, 0);
    if (kind == static_cast<uint8_t>(FileKind::Show) && switchToScene) {
        p[0] = kSceneSwitchRequest;
        p[1] = *switchToScene;
    }
    return p;
}

std::vector<uint8_t> uploadBlockRequest(uint32_t address, uint16_t length)
{
    std::vector<uint8_t> p;
    putLong(p, address);
    putWord(p, length);
    return p;
}

std::optional<DownloadBlock> parseDownloadBlock(std::span<const uint8_t> payload)
{
    if (payload.size() < 4)
        return std::nullopt;
    const uint16_t raw = wordAt(payload, 0);
    const uint16_t encodedLength = wordAt(payload, 2);
    if (payload.size() - 4 != encodedLength)
        return std::nullopt;
    auto decoded = decodeZeroRuns(payload.subspan(4));
    if (!decoded || decoded->size() != raw)
        return std::nullopt;
    return DownloadBlock{raw, std::move(*decoded)};
}

std::optional<DownloadStart> parseDownloadStart(std::span<const uint8_t> payload)
{
    if (payload.size() < 7)
        return std::nullopt;
    return DownloadStart{longAt(payload, 0), wordAt(payload, 4), payload[6]};
}

std::vector<uint8_t> statusReplyPayload(const TransferStatus& s)
{
    std::vector<uint8_t> p{s.status};
    putLong(p, s.bytesHeld);
    return p;
}

std::optional<TransferStatus> parseStatusReply(std::span<const uint8_t> payload)
{
    if (payload.size() < kStatusReplySize)
        return std::nullopt;
    return TransferStatus{payload[0], longAt(payload, 1)};
}

std::vector<uint8_t> uploadInfoPayload(const UploadInfo& info)
{
    std::vector<uint8_t> p{info.kind, info.presence};
    putLong(p, info.baseAddress);
    putLong(p, info.length);
    return p;
}

std::optional<UploadInfo> parseUploadInfo(std::span<const uint8_t> payload)
{
    if (payload.size() < kUploadInfoSize)
        return std::nullopt;
    return UploadInfo{payload[0], payload[1], longAt(payload, 2), longAt(payload, 6)};
}

std::optional<UploadBlockRequest> parseUploadBlockRequest(std::span<const uint8_t> payload)
{
    if (payload.size() < 6)
        return std::nullopt;
    return UploadBlockRequest{longAt(payload, 0), wordAt(payload, 4)};
}

std::vector<uint8_t> firmwareStartPayload(uint16_t length, uint16_t checksum)
{
    std::vector<uint8_t> p;
    putWord(p, length);
    putWord(p, checksum);
    return p;
}

std::vector<uint8_t> firmwareBlockPayload(std::span<const uint8_t> block)
{
    std::vector<uint8_t> p;
    p.reserve(2 + block.size());
    putWord(p, static_cast<uint32_t>(block.size()));
    p.insert(p.end(), block.begin(), block.end());
    return p;
}

std::optional<FirmwareStart> parseFirmwareStart(std::span<const uint8_t> payload)
{
    if (payload.size() < 4)
        return std::nullopt;
    return FirmwareStart{wordAt(payload, 0), wordAt(payload, 2)};
}

std::optional<std::vector<uint8_t>> parseFirmwareBlock(std::span<const uint8_t> payload)
{
    if (payload.size() < 2 || payload.size() - 2 != wordAt(payload, 0))
        return std::nullopt;
    return std::vector<uint8_t>(payload.begin() + 2, payload.end());
}

} // namespace rz::transfer
