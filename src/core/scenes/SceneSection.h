#pragma once
// Show-file section 2: the scenes.
//
// After the section start: 20 reserved bytes (bytes 0..3 = absolute position of the extension
// block), a table of 51 words (entry i = absolute position of scene i's record, 0 when the
// scene has no content; entry 51 = position of the association block), the records, the
// association block (50 wall-panel, then 50 VOD scene numbers), the 50 names, the 24 relay
// notes and 8 dimmer notes, and the extension block: "F1091701", a flags byte (bit 0 sound
// block, bit 1 source block), a zero byte, 50 sound programs, 50 audio sources.
//
// Record: effect, flags (bit 0 = mains by DMX), relay mask (24-bit, relay 1 = bit 0), dimmer
// mask (dimmer 1 = bit 0), then one level per set dimmer bit in dimmer order.
#include "core/files/ByteImage.h"
#include "core/scenes/SceneTable.h"

#include <cstddef>
#include <string_view>

namespace rz::scenes {

inline constexpr std::string_view kSceneSectionId = "F1041101";
inline constexpr int kSceneSectionSlot = 2;
inline constexpr std::string_view kSceneExtensionId = "F1091701";
inline constexpr std::size_t kSceneReservedBytes = 20;
inline constexpr int kSceneTableEntries = kSceneCount + 1;
inline constexpr uint8_t kExtensionHasSound = 0x01;
inline constexpr uint8_t kExtensionHasSource = 0x02;
// Record positions are stored in words, so the whole record area must end below this.
inline constexpr std::size_t kMaxSceneTablePosition = 0xFFFF;

enum class ReadResult {
    ok,
    absent,    // no section 2, or another identifier there
    malformed, // truncated, or a position or length outside the file
};

// Writes the section at the cursor. False, with nothing written, when the section starts so
// late in the file that a record position would not fit in its word (the show writes it
// second, far below that).
bool writeSceneSection(const SceneTable& table, files::ByteWriter& out);

// ok: the table holds the section's scenes and notes, then the fixed names of scenes 31..35.
// absent: the table is cleared, then the fixed names (no message; a show without scenes).
// malformed: the table is left unchanged. `in` is neither moved nor failed.
ReadResult readSceneSection(SceneTable& table, const files::ByteReader& in);

} // namespace rz::scenes
