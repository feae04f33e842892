#pragma once
// Waiting for something to happen while the event loop runs. Deadlines are generous: they
// only stop a test that would otherwise hang; no test depends on how long anything takes.
#include <QtCore/qtestsupport_core.h>

#include <QCoreApplication>
#include <QUdpSocket>

namespace rz::test {

inline constexpr int kDeadlineMs = 20000;

template <typename Predicate>
bool waitUntil(Predicate predicate, int deadlineMs = kDeadlineMs)
{
    return QTest::qWaitFor(predicate, deadlineMs);
}

// Lets queued events run without waiting for anything in particular.
inline void drainEvents()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// A UDP port on 127.0.0.1 that nobody uses right now.
inline quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

} // namespace rz::test
