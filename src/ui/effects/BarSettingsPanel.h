#pragma once
// The current bar's own values (bass hold, repeat count, beat dwell typed freely with its
// seconds) and the bar's copy, paste and clear, in a frame captioned with the bar.
#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;

namespace rz::effects {
class EffectEditor;
}

namespace rz::ui {

class BarSettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit BarSettingsPanel(QWidget* parent = nullptr);

    void refresh(const effects::EffectEditor& editor);
    // Red while the typed dwell text was refused.
    void showDwellRefused(bool refused);
    void showDwellSeconds(const QString& seconds);

signals:
    void bassHoldToggled(bool on);
    void repeatChosen(int count);
    void dwellTyped(const QString& text);
    void copyClicked();
    void pasteClicked();
    void clearClicked();

private:
    QCheckBox* bassHold = nullptr;
    QComboBox* repeat = nullptr;
    QComboBox* dwell = nullptr;
    QLabel* seconds = nullptr;
    bool refreshing = false;
};

} // namespace rz::ui
