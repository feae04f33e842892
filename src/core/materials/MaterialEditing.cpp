#include "core/materials/MaterialEditing.h"

#include "core/materials/OutputMap.h"

#include <algorithm>

namespace rz::materials {

void setLinkedLevel(Material& m, int step, int focus, const LinkedFixtures& linked,
                    bool allChannelsLinked, int channel, uint8_t v)
{
    m.setLevel(step, focus, channel, v);
    const int fc = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
    const int cc = std::min<int>(m.channelCount, kMaxChannels);
    for (int i = 1; i <= fc; ++i) {
        if (!linked.test(static_cast<std::size_t>(i)))
            continue;
        if (allChannelsLinked) {
            for (int c = 1; c <= cc; ++c)
                m.setLevel(step, i, c, m.step(step).level(focus, c));
        } else {
            m.setLevel(step, i, channel, v);
        }
    }
}

bool toggleTempChannel(Material& m, uint8_t code, Prompt& prompt)
{
    auto& list = m.tempChannels;
    if (std::find(list.begin() + 1, list.end(), code) != list.end()) {
        std::replace(list.begin() + 1, list.end(), code, uint8_t{0});
        return true;
    }
    const auto empty = std::find(list.begin() + 1, list.end(), uint8_t{0});
    if (empty == list.end()) {
        prompt.message(std::u16string(kMsgTooManyTempChannels));
        return false;
    }
    *empty = code;
    return true;
}

bool outputMapFitsRecord(const Material& m, const fixtures::FixtureLibrary& library)
{
    const OutputMap map = buildOutputMap(m, library);
    return map.largestAddrCount() <= 255 && map.addrTableBytes <= 0xFFFF;
}

namespace {

// Applies a new patch row when the result still fits the record.
bool tryPatchRow(Material& m, int f, const std::array<uint8_t, kLibraryFixtures + 1>& row,
                 const fixtures::FixtureLibrary& library, Prompt& prompt)
{
    const auto old = m.patch[f];
    m.patch[f] = row;
    if (outputMapFitsRecord(m, library))
        return true;
    m.patch[f] = old;
    prompt.message(std::u16string(kMsgTooManyAddresses));
    return false;
}

} // namespace

bool togglePatch(Material& m, int f, int r, const fixtures::FixtureLibrary& library, Prompt& prompt)
{
    auto row = m.patch[f];
    row[r] = row[r] == 1 ? 0 : 1;
    if (row[r] == 0) { // removing never adds addresses
        m.patch[f] = row;
        return true;
    }
    return tryPatchRow(m, f, row, library, prompt);
}

bool patchGroup(Material& m, int f, const fixtures::FixtureGroups& groups, int g,
                const fixtures::FixtureLibrary& library, Prompt& prompt)
{
    std::array<uint8_t, kLibraryFixtures + 1> row{};
    for (int r = 1; r <= kLibraryFixtures; ++r)
        row[r] = groups.isMember(g, r) && library.fixtureIsValid(r) ? 1 : 0;
    return tryPatchRow(m, f, row, library, prompt);
}

} // namespace rz::materials
