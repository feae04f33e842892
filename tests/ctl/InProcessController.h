#pragma once
// The simulated controller served over UDP on 127.0.0.1 from inside the test, for what the
// simulator program cannot be told from its command line (RDM fixtures on its DMX line).
// It answers only while the test's event loop runs (runCtl runs it).
#include "io/QtSeams.h"
#include "sim/Controller.h"

#include <QHostAddress>
#include <QTimer>
#include <QUdpSocket>

namespace rz::test {

class InProcessController {
public:
    InProcessController();
    bool listening() const { return socket.state() == QAbstractSocket::BoundState; }
    QString link() const { return QStringLiteral("udp:127.0.0.1:%1").arg(socket.localPort()); }
    sim::Controller& controller() { return sim; }

private:
    void readDatagrams();
    void sendDue();

    io::QtClock clock;
    sim::Controller sim{clock};
    QUdpSocket socket;
    QTimer pump;
    QHostAddress peer;
    quint16 peerPort = 0;
};

} // namespace rz::test
