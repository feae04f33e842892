#include "core/materials/ChaseGenerator.h"

#include <algorithm>
#include <optional>

namespace rz::materials {

namespace {

// A byte-sized number, or nothing for text that is empty, not a number or above 255.
std::optional<int> byteNumber(std::u16string_view text)
{
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int v = 0;
    for (char16_t ch : text) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        v = v * 10 + (ch - u'0');
    }
    if (v > 255)
        return std::nullopt;
    return v;
}

std::u16string digits(int v, int width)
{
    std::u16string s;
    for (int i = 0; i < width; ++i) {
        s.insert(s.begin(), static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    }
    return s;
}

void setFixture(Material& m, int step, int f, int channels, uint8_t level)
{
    for (int c = 1; c <= channels; ++c)
        m.setLevel(step, f, c, level);
}

} // namespace

ChaseOutcome generateChase(Material& m, const ChaseInputs& in)
{
    if (in.type != kChaseTypeHeadToTail)
        return {false, std::u16string(kMsgNoChaseType)};
    const int fixtures = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
    if (fixtures == 0)
        return {false, std::u16string(kMsgChaseNoFixtures)};
    const int channels = std::min<int>(m.channelCount, kMaxChannels);

    const auto on = static_cast<uint8_t>(byteNumber(in.onLevel).value_or(255));
    const auto off = static_cast<uint8_t>(byteNumber(in.offLevel).value_or(0));
    const int width = std::clamp(byteNumber(in.litCount).value_or(1), 1, fixtures);
    const int start = std::clamp(byteNumber(in.startPosition).value_or(1), 1, fixtures);

    clearSteps(m);
    ChaseOutcome out{true, {}};
    int p = start;
    int j = 0;
    do {
        ++j;
        m.stepCount = static_cast<int16_t>(j);
        for (int f = 1; f <= fixtures; ++f)
            setFixture(m, j, f, channels, off);
        std::u16string lit;
        for (int k = 0; k < width; ++k) {
            int f = p - k;
            if (f < 1)
                f += fixtures;
            if (in.reverse)
                f = fixtures - f + 1;
            setFixture(m, j, f, channels, on);
            lit += digits(f, 2) + u" ";
        }
        out.info += u"步" + digits(j, 3) + u"：" + lit + u"\r\n";
        p = p + 1 > fixtures ? 1 : p + 1;
    } while (p != start && j < kMaxSteps);
    return out;
}

} // namespace rz::materials
