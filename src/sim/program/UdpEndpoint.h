#pragma once
// The Wi-Fi side: a bound UDP socket. Every datagram's bytes go to the controller; each reply
// frame (or piece) goes back as one datagram to whoever sent the last datagram.
#include "ControllerLink.h"

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

namespace rz::sim::program {

class UdpEndpoint : public QObject {
    Q_OBJECT
public:
    UdpEndpoint(ControllerLink& link, QObject* parent = nullptr);
    bool bind(const QString& host, uint16_t port, QString& error);
    // "host:port" actually bound.
    QString boundAddress() const;

private:
    void readDatagrams();

    ControllerLink& link;
    QUdpSocket socket;
    QHostAddress peer;
    uint16_t peerPort = 0;
};

} // namespace rz::sim::program
