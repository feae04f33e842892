#pragma once
// The controller link over Wi-Fi: one UDP datagram per frame to the controller's address and
// port, and the bytes of every datagram from that address and port delivered to the link.
// Datagrams from any other sender are ignored, so nobody else on the network can inject
// frames.
#include "core/link/Transport.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QUdpSocket>

#include <optional>

namespace rz::io {

class UdpTransport : public QObject, public link::Transport {
    Q_OBJECT
public:
    explicit UdpTransport(QObject* parent = nullptr);
    ~UdpTransport() override;

    // The controller's address and port as the system file gives them ("WIFI_IP",
    // "WIFI_Port"). A dotted address is used directly, a host name is looked up in the
    // background. A missing or bad port, or an empty address, leaves the link unconfigured:
    // sends then go nowhere.
    void configure(const QString& host, const QString& port);
    bool isConfigured() const;

    // Closes the socket; the next send creates it again on a fresh local port.
    void reopen();
    // Closes the socket and forgets nothing of the configuration.
    void close();

    // True once configured: sending needs no connection.
    bool isOpen() const override;
    // One datagram with exactly these bytes; errors are ignored.
    void write(std::span<const uint8_t> bytes) override;

    // The local port of the socket, 0 while none exists.
    quint16 localPort() const;
    std::optional<QHostAddress> controllerAddress() const { return address; }
    quint16 controllerPort() const { return remotePort; }

private:
    bool ensureSocket();
    void readDatagrams();
    bool fromController(const QHostAddress& sender, quint16 senderPort) const;

    QUdpSocket* socket = nullptr;
    std::optional<QHostAddress> address;
    quint16 remotePort = 0;
    int lookupId = -1;
};

// The number in a port text; empty for text that is not a port 1..65535.
std::optional<quint16> parseUdpPort(const QString& text);

} // namespace rz::io
