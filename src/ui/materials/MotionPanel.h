#pragma once
// The circle motion's parameters (Frame素材动作_画圆): the focus fixture's nine values and
// the global speed, each a list of its range that also takes typed numbers.
#include "core/materials/Material.h"

#include <QFrame>

#include <array>

class QComboBox;

namespace rz::ui {

class MotionPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kParameters = 9;
    explicit MotionPanel(QWidget* parent = nullptr);

    void showFixture(const materials::Material& m, int focus);
    // A refused number turns its box light red until a valid one is typed.
    void markParameter(int k, bool valid);
    void markSpeed(bool valid);

signals:
    void parameterTyped(int k, const QString& text);
    void speedTyped(const QString& text);
    void generateClicked();
    void hideClicked();

private:
    std::array<QComboBox*, kParameters + 1> boxes{};
    QComboBox* speedBox = nullptr;
};

} // namespace rz::ui
