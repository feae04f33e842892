#pragma once
// Where each virtual channel of a material goes: the DMX addresses of every channel of the
// patched library fixtures whose channel-definition code equals the virtual channel's code.
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/Material.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace rz::materials {

struct OutputMap {
    // [f]: the valid library fixtures patched to virtual fixture f, ascending.
    std::array<std::vector<uint8_t>, kMaxVirtualFixtures + 1> realFixtures;
    // 2 x the number of addresses of all (f, c).
    int32_t addrTableBytes = 0;

    int realFixtureCount(int f) const { return static_cast<int>(realFixtures[f].size()); }
    std::span<const uint16_t> addrs(int f, int c) const
    {
        return {addresses.data() + begin[f][c], count[f][c]};
    }
    int addrCount(int f, int c) const { return static_cast<int>(count[f][c]); }
    // The largest address count of any one virtual channel.
    int largestAddrCount() const;

    // Filled by buildOutputMap.
    std::vector<uint16_t> addresses;
    std::array<std::array<uint32_t, kMaxChannels + 1>, kMaxVirtualFixtures + 1> begin{};
    std::array<std::array<uint32_t, kMaxChannels + 1>, kMaxVirtualFixtures + 1> count{};
};

OutputMap buildOutputMap(const Material& m, const fixtures::FixtureLibrary& library);

// Keeps the output map of each material until the material's patch, codes or counts or the
// library change; a changed input is noticed by comparing a snapshot of everything the map
// depends on, so editors need not announce their changes.
class OutputMapCache {
public:
    // `slot` identifies the material (its number 1..240, or any stable index).
    const OutputMap& get(int slot, const Material& m, const fixtures::FixtureLibrary& library);
    void clear() { entries.clear(); }

private:
    struct Entry {
        int slot = 0;
        std::vector<uint8_t> key;
        OutputMap map;
    };
    std::vector<Entry> entries;
    std::vector<uint8_t> scratch;
};

} // namespace rz::materials
