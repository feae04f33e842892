#include "CtlRun.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace rz::test {

CtlRun runCtl(const QStringList& arguments)
{
    QProcess p;
    CtlRun r;
    // The event loop runs meanwhile, so a controller served by the test answers.
    QEventLoop loop;
    QTimer deadline; // generous: only a hung program reaches it
    deadline.setSingleShot(true);
    QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&p, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    p.start(QStringLiteral(RZ760CTL_PATH), arguments);
    deadline.start(240000);
    if (p.state() != QProcess::NotRunning)
        loop.exec();
    if (p.state() != QProcess::NotRunning || p.error() == QProcess::FailedToStart) {
        p.kill();
        p.waitForFinished();
        r.err = "rz760ctl did not finish";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

} // namespace rz::test
