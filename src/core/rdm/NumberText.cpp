#include "core/rdm/NumberText.h"

namespace rz::rdm {

std::optional<std::vector<uint8_t>> bytesFromHex(std::u16string_view t)
{
    if (t.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(t.size() / 2);
    for (std::size_t i = 0; i < t.size(); i += 2) {
        const int hi = hexDigitValue(t[i]);
        const int lo = hexDigitValue(t[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
    }
    return bytes;
}

} // namespace rz::rdm
