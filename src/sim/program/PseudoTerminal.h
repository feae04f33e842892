#pragma once
// The serial side: a pseudo-terminal whose device the tool opens through a symbolic link, and
// the clean shutdown on SIGTERM/SIGINT. Both exist only on POSIX systems; elsewhere create()
// reports that and the signal hook does nothing.
#include "ControllerLink.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace rz::sim::program {

class PseudoTerminal : public QObject {
    Q_OBJECT
public:
    static std::unique_ptr<PseudoTerminal> create(const QString& linkPath, ControllerLink& link,
                                                  QString& error);
    ~PseudoTerminal() override;

    QString deviceName() const { return device; }

private:
    PseudoTerminal(ControllerLink& link, const QString& linkPath);
    void readMaster();
    void write(std::span<const uint8_t> bytes);
    void flushBacklog();

    ControllerLink& link;
    QString linkPath;
    QString device;
    int master = -1;
    int slave = -1; // kept open so the master never sees a hang-up between clients
    QSocketNotifier* readNotifier = nullptr;
    QSocketNotifier* writeNotifier = nullptr;
    QByteArray backlog; // output the device could not take yet
};

// SIGTERM and SIGINT end the event loop normally, so destructors (the link removal) run.
void quitOnTerminationSignals(QObject* parent);

} // namespace rz::sim::program
