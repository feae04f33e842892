#pragma once
// The effects in bytes: the section that show files and all-effects files carry (section 12),
// and the effect body and text block the one-effect file reuses.
//
// Section, after its start: 20 reserved bytes, a table of 50 positions (24-bit, absolute in
// the file; 0 for an effect without content), then per effect 1..50 its body when it has
// content, always its text block (effect note, 20 module notes), and the 20-byte marker.
//
// Body: a table of 10 positions (24-bit, absolute; entries 1..9 used), then
//   1 header: flags (bit 0 independentBass, 1 bassBeatCorrespondence, 2 correspondenceInvalid
//     as computed now, 3 bassDisabled, 5 bassSwitchJumpsBar), bassHoldTime, bar and beat
//     count of mode 0, of mode 1, rgbThreshold, xyThreshold, 2 zero bytes;
//   2..4 slot lists of allNoBassBeats, allBassBeats, allBeats: a count, then material numbers;
//   5..6 beat maps of modes 0 and 1: a table of bars x beats words (the offset of each cell's
//     list from the table's first byte), then the lists: a count, then material numbers;
//   7..8 bar records of modes 0 and 1: a record size (3), then bassHold, repeatCount,
//     beatDwell per bar;
//   9 module records: a record size (2), then fourMaterialLink, linkRepeatCount per module.
//
// Readers never trust the bytes: every position, count and material number is checked, and
// a read either succeeds completely or leaves its target unchanged.
#include "core/effects/EffectTable.h"
#include "core/files/ByteImage.h"
#include "core/files/ReadResult.h"

#include <string_view>

namespace rz::effects {

inline constexpr std::string_view kEffectSectionId = "F1040301";
inline constexpr int kEffectSectionSlot = 12;
inline constexpr std::size_t kEffectReservedBytes = 20;
inline constexpr int kBodyBlocks = 9;
inline constexpr int kBodyTableEntries = 10;
inline constexpr uint8_t kBarRecordSize = 3;
inline constexpr uint8_t kModuleRecordSize = 2;
// Absolute positions are stored in 3 bytes.
inline constexpr std::size_t kMaxFilePosition = 0xFFFFFF;

inline constexpr uint8_t kFlagIndependentBass = 0x01;
inline constexpr uint8_t kFlagBassBeatCorrespondence = 0x02;
inline constexpr uint8_t kFlagCorrespondenceInvalid = 0x04;
inline constexpr uint8_t kFlagBassDisabled = 0x08;
inline constexpr uint8_t kFlagBassSwitchJumpsBar = 0x20;

using ReadResult = files::ReadResult;

// The body of `e` at the writer's cursor. False when a position would not fit its field.
bool writeEffectBody(const Effect& e, files::ByteWriter& out);
// A body at the reader's cursor into `e`, which the caller has cleared; the cursor ends after
// the module records, where the text block follows. False for a malformed body (`e` may then
// be half filled: read into a scratch effect).
bool readEffectBody(Effect& e, files::ByteReader& in);

// The effect note and the 20 module notes.
void writeTextBlock(const Effect& e, files::ByteWriter& out);
bool readTextBlock(Effect& e, files::ByteReader& in);

// The section as slot `sectionNo` of a sectioned file being written. False when the image
// overflowed or a position would not fit; the writer's content is unusable then.
bool writeEffectSection(const EffectTable& table, int sectionNo, files::ByteWriter& out);

// ok: the table holds the section's effects. absent: every effect cleared (no message).
// malformed: the table is left unchanged. `in` is neither moved nor failed.
ReadResult readEffectSection(EffectTable& table, int sectionNo, const files::ByteReader& in);

} // namespace rz::effects
