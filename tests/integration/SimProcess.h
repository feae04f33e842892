#pragma once
// The controller simulator program run as a child process, with its event lines collected.
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rz::test {

class SimProcess {
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator with these options and waits until it says "ready".
    bool start(const QStringList& options);
    // The UDP port it listens on, from its "ready" event (with --udp HOST:0 and --events).
    quint16 udpPort() const;

    // Writes to the simulator's standard input (its room input commands).
    void writeInput(const QByteArray& lines) { process.write(lines); }

    // Every JSON line printed so far, in order.
    const std::vector<QJsonObject>& events() const { return parsed; }
    // Waits until an event satisfies the predicate (earlier ones included); the first match.
    std::optional<QJsonObject> waitForEvent(const std::function<bool(const QJsonObject&)>& match);
    // Everything the program printed, for failure messages.
    std::string transcript();

private:
    void readLines();
    void readErrors();
    void takeLine(const QByteArray& line);

    QProcess process;
    std::vector<QJsonObject> parsed;
    QByteArray pendingLine;
    QByteArray pendingErrorLine;
    QJsonObject readyEvent;
    QByteArray everything;
    QByteArray errors;
    bool ready = false;
};

// An event of this kind ("frame", "reply", ...) with this command ("C0", "60").
std::function<bool(const QJsonObject&)> eventIs(const char* kind, const char* command = nullptr);

} // namespace rz::test
