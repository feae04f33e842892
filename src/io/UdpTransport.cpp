#include "io/UdpTransport.h"

#include <QHostInfo>
#include <QNetworkDatagram>

namespace rz::io {

std::optional<quint16> parseUdpPort(const QString& text)
{
    bool ok = false;
    uint n = text.trimmed().toUInt(&ok);
    if (!ok || n == 0 || n > 65535)
        return std::nullopt;
    return static_cast<quint16>(n);
}

UdpTransport::UdpTransport(QObject* parent) : QObject(parent) {}

UdpTransport::~UdpTransport()
{
    if (lookupId >= 0)
        QHostInfo::abortHostLookup(lookupId);
    close();
}

void UdpTransport::configure(const QString& host, const QString& port)
{
    close();
    if (lookupId >= 0) {
        QHostInfo::abortHostLookup(lookupId);
        lookupId = -1;
    }
    address.reset();
    remotePort = parseUdpPort(port).value_or(0);

    const QString name = host.trimmed();
    if (name.isEmpty())
        return;
    QHostAddress literal;
    if (literal.setAddress(name)) {
        address = literal;
        return;
    }
    lookupId = QHostInfo::lookupHost(name, this, [this](const QHostInfo& info) {
        lookupId = -1;
        const auto found = info.addresses();
        for (const QHostAddress& a : found) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                address = a;
                return;
            }
        }
        if (!found.isEmpty())
            address = found.front();
    });
}

bool UdpTransport::isConfigured() const
{
    return address.has_value() && remotePort != 0;
}

bool UdpTransport::isOpen() const
{
    return isConfigured();
}

void UdpTransport::reopen()
{
    close();
}

void UdpTransport::close()
{
    if (!socket)
        return;
    socket->disconnect(this);
    socket->close();
    socket->deleteLater();
    socket = nullptr;
}

quint16 UdpTransport::localPort() const
{
    return socket ? socket->localPort() : 0;
}

bool UdpTransport::ensureSocket()
{
    if (socket)
        return true;
    if (!address)
        return false;
    socket = new QUdpSocket(this);
    const QHostAddress any = address->protocol() == QAbstractSocket::IPv6Protocol
        ? QHostAddress(QHostAddress::AnyIPv6)
        : QHostAddress(QHostAddress::AnyIPv4);
    if (!socket->bind(any, 0)) {
        close();
        return false;
    }
    connect(socket, &QUdpSocket::readyRead, this, &UdpTransport::readDatagrams);
    // An error closes the socket without a word; the next send makes a new one.
    connect(socket, &QUdpSocket::errorOccurred, this, [this] { close(); });
    return true;
}

void UdpTransport::write(std::span<const uint8_t> bytes)
{
    if (bytes.empty() || !isConfigured() || !ensureSocket())
        return;
    socket->writeDatagram(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qint64>(bytes.size()), *address, remotePort);
}

bool UdpTransport::fromController(const QHostAddress& sender, quint16 senderPort) const
{
    return address && senderPort == remotePort
        && sender.isEqual(*address, QHostAddress::ConvertV4MappedToIPv4);
}

void UdpTransport::readDatagrams()
{
    // Every queued datagram is taken, so a reply that arrives right behind another is not lost.
    while (socket && socket->hasPendingDatagrams()) {
        QNetworkDatagram d = socket->receiveDatagram();
        if (!d.isValid() || !fromController(d.senderAddress(), static_cast<quint16>(d.senderPort())))
            continue;
        const QByteArray data = d.data();
        deliver({reinterpret_cast<const uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())});
    }
}

} // namespace rz::io
