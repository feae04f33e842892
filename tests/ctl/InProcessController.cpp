#include "InProcessController.h"

#include <QNetworkDatagram>

namespace rz::test {

InProcessController::InProcessController()
{
    socket.bind(QHostAddress::LocalHost, 0);
    QObject::connect(&socket, &QUdpSocket::readyRead, [this] { readDatagrams(); });
    QObject::connect(&pump, &QTimer::timeout, [this] { sendDue(); });
    pump.start(1);
}

void InProcessController::readDatagrams()
{
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram d = socket.receiveDatagram();
        peer = d.senderAddress();
        peerPort = static_cast<quint16>(d.senderPort());
        const QByteArray bytes = d.data();
        sim.receive({reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
    }
    sendDue();
}

void InProcessController::sendDue()
{
    for (const auto& chunk : sim.takeOutputChunks())
        if (peerPort != 0)
            socket.writeDatagram(reinterpret_cast<const char*>(chunk.data()), static_cast<qint64>(chunk.size()), peer,
                                 peerPort);
}

} // namespace rz::test
