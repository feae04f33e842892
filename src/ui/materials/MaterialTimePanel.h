#pragma once
// The material page's time and property controls: single-step or uniform time, the fades,
// the jump interval, brightness, start mode, dimming role, hardware acceleration, restart on
// call and the motion type. Refused numbers colour their box and store nothing.
#include "core/materials/Material.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace rz::materials {
class MaterialEditorSession;
}

namespace rz::ui {

class MaterialTimePanel : public QWidget {
    Q_OBJECT
public:
    explicit MaterialTimePanel(QWidget* parent = nullptr);

    // Every control edits `session`'s material; `changed` redraws the page after an edit that
    // other controls show.
    void connectTo(materials::MaterialEditorSession& session, std::function<void()> changed);
    void showMaterial(const materials::Material& m, int step);
    // The single-step box's number when it holds a storable time.
    std::optional<int16_t> typedStepTime() const;

    // "1.5秒" for 15.
    static QString secondsText(int tenths);

signals:
    void motionTypeChosen(int type);

private:
    void showTimeMode(const materials::Material& m);
    void showSeconds(const materials::Material& m, int step);

    QCheckBox* perStepCheck = nullptr;
    QLabel* timeLabel = nullptr;
    QLineEdit* uniformBox = nullptr;
    QLineEdit* stepBox = nullptr;
    QLabel* secondsLabel = nullptr;
    QCheckBox* allFadeCheck = nullptr;
    QCheckBox* fadeNextCheck = nullptr;
    QLineEdit* jumpBox = nullptr;
    QCheckBox* jumpEndCheck = nullptr;
    QComboBox* brightnessBox = nullptr;
    QComboBox* startModeBox = nullptr;
    QComboBox* dimmingBox = nullptr;
    QComboBox* accelerationBox = nullptr;
    QCheckBox* restartCheck = nullptr;
    QComboBox* motionBox = nullptr;
    bool showing = false;
};

} // namespace rz::ui
