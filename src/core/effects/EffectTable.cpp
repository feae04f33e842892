#include "core/effects/EffectTable.h"

#include <cstring>
#include <type_traits>

namespace rz::effects {

namespace {

std::size_t bit(int module, int slot)
{
    return static_cast<std::size_t>(materials::materialNumber(module, slot) - 1);
}

} // namespace

bool BeatGrid::cell(const GridCell& at) const
{
    return beatCells(at.mode, at.bar, at.beat).test(bit(at.module, at.slot));
}

void BeatGrid::setCell(const GridCell& at, bool on)
{
    beatCells(at.mode, at.bar, at.beat).set(bit(at.module, at.slot), on);
}

const std::bitset<materials::kMaterialsPerEffect>& BeatGrid::beatCells(int mode, int bar, int beat) const
{
    return cells.at(static_cast<std::size_t>(mode)).at(static_cast<std::size_t>(bar)).at(static_cast<std::size_t>(beat));
}

std::bitset<materials::kMaterialsPerEffect>& BeatGrid::beatCells(int mode, int bar, int beat)
{
    return cells.at(static_cast<std::size_t>(mode)).at(static_cast<std::size_t>(bar)).at(static_cast<std::size_t>(beat));
}

bool BeatGrid::operator==(const BeatGrid& other) const
{
    // A bitset is a plain array of words whose unused high bits it keeps at zero, so equal
    // bitsets have equal bytes.
    using Cells = std::bitset<materials::kMaterialsPerEffect>;
    static_assert(std::is_trivially_copyable_v<Cells> && sizeof(Cells) * 8 >= materials::kMaterialsPerEffect &&
                  sizeof(Cells) % sizeof(unsigned long) == 0);
    return std::memcmp(&cells, &other.cells, sizeof cells) == 0;
}

void BeatGrid::clearBar(int mode, int bar)
{
    for (int t = 1; t <= kMaxBeats; ++t)
        beatCells(mode, bar, t).reset();
}

void BeatGrid::copyBar(int fromMode, int fromBar, int toMode, int toBar)
{
    for (int t = 1; t <= kMaxBeats; ++t)
        beatCells(toMode, toBar, t) = beatCells(fromMode, fromBar, t);
}

bool hasContent(const Effect& e)
{
    return e.barCount[0] != 0 || e.beatCount[0] != 0 || e.barCount[1] != 0 || e.beatCount[1] != 0;
}

uint8_t correspondenceInvalidOf(const Effect& e)
{
    if (e.bassBeatCorrespondence != 1)
        return 0;
    const bool corresponds =
        e.barCount[0] == e.barCount[1] && e.independentBass != 0 && e.beatCount[0] == e.beatCount[1];
    return corresponds ? 0 : 1;
}

void applyDefaults(Effect& e)
{
    if (e.bassHoldTime == 0)
        e.bassHoldTime = kDefaultBassHoldTime;
    for (auto& mode : e.bars)
        for (EffectBar& b : mode)
            if (b.beatDwell == 0)
                b.beatDwell = kDefaultBeatDwell;
}

void clearModuleFields(Effect& e, int module)
{
    EffectModule& m = e.modules.at(static_cast<std::size_t>(module));
    m.note.clear();
    m.fourMaterialLink = 0;
    m.linkRepeatCount = 0;
}

void copyBar(Effect& e, int fromMode, int fromBar, int toMode, int toBar)
{
    e.beatGrid.copyBar(fromMode, fromBar, toMode, toBar);
    e.bars.at(static_cast<std::size_t>(toMode)).at(static_cast<std::size_t>(toBar)) =
        e.bars.at(static_cast<std::size_t>(fromMode)).at(static_cast<std::size_t>(fromBar));
}

void clearBar(Effect& e, int mode, int bar) { e.beatGrid.clearBar(mode, bar); }

void clearModuleMaterials(materials::MaterialStore& store, int module)
{
    for (int s = 1; s <= kSlots; ++s)
        materials::clearMaterial(store.at(module, s));
}

EffectTable::EffectTable() : effects(kEffectCount + 1) {}

Effect& EffectTable::effect(int i) { return effects.at(static_cast<std::size_t>(i)); }

const Effect& EffectTable::effect(int i) const { return effects.at(static_cast<std::size_t>(i)); }

void EffectTable::clearAllEffects()
{
    for (Effect& e : effects)
        e = Effect{};
}

void EffectTable::clearEffect(int i) { effect(i) = Effect{}; }

void EffectTable::updateCorrespondenceInvalid(int i)
{
    Effect& e = effect(i);
    e.correspondenceInvalid = correspondenceInvalidOf(e);
}

} // namespace rz::effects
