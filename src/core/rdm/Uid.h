#pragma once
// An RDM device identity: 48 bits, a 16-bit manufacturer and a 32-bit device number. On the
// line it is six bytes, most significant first.
#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rz::rdm {

class Uid {
public:
    static constexpr uint64_t kMaxValue = 0xFFFF'FFFF'FFFFull;

    constexpr Uid() = default;
    constexpr Uid(uint16_t manufacturer, uint32_t device)
        : bits(uint64_t{manufacturer} << 32 | device)
    {
    }
    // The low 48 bits of the number.
    static constexpr Uid fromValue(uint64_t value)
    {
        Uid u;
        u.bits = value & kMaxValue;
        return u;
    }
    static constexpr Uid allDevices() { return fromValue(kMaxValue); }
    // The source of every request the tool sends.
    static constexpr Uid requestSource() { return fromValue(kMaxValue - 1); }

    // Six bytes, most significant first; no value for fewer than six bytes.
    static std::optional<Uid> fromBytes(std::span<const uint8_t> bytes);
    // Accepts twelve hexadecimal digits in either case once " ", "-", ",", "0x" and "0X" are
    // removed ("03-11-f3-94-4e-87", "0311F3944E87").
    static std::optional<Uid> fromText(std::u16string_view text);

    constexpr uint64_t value() const { return bits; }
    constexpr uint16_t manufacturer() const { return static_cast<uint16_t>(bits >> 32); }
    constexpr uint32_t device() const { return static_cast<uint32_t>(bits); }
    constexpr bool isBroadcast() const { return bits == kMaxValue; }

    std::array<uint8_t, 6> toBytes() const;
    // "03-11-F3-94-4E-87", the form of the found table and the page's list.
    std::u16string listedText() const;
    // "0311F3944E87".
    std::u16string hexText() const;
    // "0311:F3944E87", for logs and test messages.
    std::string toString() const;

    friend constexpr auto operator<=>(const Uid&, const Uid&) = default;

private:
    uint64_t bits = 0;
};

// The text with every " ", "-", ",", "0x" and "0X" removed.
std::u16string normalizeUidText(std::u16string_view text);

} // namespace rz::rdm
