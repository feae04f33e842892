#pragma once
// The effects-unit infrared keys 1..17: each box shows and takes the key's four code bytes as
// hexadecimal text, and while a box has focus the controller is asked to learn a code for it.
#include "core/app/Notifier.h"
#include "core/lightcontrol/IrLearning.h"

#include <QColor>
#include <QGroupBox>

#include <array>
#include <cstdint>
#include <span>

class QLabel;
class QLineEdit;
class QTimer;

namespace rz::ui {

struct PageContext;

class IrKeyPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit IrKeyPanel(PageContext& context, QWidget* parent = nullptr);
    ~IrKeyPanel() override;

    // Fun_效果器红外_控件显示: every box from the settings, normal background.
    void refresh();
    // One tick of the learning poll timer (Timer效果器红外焦点).
    void pollLearning();
    // Fun_效果器红外接收码值: a frame from the controller.
    void receiveFrame(uint8_t command, std::span<const uint8_t> payload);

    const lightcontrol::IrLearning& learning() const { return learner; }
    static QColor invalidBackground() { return QColor(255, 192, 192); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showKey(int key);
    void keyTextEdited(int key, const QString& text);
    void setBoxBackground(int key, bool invalid);
    void setLabelLearning(int key, bool learning);
    void restartTimer();

    PageContext& context;
    lightcontrol::IrLearning learner;
    std::array<QLineEdit*, lightcontrol::kEditableIrKeys + 1> boxes{};
    std::array<QLabel*, lightcontrol::kEditableIrKeys + 1> labels{};
    QTimer* timer = nullptr;
};

} // namespace rz::ui
