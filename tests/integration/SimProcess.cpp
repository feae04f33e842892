#include "SimProcess.h"

#include "Waiting.h"

#include <QJsonDocument>

namespace rz::test {

SimProcess::SimProcess()
{
    process.setProgram(QStringLiteral(RZ760_SIM_PATH));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] { readLines(); });
    QObject::connect(&process, &QProcess::readyReadStandardError, [this] { readErrors(); });
}

SimProcess::~SimProcess()
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
}

bool SimProcess::start(const QStringList& options)
{
    process.setArguments(options);
    process.start();
    if (!process.waitForStarted(kDeadlineMs))
        return false;
    return waitUntil([this] { return ready || process.state() == QProcess::NotRunning; }) && ready;
}

quint16 SimProcess::udpPort() const
{
    const QString where = readyEvent.value(QLatin1String("udp")).toString();
    return static_cast<quint16>(where.section(QLatin1Char(':'), -1).toUInt());
}

void SimProcess::readLines()
{
    const QByteArray chunk = process.readAllStandardOutput();
    everything += chunk;
    pendingLine += chunk;
    qsizetype end;
    while ((end = pendingLine.indexOf('\n')) >= 0) {
        takeLine(pendingLine.left(end).trimmed());
        pendingLine.remove(0, end + 1);
    }
}

// "ready" may come as a plain line on either channel, or as an event.
void SimProcess::readErrors()
{
    const QByteArray chunk = process.readAllStandardError();
    errors += chunk;
    pendingErrorLine += chunk;
    qsizetype end;
    while ((end = pendingErrorLine.indexOf('\n')) >= 0) {
        if (pendingErrorLine.left(end).trimmed() == "ready")
            ready = true;
        pendingErrorLine.remove(0, end + 1);
    }
}

void SimProcess::takeLine(const QByteArray& line)
{
    if (line == "ready") {
        ready = true;
        return;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(line);
    if (!doc.isObject())
        return;
    const QJsonObject o = doc.object();
    if (o.value(QLatin1String("event")).toString() == QLatin1String("ready")) {
        readyEvent = o;
        ready = true;
    }
    parsed.push_back(o);
}

std::optional<QJsonObject> SimProcess::waitForEvent(const std::function<bool(const QJsonObject&)>& match)
{
    std::optional<QJsonObject> found;
    std::size_t checked = 0;
    waitUntil([&] {
        for (; checked < parsed.size(); ++checked) {
            if (match(parsed[checked])) {
                found = parsed[checked];
                return true;
            }
        }
        return process.state() == QProcess::NotRunning;
    });
    return found;
}

std::string SimProcess::transcript()
{
    readErrors();
    return (everything + errors).toStdString();
}

std::function<bool(const QJsonObject&)> eventIs(const char* kind, const char* command)
{
    const QString k = QString::fromLatin1(kind);
    const QString c = command ? QString::fromLatin1(command) : QString();
    return [k, c](const QJsonObject& o) {
        return o.value(QLatin1String("event")).toString() == k
            && (c.isEmpty() || o.value(QLatin1String("command")).toString() == c);
    };
}

} // namespace rz::test
