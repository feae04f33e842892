#include "ctl/WaitingYield.h"

#include <QCoreApplication>

namespace rz::ctl {

WaitingYield::WaitingYield()
{
    tick.setTimerType(Qt::PreciseTimer);
    tick.start(kTickMs);
}

void WaitingYield::yield()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace rz::ctl
