#pragma once
// The answer to DISC_UNIQUE_BRANCH: seven FE, AA, then each UID byte twice (OR AA, OR 55) and
// the checksum of those twelve bytes the same way. Answers of several devices OR-combine on
// the line, so a decoded UID is only a candidate until confirmed.
#include "core/rdm/Uid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rz::rdm {

inline constexpr std::size_t kDiscoveryReplyLength = 24;
inline constexpr int kMaxLeadingZeros = 5;

// Up to five leading 00 bytes are skipped; then the preamble and the checksum must hold.
std::optional<Uid> decodeDiscoveryReply(std::span<const uint8_t> bytes);

std::array<uint8_t, kDiscoveryReplyLength> encodeDiscoveryReply(Uid uid);

// The 24 bytes as "FE FE ... " text, for a UID text; "地址格式错误" when the normalised text
// is not twelve characters long, "err" when it holds a non-hexadecimal digit.
std::u16string encodeDiscoveryReplyText(std::u16string_view uidText);

} // namespace rz::rdm
