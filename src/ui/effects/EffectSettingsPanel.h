#pragma once
// The effect-wide controls: note, bass switches, thresholds, the effect and module files,
// the simulated drum hits with their indicator, and the way back to the scene page. The page
// connects to the controls it exposes and repaints them through refresh().
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace rz::effects {
class EffectEditor;
class EffectPreview;
} // namespace rz::effects

namespace rz::ui {

class EffectSettingsPanel : public QWidget {
    Q_OBJECT
public:
    explicit EffectSettingsPanel(QWidget* parent = nullptr);

    void refresh(const effects::EffectEditor& editor);
    void showAutoDrum(const effects::EffectPreview& preview);
    void showDrumIndicator(bool lit);
    void showCorrespondenceColour(const QColor& colour);
    void showBassDisabledLook(bool on);

    QLineEdit* effectNote = nullptr;
    QCheckBox* correspondence = nullptr;
    QCheckBox* bassSwitchJumpsBar = nullptr;
    QCheckBox* bassDisabled = nullptr;
    QComboBox* bassHoldTime = nullptr;
    QComboBox* rgbThreshold = nullptr;
    QComboBox* xyThreshold = nullptr;
    QPushButton* clearEffect = nullptr;
    QPushButton* importEffect = nullptr;
    QPushButton* exportEffect = nullptr;
    QPushButton* importModule = nullptr;
    QPushButton* exportModule = nullptr;
    QPushButton* autoDrum = nullptr;
    QPushButton* manualDrum = nullptr;
    QPushButton* back = nullptr;
    // The drum controls with their indicator, laid out by the page beside the grid's controls.
    QGroupBox* drumFrame() const { return drumIndicator; }

private:
    QGroupBox* drumIndicator = nullptr;
    QColor correspondenceColour;
};

} // namespace rz::ui
