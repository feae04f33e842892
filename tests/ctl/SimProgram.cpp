#include "SimProgram.h"

#include <QRegularExpression>

namespace rz::test {

SimProgram::~SimProgram()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
}

bool SimProgram::start(const QString& ptyPath, const QStringList& extra)
{
    // No event lines: nobody reads them while rz760ctl runs, and a full pipe would stall the
    // simulator.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setReadChannel(QProcess::StandardError);
    const QStringList options = ptyPath.isEmpty() ? QStringList{QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0")}
                                                  : QStringList{QStringLiteral("--pty"), ptyPath};
    process.start(QStringLiteral(RZ760_SIM_PATH), options + extra);
    if (!process.waitForStarted(10000))
        return false;
    // It names the port it chose on standard error ("rz760-sim: udp 127.0.0.1:PORT"), then
    // says "ready".
    static const QRegularExpression where(QStringLiteral("udp (127\\.0\\.0\\.1:[0-9]+)"));
    while (process.waitForReadyRead(10000) || process.canReadLine()) {
        printed += process.readAllStandardError();
        if (!printed.contains("ready"))
            continue;
        if (!ptyPath.isEmpty()) {
            link_ = QStringLiteral("serial:") + ptyPath;
            return true;
        }
        const auto match = where.match(QString::fromUtf8(printed));
        if (match.hasMatch()) {
            link_ = QStringLiteral("udp:") + match.captured(1);
            return true;
        }
    }
    return false;
}

QByteArray SimProgram::output()
{
    printed += process.readAllStandardError();
    return printed;
}

} // namespace rz::test
