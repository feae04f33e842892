#include "core/materials/OutputMap.h"

#include <algorithm>

namespace rz::materials {

namespace {

int libraryChannels(const fixtures::Fixture& fx)
{
    return std::min<int>(fx.channelCount, fixtures::kMaxChannels);
}

void makeKey(const Material& m, const fixtures::FixtureLibrary& library, std::vector<uint8_t>& key)
{
    key.clear();
    const int fc = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
    const int cc = std::min<int>(m.channelCount, kMaxChannels);
    key.push_back(static_cast<uint8_t>(fc));
    key.push_back(static_cast<uint8_t>(cc));
    key.insert(key.end(), m.channelCodes.begin() + 1, m.channelCodes.begin() + 1 + cc);
    for (int f = 1; f <= fc; ++f)
        key.insert(key.end(), m.patch[f].begin() + 1, m.patch[f].end());
    for (int r = 1; r <= fixtures::kFixtureCount; ++r) {
        const fixtures::Fixture& fx = library.fixture(r);
        const auto start = static_cast<uint16_t>(fx.startAddress);
        key.push_back(static_cast<uint8_t>(start >> 8));
        key.push_back(static_cast<uint8_t>(start));
        key.push_back(fx.channelCount);
        const int n = libraryChannels(fx);
        key.insert(key.end(), fx.channelCode.begin() + 1, fx.channelCode.begin() + 1 + n);
    }
}

} // namespace

int OutputMap::largestAddrCount() const
{
    uint32_t most = 0;
    for (const auto& row : count)
        for (uint32_t n : row)
            most = std::max(most, n);
    return static_cast<int>(most);
}

OutputMap buildOutputMap(const Material& m, const fixtures::FixtureLibrary& library)
{
    OutputMap map;
    const int fc = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
    const int cc = std::min<int>(m.channelCount, kMaxChannels);
    for (int f = 1; f <= fc; ++f) {
        for (int r = 1; r <= kLibraryFixtures; ++r)
            if (m.patch[f][r] == 1 && library.fixtureIsValid(r))
                map.realFixtures[f].push_back(static_cast<uint8_t>(r));
        for (int c = 1; c <= cc; ++c) {
            map.begin[f][c] = static_cast<uint32_t>(map.addresses.size());
            const uint8_t code = m.channelCodes[c];
            if (code == 0)
                continue;
            for (uint8_t r : map.realFixtures[f]) {
                const fixtures::Fixture& fx = library.fixture(r);
                const int n = libraryChannels(fx);
                for (int i = 1; i <= n; ++i)
                    if (fx.channelCode[i] == code)
                        map.addresses.push_back(static_cast<uint16_t>(fx.startAddress + i - 1));
            }
            map.count[f][c] = static_cast<uint32_t>(map.addresses.size()) - map.begin[f][c];
        }
    }
    map.addrTableBytes = static_cast<int32_t>(2 * map.addresses.size());
    return map;
}

const OutputMap& OutputMapCache::get(int slot, const Material& m,
                                     const fixtures::FixtureLibrary& library)
{
    makeKey(m, library, scratch);
    auto it = std::find_if(entries.begin(), entries.end(), [slot](const Entry& e) { return e.slot == slot; });
    if (it == entries.end()) {
        entries.push_back(Entry{slot, {}, {}});
        it = entries.end() - 1;
    } else if (it->key == scratch) {
        return it->map;
    }
    it->key.swap(scratch);
    it->map = buildOutputMap(m, library);
    return it->map;
}

} // namespace rz::materials
