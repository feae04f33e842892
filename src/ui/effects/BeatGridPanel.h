#pragma once
// The heart of the effect page: 12 slot rows of 8 beat cells with the three flag buttons of
// each slot, the beat buttons, "下一拍", the four-material link with its overlay and repeat
// selector, and the prompt shown while the effect has no bars. Redraws only recolour and
// show/hide existing buttons.
#include "ui/effects/EffectLook.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace rz::effects {
class EffectEditor;
enum class SlotFlag;
} // namespace rz::effects

namespace rz::ui {

class BeatGridPanel : public QWidget {
    Q_OBJECT
public:
    explicit BeatGridPanel(QWidget* parent = nullptr);

    void refreshCells(const effects::EffectEditor& editor);
    void refreshFlags(const effects::EffectEditor& editor);
    void refreshBeats(const effects::EffectEditor& editor);
    // Row and column visibility, the link controls and the prompt.
    void refreshLayout(const effects::EffectEditor& editor);
    void refreshAll(const effects::EffectEditor& editor);

    void setColours(const effectlook::EffectColours& c) { colours = c; }

signals:
    void cellClicked(int slot, int beat);
    void flagClicked(effects::SlotFlag flag, int slot);
    void beatClicked(int beat);
    void nextBeatClicked();
    void linkToggled(bool on);
    void linkRepeatChosen(int count);
    void linkedGroupClicked(int slot);

private:
    effectlook::EffectColours colours;
    static constexpr int kRows = 12, kBeats = 8;
    std::array<effectlook::ColourButton*, kRows * kBeats + 1> cells{}; // [1..96]
    std::array<std::array<effectlook::ColourButton*, kRows + 1>, 3> flags{};
    std::array<QLabel*, kRows + 1> rowLabels{};
    std::array<effectlook::ColourButton*, kBeats + 1> beats{};
    std::array<QPushButton*, 3> linkOverlays{};
    QPushButton* nextBeat = nullptr;
    QCheckBox* link = nullptr;
    QComboBox* linkRepeat = nullptr;
    QLabel* linkRepeatLabel = nullptr;
    QFrame* noBarsPrompt = nullptr;
    bool refreshing = false;
};

} // namespace rz::ui
