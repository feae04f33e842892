#include "core/rdm/DiscoveryReply.h"

#include "core/rdm/RdmPacket.h"
#include "core/rdm/RdmTexts.h"

namespace rz::rdm {

namespace {
constexpr uint8_t kPreamble = 0xFE;
constexpr uint8_t kSeparator = 0xAA;
constexpr std::size_t kPreambleLength = 7;
constexpr std::size_t kEncodedAt = 8;
} // namespace

std::optional<Uid> decodeDiscoveryReply(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kDiscoveryReplyLength)
        return std::nullopt;
    for (int i = 0; i < kMaxLeadingZeros && !bytes.empty() && bytes[0] == 0x00; ++i)
        bytes = bytes.subspan(1);
    // Fewer than 24 bytes after the zeros: the checksum has not arrived.
    if (bytes.size() < kDiscoveryReplyLength)
        return std::nullopt;
    for (std::size_t i = 0; i < kPreambleLength; ++i)
        if (bytes[i] != kPreamble)
            return std::nullopt;
    if (bytes[kPreambleLength] != kSeparator)
        return std::nullopt;
    std::array<uint8_t, 6> uid{};
    for (std::size_t i = 0; i < 6; ++i)
        uid[i] = bytes[kEncodedAt + 2 * i] & bytes[kEncodedAt + 2 * i + 1];
    const uint16_t sum = rdmChecksum(bytes.subspan(kEncodedAt, 12));
    const uint16_t given = static_cast<uint16_t>((bytes[20] & bytes[21]) << 8 | (bytes[22] & bytes[23]));
    if (sum != given)
        return std::nullopt;
    return Uid::fromBytes(uid);
}

std::array<uint8_t, kDiscoveryReplyLength> encodeDiscoveryReply(Uid uid)
{
    std::array<uint8_t, kDiscoveryReplyLength> r{};
    for (std::size_t i = 0; i < kPreambleLength; ++i)
        r[i] = kPreamble;
    r[kPreambleLength] = kSeparator;
    const auto b = uid.toBytes();
    for (std::size_t i = 0; i < 6; ++i) {
        r[kEncodedAt + 2 * i] = b[i] | 0xAA;
        r[kEncodedAt + 2 * i + 1] = b[i] | 0x55;
    }
    const uint16_t sum = rdmChecksum(std::span(r).subspan(kEncodedAt, 12));
    r[20] = static_cast<uint8_t>(sum >> 8) | 0xAA;
    r[21] = static_cast<uint8_t>(sum >> 8) | 0x55;
    r[22] = static_cast<uint8_t>(sum) | 0xAA;
    r[23] = static_cast<uint8_t>(sum) | 0x55;
    return r;
}

std::u16string encodeDiscoveryReplyText(std::u16string_view uidText)
{
    const std::u16string t = normalizeUidText(uidText);
    if (t.size() != 12)
        return std::u16string(text::kAddressFormatError);
    const auto uid = Uid::fromText(t);
    if (!uid)
        return std::u16string(text::kDigitError);
    const auto bytes = encodeDiscoveryReply(*uid);
    return spacedHexText(bytes);
}

} // namespace rz::rdm
