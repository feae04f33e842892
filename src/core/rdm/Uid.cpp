#include "core/rdm/Uid.h"

#include "core/rdm/NumberText.h"

#include <cstdio>

namespace rz::rdm {

namespace {

void removeAll(std::u16string& text, std::u16string_view what)
{
    for (std::size_t pos = text.find(what); pos != std::u16string::npos; pos = text.find(what, pos))
        text.erase(pos, what.size());
}

} // namespace

std::u16string normalizeUidText(std::u16string_view text)
{
    std::u16string t(text);
    for (std::u16string_view what : {u" ", u"-", u",", u"0x", u"0X"})
        removeAll(t, what);
    return t;
}

std::optional<Uid> Uid::fromBytes(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 6)
        return std::nullopt;
    uint64_t v = 0;
    for (std::size_t i = 0; i < 6; ++i)
        v = v << 8 | bytes[i];
    return fromValue(v);
}

std::optional<Uid> Uid::fromText(std::u16string_view text)
{
    const std::u16string t = normalizeUidText(text);
    if (t.size() != 12)
        return std::nullopt;
    uint64_t v = 0;
    for (char16_t c : t) {
        const int d = hexDigitValue(c);
        if (d < 0)
            return std::nullopt;
        v = v << 4 | static_cast<uint64_t>(d);
    }
    return fromValue(v);
}

std::array<uint8_t, 6> Uid::toBytes() const
{
    std::array<uint8_t, 6> b{};
    for (int i = 0; i < 6; ++i)
        b[i] = static_cast<uint8_t>(bits >> (8 * (5 - i)));
    return b;
}

std::u16string Uid::listedText() const
{
    std::u16string t;
    for (uint8_t b : toBytes()) {
        if (!t.empty())
            t += u'-';
        t += hexDigits(b, 2);
    }
    return t;
}

std::u16string Uid::hexText() const
{
    return hexDigits(static_cast<uint32_t>(bits >> 32), 4) + hexDigits(static_cast<uint32_t>(bits), 8);
}

std::string Uid::toString() const
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04X:%08X", unsigned{manufacturer()}, unsigned{device()});
    return buf;
}

} // namespace rz::rdm
