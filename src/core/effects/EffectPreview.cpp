#include "core/effects/EffectPreview.h"

namespace rz::effects {

namespace {

constexpr int kGroupSize = 4;

} // namespace

EffectPreview::EffectPreview(const EffectTable& table, const materials::MaterialStore& store,
                             const materials::EditingContext& context, const BarPosition& position,
                             materials::MaterialEngine& engine, liveout::LiveSender& sender)
    : table(table), store(store), context(context), position(position), engine(engine), sender(sender)
{
}

void EffectPreview::install()
{
    sender.setModeWork(liveout::kModeEffect, [this](liveout::LiveBuffers& b) { effectPreviewTick(b); });
}

void EffectPreview::effectPreviewTick(liveout::LiveBuffers& buffers)
{
    buffers.clear();
    autoDrumStep(sender.autoDrumCounter());
    if (context.currentEffect < 1 || context.currentEffect > kEffectCount)
        return;
    outputPass(false, buffers);
    outputPass(true, buffers);
}

void EffectPreview::outputPass(bool dimmerPass, liveout::LiveBuffers& buffers)
{
    const Effect& e = table.effect(context.currentEffect);
    for (int m = 1; m <= kModules; ++m) {
        if (e.modules[m].fourMaterialLink != 1) {
            for (int s = 1; s <= kSlots; ++s)
                outputIfDue(m, s, dimmerPass, buffers);
            continue;
        }
        // Only the leading material of each linked group plays: the first that has steps.
        for (int first = 1; first <= kSlots; first += kGroupSize)
            for (int s = first; s < first + kGroupSize; ++s)
                if (store.at(m, s).stepCount > 0) {
                    outputIfDue(m, s, dimmerPass, buffers);
                    break;
                }
    }
}

bool EffectPreview::isActive(int m, int s) const
{
    if (context.currentEffect < 1 || context.currentEffect > kEffectCount)
        return false;
    const Effect& e = table.effect(context.currentEffect);
    const EffectModule& mod = e.modules[m];
    const int k = position.mode();
    const int bar = position.barNumber();
    const int beat = position.beat;
    const bool onBeat = beat >= 1 && beat <= kMaxBeats && bar >= 1 && bar <= kMaxBars &&
                        e.beatGrid.cell(k, bar, beat, m, s);
    return onBeat || (k == kNoBassMode && mod.allNoBassBeats[s] != 0) ||
           (k == kBassMode && mod.allBassBeats[s] != 0) || mod.allBeats[s] != 0;
}

void EffectPreview::outputIfDue(int m, int s, bool dimmerPass, liveout::LiveBuffers& buffers)
{
    const materials::Material& mat = store.at(m, s);
    // Roles above the master's come only from foreign or damaged files: never output.
    const bool due = dimmerPass ? mat.dimmingRole == materials::kChannelOneIsMaster
                                : mat.dimmingRole < materials::kChannelOneIsMaster;
    if (!due || mat.startMode != 0 || !isActive(m, s))
        return;
    const materials::StepLevels levels = engine.playMaterialTick(m, s);
    engine.applyLevels(m, s, levels, false, buffers);
}

void EffectPreview::autoDrumStep(int32_t& counter)
{
    if (mode == AutoDrum::stopped)
        return;
    const int32_t period = mode == AutoDrum::everyHalfSecond ? kHalfSecondTicks : kSecondTicks;
    ++counter;
    if (counter > period) {
        counter = 1;
        sendDrumHit();
    }
}

void EffectPreview::sendDrumHit()
{
    const int e = context.currentEffect <= kEffectCount ? context.currentEffect : 0;
    if (table.effect(e).bassDisabled == 1)
        return;
    sender.requestJump();
    flash = kDrumFlashPeriods;
}

void EffectPreview::cycleAutoDrum()
{
    switch (mode) {
    case AutoDrum::stopped: mode = AutoDrum::everyHalfSecond; break;
    case AutoDrum::everyHalfSecond: mode = AutoDrum::everySecond; break;
    case AutoDrum::everySecond: mode = AutoDrum::stopped; break;
    }
}

std::u16string_view EffectPreview::autoDrumCaption() const
{
    switch (mode) {
    case AutoDrum::everyHalfSecond: return kAutoDrumHalfSecondCaption;
    case AutoDrum::everySecond: return kAutoDrumSecondCaption;
    case AutoDrum::stopped: break;
    }
    return kAutoDrumStoppedCaption;
}

void EffectPreview::drumDisplayTick()
{
    const bool lit = drumFlashTick();
    if (lit != indicatorLit) {
        indicatorLit = lit;
        drumIndicatorChanged.notify(lit);
    }
}

void EffectPreview::correspondenceWarningTick()
{
    correspondenceWarningDue.notify();
}

bool EffectPreview::drumFlashTick()
{
    if (flash == 0)
        return false;
    --flash;
    return true;
}

} // namespace rz::effects
