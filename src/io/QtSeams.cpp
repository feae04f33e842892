#include "io/QtSeams.h"

#include <QCoreApplication>

namespace rz::io {

void QtYield::yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

} // namespace rz::io
