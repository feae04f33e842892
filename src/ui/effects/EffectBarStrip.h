#pragma once
// The bar buttons (no-bass 1..16, bass 17..32) with the bar and beat counts of both modes and
// the independent-bass switch.
#include "ui/effects/EffectLook.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;

namespace rz::effects {
class EffectEditor;
}

namespace rz::ui {

class EffectBarStrip : public QWidget {
    Q_OBJECT
public:
    explicit EffectBarStrip(QWidget* parent = nullptr);

    // Visibility, highlight and counts from the editor.
    void refresh(const effects::EffectEditor& editor);

    void setColours(const effectlook::EffectColours& c) { colours = c; }

signals:
    void barClicked(int barIndex);
    void barCountChosen(int mode, int count);
    void beatCountChosen(int mode, int count);
    void independentBassToggled(bool on);

private:
    effectlook::EffectColours colours;
    std::array<effectlook::ColourButton*, 33> bars{}; // [1..32]
    std::array<QComboBox*, 2> barCounts{};
    std::array<QComboBox*, 2> beatCounts{};
    std::array<QLabel*, 2> bassLabels{};
    QCheckBox* independentBass = nullptr;
    bool refreshing = false;
};

} // namespace rz::ui
