#pragma once
// The effect page's live output: every 100 ms tick plays the materials that the current
// effect uses at the chosen bar and beat, and simulated drum hits (on demand, or every 0.5 s
// or 1 s) advance the drum-triggered materials. The position moves only when the user moves
// it; the music-driven sequencing is the controller's.
#include "core/app/Notifier.h"
#include "core/effects/EffectTable.h"
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialEngine.h"
#include "core/materials/MaterialStore.h"

#include <cstdint>
#include <string_view>

namespace rz::effects {

enum class AutoDrum : uint8_t { stopped = 0, everyHalfSecond = 1, everySecond = 2 };

inline constexpr std::u16string_view kAutoDrumStoppedCaption = u"自动停止";
inline constexpr std::u16string_view kAutoDrumHalfSecondCaption = u"自动0.5秒";
inline constexpr std::u16string_view kAutoDrumSecondCaption = u"自动1秒";
inline constexpr std::u16string_view kDrumIndicatorCaption = u"模拟鼓点";
// Ticks between automatic hits.
inline constexpr int32_t kHalfSecondTicks = 5;
inline constexpr int32_t kSecondTicks = 10;
// 10 ms periods the indicator flashes after a hit.
inline constexpr uint8_t kDrumFlashPeriods = 10;

class EffectPreview {
public:
    // Everything must outlive the preview.
    EffectPreview(const EffectTable& table, const materials::MaterialStore& store,
                  const materials::EditingContext& context, const BarPosition& position,
                  materials::MaterialEngine& engine, liveout::LiveSender& sender);

    // Makes effectPreviewTick the per-tick work of the effect page's mode.
    void install();

    // Clears the buffers, runs the automatic hits, then outputs every active material with a
    // start mode of 0: first those with a dimming role below the channel-1 master, then the
    // channel-1 masters over the complete layer, module and slot order within each pass.
    void effectPreviewTick(liveout::LiveBuffers& buffers);
    // Whether (m, s) plays at the current position of the current effect.
    bool isActive(int module, int slot) const;

    // Once per preview tick with the sender's counter.
    void autoDrumStep(int32_t& counter);
    // A jump request and a flash, unless the current effect has bass handling off.
    void sendDrumHit();
    // stopped -> every 0.5 s -> every 1 s -> stopped.
    void cycleAutoDrum();
    AutoDrum autoDrum() const { return mode; }
    std::u16string_view autoDrumCaption() const;
    // Every 10 ms: true while the indicator shows a hit (magenta), false for its normal colour.
    bool drumFlashTick();
    uint8_t flashCounter() const { return flash; }

    // The main loop's 10 ms slot while the effect page is live: runs drumFlashTick and tells
    // the page only when the indicator changes between lit and normal.
    void drumDisplayTick();
    bool drumIndicatorLit() const { return indicatorLit; }
    Notifier<bool> drumIndicatorChanged;
    // The main loop's 250 ms slot while the effect page is live: the page's correspondence
    // warning blinks on it.
    void correspondenceWarningTick();
    Notifier<> correspondenceWarningDue;

private:
    void outputPass(bool dimmerPass, liveout::LiveBuffers& buffers);
    void outputIfDue(int module, int slot, bool dimmerPass, liveout::LiveBuffers& buffers);

    const EffectTable& table;
    const materials::MaterialStore& store;
    const materials::EditingContext& context;
    const BarPosition& position;
    materials::MaterialEngine& engine;
    liveout::LiveSender& sender;
    AutoDrum mode = AutoDrum::stopped;
    uint8_t flash = 0;
    bool indicatorLit = false;
};

} // namespace rz::effects
