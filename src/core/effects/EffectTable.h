#pragma once
// The 50 effects of a show. Each effect arranges the materials of its own material set
// (20 modules x 12 slots) on a grid of bars and beats, kept twice: for the no-bass mode (0)
// and the bass mode (1), next to per-effect, per-module and per-bar parameters that only the
// controller interprets.
//
// Numbering is 1-based at every interface: effect 1..50, mode 0..1, bar 1..16, beat 1..8,
// module 1..20, slot 1..12. Index 0 of the tables exists and is never used.
#include "core/materials/MaterialStore.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace rz::effects {

inline constexpr int kEffectCount = 50;
inline constexpr int kModes = 2;
inline constexpr int kNoBassMode = 0;
inline constexpr int kBassMode = 1;
inline constexpr int kMaxBars = 16;
inline constexpr int kMaxBeats = 8;
inline constexpr int kModules = materials::kModules;
inline constexpr int kSlots = materials::kSlots;
inline constexpr int kMaxNoteLength = 20;
inline constexpr int kMaxXyThreshold = 128;
inline constexpr uint8_t kDefaultBassHoldTime = 40;
inline constexpr uint8_t kDefaultBeatDwell = 40; // tenths of a second

struct EffectModule {
    std::u16string note;
    uint8_t fourMaterialLink = 0;
    uint8_t linkRepeatCount = 0;
    std::array<uint8_t, kSlots + 1> allNoBassBeats{}; // [1..12]
    std::array<uint8_t, kSlots + 1> allBassBeats{};
    std::array<uint8_t, kSlots + 1> allBeats{};

    bool operator==(const EffectModule&) const = default;
};

struct EffectBar {
    uint8_t bassHold = 0;
    uint8_t repeatCount = 0;
    uint8_t beatDwell = 0;

    bool operator==(const EffectBar&) const = default;
};

// One bit per (mode, bar, beat, module, slot): the material plays on that beat.
// One cell of the beat grid: material `slot` of `module` on `beat` of `bar` in `mode`.
struct GridCell {
    int mode = 0;
    int bar = 0;
    int beat = 0;
    int module = 0;
    int slot = 0;
};

class BeatGrid {
public:
    bool cell(const GridCell& at) const;
    void setCell(const GridCell& at, bool on);
    // The same with the five numbers in GridCell's order.
    bool cell(int mode, int bar, int beat, int module, int slot) const
    {
        return cell(GridCell{mode, bar, beat, module, slot});
    }
    void setCell(int mode, int bar, int beat, int module, int slot, bool on)
    {
        setCell(GridCell{mode, bar, beat, module, slot}, on);
    }
    // The materials set on one beat, bit materialNumber - 1.
    const std::bitset<materials::kMaterialsPerEffect>& beatCells(int mode, int bar, int beat) const;
    std::bitset<materials::kMaterialsPerEffect>& beatCells(int mode, int bar, int beat);
    void clearBar(int mode, int bar);  // beats 1..8 of every module and slot
    void copyBar(int fromMode, int fromBar, int toMode, int toBar);

    // Compares the stored words at once; a member-wise compare of 306 bitsets dominated
    // every comparison of effect tables.
    bool operator==(const BeatGrid& other) const;

private:
    // [mode][bar 0..16][beat 0..8]
    std::array<std::array<std::array<std::bitset<materials::kMaterialsPerEffect>, kMaxBeats + 1>,
                          kMaxBars + 1>,
               kModes>
        cells{};
};

struct Effect {
    std::u16string note;
    uint8_t independentBass = 0;
    uint8_t bassBeatCorrespondence = 0;
    uint8_t correspondenceInvalid = 0; // derived, see correspondenceInvalidOf
    uint8_t bassDisabled = 0;
    uint8_t bassSwitchJumpsBar = 0;
    uint8_t bassHoldTime = 0;
    std::array<uint8_t, kModes> barCount{};
    std::array<uint8_t, kModes> beatCount{};
    uint16_t rgbThreshold = 0; // 0..255, stored in one byte
    uint16_t xyThreshold = 0;  // 0 = system default, 1..128
    std::array<EffectModule, kModules + 1> modules{};                    // [1..20]
    std::array<std::array<EffectBar, kMaxBars + 1>, kModes> bars{};      // [mode][1..16]
    BeatGrid beatGrid;

    bool operator==(const Effect&) const = default;
};

// Bar or beat counts set in either mode; only such effects have a body in files.
bool hasContent(const Effect& e);
// 1 when bar correspondence is asked for but the two modes cannot correspond: the bar counts
// or the beat counts differ, or bass bars are not in use.
uint8_t correspondenceInvalidOf(const Effect& e);
// bassHoldTime 0 becomes 40; every beatDwell 0 (both modes, bars 0..16) becomes 40.
void applyDefaults(Effect& e);
// Resets module m's note and link settings; its slot flags and grid cells stay. The caller
// clears the module's materials (clearModuleMaterials).
void clearModuleFields(Effect& e, int module);
// Grid cells of beats 1..8 of every module and slot, and the three bar parameters.
void copyBar(Effect& e, int fromMode, int fromBar, int toMode, int toBar);
// Grid cells of one bar only.
void clearBar(Effect& e, int mode, int bar);
// clearMaterial of (m, 1..12).
void clearModuleMaterials(materials::MaterialStore& store, int module);

// The editing position within the current effect: bar index 1..16 are no-bass bars 1..16,
// 17..32 bass bars 1..16; beat 0 = none, 1..8.
struct BarPosition {
    uint8_t barIndex = 1;
    uint8_t beat = 0;

    int mode() const { return barIndex >= 17 ? kBassMode : kNoBassMode; }
    int barNumber() const { return barIndex >= 17 ? barIndex - 16 : barIndex; }
};

// Bar index of (mode, bar).
inline int barIndexOf(int mode, int bar) { return mode == kBassMode ? bar + 16 : bar; }

class EffectTable {
public:
    EffectTable();

    // 0..50; 0 exists but is never used. Out of range is a caller error.
    Effect& effect(int i);
    const Effect& effect(int i) const;

    void clearAllEffects();
    // Every field of effect i, its whole grid and the derived flag. A user's clear also clears
    // the effect's materials (EffectFiles::clearEffectByUser).
    void clearEffect(int i);
    void updateCorrespondenceInvalid(int i);

    bool operator==(const EffectTable&) const = default;

private:
    std::vector<Effect> effects; // 0..50, on the heap: about 10 KB each

};

} // namespace rz::effects
