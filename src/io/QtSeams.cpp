#include "io/QtSeams.h"

#include <QCoreApplication>
#include <QTimer>

#include <climits>
#include <optional>

namespace rz::io {

namespace {

std::optional<WaitTracker::Scope> enter(WaitTracker* tracker)
{
    if (!tracker)
        return std::nullopt;
    return tracker->enter();
}

} // namespace

void QtYield::yield()
{
    const auto scope = enter(tracker);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

void QtYield::yieldUntilEvent(uint32_t maxMs)
{
    const auto scope = enter(tracker);
    if (maxMs == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // The timer only wakes the loop; whatever arrives first ends the sleep.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(static_cast<int>(std::min<uint32_t>(maxMs, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace rz::io
