#include "io/LocalTestSocket.h"

#include "io/SocketErrors.h"

#include <QNetworkDatagram>
#include <QScopedValueRollback>

namespace rz::io {

LocalTestSocket::LocalTestSocket(TestSocketNotices n, QObject* parent)
    : QObject(parent), notices(std::move(n))
{
}

LocalTestSocket::~LocalTestSocket()
{
    close();
}

bool LocalTestSocket::bind(quint16 port)
{
    close();
    socket = new QUdpSocket(this);
    connect(socket, &QUdpSocket::readyRead, this, &LocalTestSocket::readDatagrams);
    if (!socket->bind(QHostAddress::AnyIPv4, port)) {
        onError(socket->error());
        return false;
    }
    connect(socket, &QUdpSocket::errorOccurred, this, &LocalTestSocket::onError);
    return true;
}

void LocalTestSocket::close()
{
    if (!socket)
        return;
    socket->disconnect(this);
    socket->close();
    socket->deleteLater();
    socket = nullptr;
}

bool LocalTestSocket::isBound() const
{
    return socket && socket->state() == QAbstractSocket::BoundState;
}

void LocalTestSocket::discardPending()
{
    while (socket && socket->hasPendingDatagrams())
        socket->receiveDatagram(0);
}

void LocalTestSocket::readDatagrams()
{
    if (!socket)
        return;
    if (boxOpen) {
        discardPending();
        return;
    }
    // An empty datagram carries nothing to report.
    QNetworkDatagram d;
    do {
        d = socket->receiveDatagram();
    } while (d.isValid() && d.data().isEmpty() && socket->hasPendingDatagrams());
    if (!d.isValid() || d.data().isEmpty())
        return;
    const std::u16string text = QString::number(d.data().size()).toStdU16String();
    {
        QScopedValueRollback<bool> guard(boxOpen, true);
        if (notices.message)
            notices.message(text);
    }
    // Whatever arrived while the box was open is dropped with it.
    discardPending();
}

void LocalTestSocket::onError(QAbstractSocket::SocketError error)
{
    const int code = socketErrorCode(error);
    close();
    if (boxOpen)
        return;
    QScopedValueRollback<bool> guard(boxOpen, true);
    if (notices.error)
        notices.error(std::u16string(kTestSocketErrorTitle) + QString::number(code).toStdU16String(),
                      std::u16string(socketErrorText(code)));
}

} // namespace rz::io
