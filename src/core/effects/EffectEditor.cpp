#include "core/effects/EffectEditor.h"

#include <algorithm>
#include <cstdio>

namespace rz::effects {

namespace {

constexpr int kGroupSize = 4;
constexpr int kMaxDwell = 255;

bool validEffect(int e) { return e >= 1 && e <= kEffectCount; }

} // namespace

EffectEditor::EffectEditor(EffectTable& table, materials::EditingContext& context,
                           BarPosition& position, EffectPreview& preview, EffectFiles& files, Prompt& prompt)
    : table(table), context(context), pos(position), preview(preview), files(files), prompt(prompt)
{
}

int EffectEditor::effectIndex() const
{
    return validEffect(context.currentEffect) ? context.currentEffect : 0;
}

Effect& EffectEditor::effect() { return table.effect(effectIndex()); }
const Effect& EffectEditor::effect() const { return table.effect(effectIndex()); }

void EffectEditor::open()
{
    if (pos.barIndex < 1 || pos.barIndex > kBarIndexes)
        pos.barIndex = 1;
    if (context.currentModule < 1 || context.currentModule > kModules)
        context.currentModule = 1;
    applyDefaults(effect());
    copied = 0;
    refreshAll();
}

void EffectEditor::refreshAll()
{
    table.updateCorrespondenceInvalid(effectIndex());
    normaliseBeat();
    allChanged.notify();
}

void EffectEditor::normaliseBeat()
{
    const int count = currentBeatCount();
    if (count == 0)
        pos.beat = 0;
    else if (pos.beat == 0 || pos.beat > count)
        pos.beat = 1;
}

int EffectEditor::currentBeatCount() const
{
    return std::min<int>(effect().beatCount[pos.mode()], kMaxBeats);
}

void EffectEditor::selectBar(int barIndex)
{
    if (barIndex < 1 || barIndex > kBarIndexes)
        return;
    pos.barIndex = static_cast<uint8_t>(barIndex);
    refreshAll();
    preview.sendDrumHit();
}

void EffectEditor::selectBeat(int beat)
{
    if (beat < 1 || beat > kMaxBeats)
        return;
    pos.beat = static_cast<uint8_t>(beat);
    normaliseBeat();
    beatChanged.notify();
    preview.sendDrumHit();
}

void EffectEditor::nextBeat()
{
    const int k = pos.mode();
    const int bars = std::min<int>(effect().barCount[k], kMaxBars);
    const int beats = currentBeatCount();
    if (bars == 0 || beats == 0)
        return;
    if (pos.beat < beats) {
        selectBeat(pos.beat + 1);
        return;
    }
    const int last = k == kNoBassMode ? bars : bars + kMaxBars;
    selectBar(pos.barIndex < last ? pos.barIndex + 1 : barIndexOf(k, 1));
    selectBeat(1);
}

bool EffectEditor::cell(int slot, int beat) const
{
    return effect().beatGrid.cell(pos.mode(), pos.barNumber(), beat, context.currentModule, slot);
}

void EffectEditor::toggleCell(int slot, int beat)
{
    if (slot < 1 || slot > kSlots || beat < 1 || beat > kMaxBeats)
        return;
    effect().beatGrid.setCell(pos.mode(), pos.barNumber(), beat, context.currentModule, slot, !cell(slot, beat));
    cellsChanged.notify();
    selectBeat(beat);
}

uint8_t& EffectEditor::flagOf(SlotFlag flag, int slot)
{
    EffectModule& m = effect().modules[context.currentModule];
    switch (flag) {
    case SlotFlag::noBassBeats: return m.allNoBassBeats[slot];
    case SlotFlag::bassBeats: return m.allBassBeats[slot];
    case SlotFlag::allBeats: break;
    }
    return m.allBeats[slot];
}

bool EffectEditor::slotFlag(SlotFlag flag, int slot) const
{
    return const_cast<EffectEditor*>(this)->flagOf(flag, slot) != 0;
}

void EffectEditor::toggleSlotFlag(SlotFlag flag, int slot)
{
    if (slot < 1 || slot > kSlots)
        return;
    uint8_t& f = flagOf(flag, slot);
    f = f != 0 ? 0 : 1;
    flagsChanged.notify();
}

void EffectEditor::selectModule(int module)
{
    if (module < 1 || module > kModules)
        return;
    context.currentModule = static_cast<uint8_t>(module);
    refreshAll();
}

void EffectEditor::setBarCount(int mode, int count)
{
    if (mode < 0 || mode >= kModes || count < 0 || count > kMaxBars)
        return;
    effect().barCount[mode] = static_cast<uint8_t>(count);
    refreshAll();
}

void EffectEditor::setBeatCount(int mode, int count)
{
    if (mode < 0 || mode >= kModes || count < 0 || count > kMaxBeats)
        return;
    effect().beatCount[mode] = static_cast<uint8_t>(count);
    refreshAll();
}

void EffectEditor::setIndependentBass(bool on)
{
    effect().independentBass = on ? 1 : 0;
    refreshAll();
}

void EffectEditor::setFourMaterialLink(bool on)
{
    effect().modules[context.currentModule].fourMaterialLink = on ? 1 : 0;
    allChanged.notify();
}

bool EffectEditor::barVisible(int barIndex) const
{
    const Effect& e = effect();
    if (barIndex >= 1 && barIndex <= kMaxBars)
        return barIndex <= e.barCount[kNoBassMode];
    if (barIndex > kMaxBars && barIndex <= kBarIndexes)
        return e.independentBass != 0 && barIndex - kMaxBars <= e.barCount[kBassMode];
    return false;
}

bool EffectEditor::linkOn() const
{
    return effect().modules[context.currentModule].fourMaterialLink != 0;
}

bool EffectEditor::slotRowVisible(int slot) const
{
    // With the link on only the first slot of each group of four has a row of its own.
    return !linkOn() || (slot - 1) % kGroupSize == 0;
}

EffectBar& EffectEditor::currentBar()
{
    return effect().bars[pos.mode()][pos.barNumber()];
}

bool EffectEditor::setBeatDwellText(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 3)
        return false;
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    if (value > kMaxDwell)
        return false;
    currentBar().beatDwell = static_cast<uint8_t>(value);
    return true;
}

std::u16string EffectEditor::beatDwellSeconds() const
{
    const int tenths = effect().bars[pos.mode()][pos.barNumber()].beatDwell;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d.%d", tenths / 10, tenths % 10);
    std::u16string out(buf, buf + std::char_traits<char>::length(buf));
    return out + u"秒";
}

void EffectEditor::copyBar()
{
    copied = pos.barIndex;
}

void EffectEditor::pasteBar()
{
    if (copied == 0) {
        prompt.message(std::u16string(kMsgNothingCopied));
        return;
    }
    if (!prompt.ask(std::u16string(kAskOverwriteBar)))
        return;
    const BarPosition from{static_cast<uint8_t>(copied), 0};
    effects::copyBar(effect(), from.mode(), from.barNumber(), pos.mode(), pos.barNumber());
    refreshAll();
}

void EffectEditor::clearBar()
{
    if (!prompt.ask(std::u16string(kAskClearBar)))
        return;
    effects::clearBar(effect(), pos.mode(), pos.barNumber());
    refreshAll();
}

bool EffectEditor::clearEffect()
{
    if (!validEffect(context.currentEffect) || !prompt.ask(std::u16string(kAskClearEffect)))
        return false;
    files.clearEffectByUser(context.currentEffect);
    open();
    return true;
}

bool EffectEditor::importEffect()
{
    if (!validEffect(context.currentEffect) || !prompt.ask(std::u16string(kAskImportEffect)))
        return false;
    if (!files.importEffect(context.currentEffect))
        return false;
    open();
    return true;
}

bool EffectEditor::exportEffect()
{
    return validEffect(context.currentEffect) && files.exportEffect(context.currentEffect);
}

bool EffectEditor::importModule()
{
    if (!validEffect(context.currentEffect) || !prompt.ask(std::u16string(kAskImportModule)))
        return false;
    if (!files.importModule(context.currentEffect, context.currentModule))
        return false;
    refreshAll();
    return true;
}

bool EffectEditor::exportModule()
{
    return validEffect(context.currentEffect) && files.exportModule(context.currentEffect, context.currentModule);
}

WarningLook EffectEditor::correspondenceWarningStep()
{
    table.updateCorrespondenceInvalid(effectIndex());
    if (effect().correspondenceInvalid == 0)
        return WarningLook::normal;
    blinkPhase = !blinkPhase;
    return blinkPhase ? WarningLook::magenta : WarningLook::yellow;
}

} // namespace rz::effects
