#pragma once
// rz760-sim as a child process serving UDP on 127.0.0.1 or a pseudo-terminal, for rz760ctl to
// talk to.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace rz::test {

class SimProgram {
public:
    SimProgram() = default;
    ~SimProgram();
    SimProgram(const SimProgram&) = delete;
    SimProgram& operator=(const SimProgram&) = delete;

    // Starts the simulator on a free UDP port, or on a pseudo-terminal linked at `ptyPath`
    // when one is given; false when it did not say where it listens.
    // `extra` are further simulator options (faults, RDM fixtures).
    bool start(const QString& ptyPath = {}, const QStringList& extra = {});
    // "udp:127.0.0.1:PORT" or "serial:PATH", for --link.
    QString link() const { return link_; }
    // What the simulator printed on standard error so far.
    QByteArray output();

private:
    QProcess process;
    QString link_;
    QByteArray printed;
};

} // namespace rz::test
