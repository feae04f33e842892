#include "ui/widgets/WheelRouter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace rz::ui {

namespace {

constexpr uint16_t kDownNow = 0x8000;
constexpr uint16_t kPressedSince = 0x0001;

int virtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up:
        return kVirtualKeyUp;
    case Qt::Key_Down:
        return kVirtualKeyDown;
    default:
        return 0;
    }
}

} // namespace

uint16_t ArrowKeyState::asyncKeyState(int virtualKey)
{
    auto it = states.find(virtualKey);
    if (it == states.end())
        return 0;
    const uint16_t s = it->second;
    it->second &= kDownNow;
    return s;
}

void ArrowKeyState::keyDown(int virtualKey)
{
    states[virtualKey] = kDownNow | kPressedSince;
}

void ArrowKeyState::keyUp(int virtualKey)
{
    states[virtualKey] &= static_cast<uint16_t>(~kDownNow);
}

bool ArrowKeyState::anyPending() const
{
    for (const auto& [key, state] : states)
        if (state != 0)
            return true;
    return false;
}

WheelRouter::WheelRouter(QObject* parent) : QObject(parent) {}

WheelRouter::~WheelRouter()
{
    if (installed && qApp)
        qApp->removeEventFilter(this);
}

void WheelRouter::installWheelHook(QWidget* mainWindow)
{
    window = mainWindow;
    if (wheelOff || installed || !qApp)
        return;
    // Wheel events go to the widget under the pointer, so the hook sits on the application and
    // keeps to this window's widgets.
    qApp->installEventFilter(this);
    installed = true;
}

void WheelRouter::setStepHandler(WheelPage page, StepHandler handler)
{
    if (page == WheelPage::fixtureLibrary)
        fixtureHandler = std::move(handler);
    else if (page == WheelPage::material)
        materialHandler = std::move(handler);
}

bool WheelRouter::step(WheelStep s)
{
    if (s == WheelStep::none)
        return false;
    const WheelTarget target = wheelTargetFor(focus_);
    const StepHandler& handler = target.page == WheelPage::fixtureLibrary ? fixtureHandler
                                 : target.page == WheelPage::material     ? materialHandler
                                                                          : StepHandler{};
    if (!handler)
        return false;
    handler(s == WheelStep::up, target.channel);
    return true;
}

bool WheelRouter::handleWheel(int delta, bool anyModifier)
{
    const bool isClosing = closing && closing();
    return step(wheelStepFor(delta, anyModifier, wheelOff, isClosing));
}

void WheelRouter::keyboardScrollingStep()
{
    const WheelStep s = keyboardScrollStep(keys); // read even when off, so no press is kept
    if (wheelOff || (closing && closing()))
        return;
    step(s);
}

bool WheelRouter::belongsToWindow(QObject* o) const
{
    auto* w = qobject_cast<QWidget*>(o);
    return w && window && (w == window || window->isAncestorOf(w));
}

bool WheelRouter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Wheel: {
        if (!belongsToWindow(watched))
            break;
        auto* wheel = static_cast<QWheelEvent*>(event);
        // A turn nobody takes travels up to the parents; each sees the same rule and declines.
        const QPoint d = wheel->angleDelta();
        const bool modifiers = wheel->modifiers() != Qt::NoModifier || d.x() != 0;
        if (handleWheel(d.y(), modifiers))
            return true;
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const int vk = virtualKeyOf(key->key());
        if (vk == 0 || key->isAutoRepeat() || !belongsToWindow(watched))
            break;
        if (event->type() == QEvent::KeyPress) {
            keys.keyDown(vk);
            if (onArrowKey)
                onArrowKey();
        } else {
            keys.keyUp(vk);
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace rz::ui
