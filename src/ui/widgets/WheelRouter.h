#pragma once
// The mouse wheel and the arrow keys as level steps for the fader under the pointer. The
// router watches the main window's events: one notch (±120) without modifiers is a step for
// the page that owns the wheel focus (1000 + channel fixture library, 2000 + channel
// material page); every other wheel turn goes on to the widget as usual.
#include "core/app/FaderMath.h"
#include "core/app/Seams.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

class QWidget;

namespace rz::ui {

// Up and Down as the keyboard-state seam sees them: held now, or pressed since the last look.
class ArrowKeyState : public KeyState {
public:
    uint16_t asyncKeyState(int virtualKey) override;
    void keyDown(int virtualKey);
    void keyUp(int virtualKey);
    // An arrow is held, or a press has not been looked at yet.
    bool anyPending() const;

private:
    std::map<int, uint16_t> states;
};

class WheelRouter : public QObject {
    Q_OBJECT
public:
    using StepHandler = std::function<void(bool up, int channel)>;

    explicit WheelRouter(QObject* parent = nullptr);
    ~WheelRouter() override;

    // "禁止鼠标滚轮" = 1: neither the wheel nor the arrow keys change a level.
    void setWheelDisabled(bool disabled) { wheelOff = disabled; }
    bool wheelDisabled() const { return wheelOff; }
    // Routes the wheel and the arrow keys of this window (and its children) through the router.
    // With the wheel disabled nothing is installed.
    void installWheelHook(QWidget* mainWindow);

    // Fun_鼠标滚轮焦点: which fader the wheel acts on.
    void setWheelFocus(int32_t focus) { focus_ = focus; }
    int32_t wheelFocus() const { return focus_; }

    // Each page's Fun_鼠标滚轮触发.
    void setStepHandler(WheelPage page, StepHandler handler);
    // True while the program is closing: the wheel does nothing then.
    std::function<bool()> closing;

    // One wheel message; true when it became a step.
    bool handleWheel(int delta, bool anyModifier);
    // The 50-ms keyboard-scrolling task; it has work only while keyboardScrollingPending().
    void keyboardScrollingStep();
    bool keyboardScrollingPending() const { return keys.anyPending(); }
    // An arrow key went down (the main loop wakes for the scrolling task).
    std::function<void()> onArrowKey;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool step(WheelStep s);
    bool belongsToWindow(QObject* o) const;

    QPointer<QWidget> window;
    bool wheelOff = false;
    bool installed = false;
    int32_t focus_ = 0;
    StepHandler fixtureHandler;
    StepHandler materialHandler;
    ArrowKeyState keys;
};

} // namespace rz::ui
