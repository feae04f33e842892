#pragma once
// What the effect page does to the current effect: the chosen bar and beat, the grid cells and
// slot flags of the current module, counts, per-bar values, bar copy/paste/clear and the effect
// and module files with their questions. Each operation tells the page what to repaint through
// the notifiers; clicks that move the position also send one simulated drum hit.
#include "core/app/Notifier.h"
#include "core/app/Seams.h"
#include "core/effects/EffectFiles.h"
#include "core/effects/EffectPreview.h"
#include "core/effects/EffectTable.h"

#include <string_view>

namespace rz::effects {

inline constexpr std::u16string_view kMsgNothingCopied = u"没有复制内容！";
inline constexpr std::u16string_view kAskOverwriteBar = u"确认要覆盖当前小节?";
inline constexpr std::u16string_view kAskClearBar = u"是否清空当前小节拍子选择?";
inline constexpr std::u16string_view kAskClearEffect = u"要清空当前效果吗 ？";
inline constexpr std::u16string_view kAskImportEffect = u"要覆盖当前效果吗 ？";
inline constexpr std::u16string_view kAskImportModule = u"要覆盖当前模块吗 ？";
inline constexpr std::u16string_view kNoBarsPrompt = u"未设置小节数和拍数";
inline constexpr int kBarIndexes = 2 * kMaxBars; // 1..16 no-bass, 17..32 bass

enum class SlotFlag { noBassBeats, bassBeats, allBeats };

// How the correspondence box's text looks after one blink step.
enum class WarningLook { normal, magenta, yellow };

class EffectEditor {
public:
    // Everything must outlive the editor.
    EffectEditor(EffectTable& table, materials::EditingContext& context,
                 BarPosition& position, EffectPreview& preview, EffectFiles& files, Prompt& prompt);

    // The effect being edited (the unused effect 0 while none is current).
    Effect& effect();
    const Effect& effect() const;
    int currentModule() const { return context.currentModule; }
    const BarPosition& position() const { return pos; }

    // Every opening: defaults of the effect, nothing copied, the beat normalised.
    void open();

    void selectBar(int barIndex);   // refresh all, one drum hit
    void selectBeat(int beat);      // beat buttons, one drum hit
    void nextBeat();
    void toggleCell(int slot, int beat); // cells, then as selectBeat(beat)
    bool cell(int slot, int beat) const; // of the current bar and module
    void toggleSlotFlag(SlotFlag flag, int slot);
    bool slotFlag(SlotFlag flag, int slot) const;
    void selectModule(int module);
    void setBarCount(int mode, int count);   // 0..16
    void setBeatCount(int mode, int count);  // 0..8
    void setIndependentBass(bool on);
    void setFourMaterialLink(bool on);

    // Whether the page shows bar index i, slot row s and beat t.
    bool barVisible(int barIndex) const;
    bool slotRowVisible(int slot) const;
    int currentBeatCount() const;
    bool linkOn() const;

    // Per-bar values of the current bar.
    EffectBar& currentBar();
    // Text typed into the dwell box: a number 0..255 is stored, anything else stores nothing
    // and returns false.
    bool setBeatDwellText(std::u16string_view text);
    // "4.0秒" for 40.
    std::u16string beatDwellSeconds() const;

    int copiedBar() const { return copied; }
    void copyBar();
    void pasteBar();
    void clearBar();

    // The effect and module files; false when nothing changed.
    bool clearEffect();
    bool importEffect();
    bool exportEffect();
    bool importModule();
    bool exportModule();

    // The 250 ms step of the correspondence warning.
    WarningLook correspondenceWarningStep();

    // Everything shown may have changed.
    Notifier<> allChanged;
    // Only the current beat (beat buttons, nothing else).
    Notifier<> beatChanged;
    // The grid cells of the current bar and module.
    Notifier<> cellsChanged;
    // The slot flag buttons of the current module.
    Notifier<> flagsChanged;

private:
    void normaliseBeat();
    void refreshAll();
    int effectIndex() const;
    uint8_t& flagOf(SlotFlag flag, int slot);

    EffectTable& table;
    materials::EditingContext& context;
    BarPosition& pos;
    EffectPreview& preview;
    EffectFiles& files;
    Prompt& prompt;
    int copied = 0;
    bool blinkPhase = false;
};

} // namespace rz::effects
