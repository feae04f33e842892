#include "UdpEndpoint.h"

#include <QNetworkDatagram>

namespace rz::sim::program {

UdpEndpoint::UdpEndpoint(ControllerLink& link, QObject* parent) : QObject(parent), link(link)
{
    link.setSender([this](std::span<const uint8_t> bytes) {
        if (peerPort == 0)
            return;
        socket.writeDatagram(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qint64>(bytes.size()), peer, peerPort);
    });
    connect(&socket, &QUdpSocket::readyRead, this, &UdpEndpoint::readDatagrams);
}

bool UdpEndpoint::bind(const QString& host, uint16_t port, QString& error)
{
    QHostAddress address;
    if (!address.setAddress(host)) {
        if (host == QLatin1String("localhost")) {
            address = QHostAddress::LocalHost;
        } else {
            error = "not an IP address: " + host;
            return false;
        }
    }
    if (!socket.bind(address, port)) {
        error = "cannot bind UDP " + host + ":" + QString::number(port) + ": " +
                socket.errorString();
        return false;
    }
    return true;
}

QString UdpEndpoint::boundAddress() const
{
    QString host = socket.localAddress().toString();
    if (socket.localAddress().protocol() == QAbstractSocket::IPv6Protocol)
        host = "[" + host + "]";
    return host + ":" + QString::number(socket.localPort());
}

void UdpEndpoint::readDatagrams()
{
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram d = socket.receiveDatagram();
        if (!d.isValid())
            continue;
        peer = d.senderAddress();
        peerPort = static_cast<uint16_t>(d.senderPort());
        const QByteArray data = d.data();
        link.receive({reinterpret_cast<const uint8_t*>(data.constData()),
                      static_cast<std::size_t>(data.size())});
    }
}

} // namespace rz::sim::program
