#pragma once
// The material editor's edits that change more than one field: levels that linked virtual
// fixtures follow, the temporary channel list, and patching virtual fixtures to library
// fixtures (one at a time or by fixture group).
#include "core/app/Seams.h"
#include "core/fixtures/FixtureGroups.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/Material.h"

#include <bitset>
#include <string_view>

namespace rz::materials {

inline constexpr std::u16string_view kMsgTooManyTempChannels = u"最多支持20个通道";
inline constexpr std::u16string_view kMsgTooManyAddresses = u"配接的地址过多，每个通道最多255个地址!!!";

// Virtual fixtures 1..20 that follow the focus fixture's edits.
using LinkedFixtures = std::bitset<kMaxVirtualFixtures + 1>;

// Level v on channel c of the focus fixture at `step`; each linked fixture gets the same
// level, or a copy of all the focus fixture's channels when `allChannelsLinked`.
void setLinkedLevel(Material& m, int step, int focus, const LinkedFixtures& linked,
                    bool allChannelsLinked, int channel, uint8_t v);

// Removes code k from the list when present (every entry equal to it), otherwise puts it in
// the first empty entry; a full list shows "最多支持20个通道". False when nothing changed.
bool toggleTempChannel(Material& m, uint8_t code, Prompt& prompt);

// Toggles patch[f][r]. A patch that would give one virtual channel more than 255 addresses,
// or the address table more than 65535 bytes (the files count them in a byte and a word), is
// refused with a message and leaves the patch as it was.
bool togglePatch(Material& m, int f, int r, const fixtures::FixtureLibrary& library, Prompt& prompt);

// patch[f][r] = 1 for the valid library fixtures of group g, 0 for every other; refused as
// togglePatch is.
bool patchGroup(Material& m, int f, const fixtures::FixtureGroups& groups, int g,
                const fixtures::FixtureLibrary& library, Prompt& prompt);

// True when the material's output map fits its file record.
bool outputMapFitsRecord(const Material& m, const fixtures::FixtureLibrary& library);

} // namespace rz::materials
