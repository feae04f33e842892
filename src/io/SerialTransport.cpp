#include "io/SerialTransport.h"

#include <QFileInfo>

namespace rz::io {

QString serialDeviceLocation(const QString& port)
{
    QFileInfo info(port);
    if (port.contains(QLatin1Char('/')) && info.isSymLink()) {
        QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return port;
}

SerialTransport::SerialTransport(QObject* parent) : QObject(parent)
{
    idleTimer.setSingleShot(true);
    idleTimer.setInterval(kSerialIdleMs);
    connect(&idleTimer, &QTimer::timeout, this, [this] {
        if (onIdle)
            onIdle();
    });
    connect(&port, &QSerialPort::readyRead, this, &SerialTransport::readAvailable);
    connect(&port, &QSerialPort::errorOccurred, this, &SerialTransport::onPortError);
}

SerialTransport::~SerialTransport()
{
    close();
}

bool SerialTransport::open(const QString& name)
{
    close();
    requested = name;
    lastError.clear();
    port.setPortName(serialDeviceLocation(name));
    if (!port.open(QIODevice::ReadWrite)) {
        lastError = port.errorString();
        return false;
    }
    if (!applyLineSettings()) {
        lastError = port.errorString();
        port.close();
        return false;
    }
    port.clear(); // bytes left from before the open belong to nobody
    return true;
}

bool SerialTransport::applyLineSettings()
{
    return port.setBaudRate(kSerialBaudRate) && port.setDataBits(QSerialPort::Data8)
        && port.setParity(QSerialPort::NoParity) && port.setStopBits(QSerialPort::OneStop)
        && port.setFlowControl(QSerialPort::NoFlowControl);
}

void SerialTransport::close()
{
    idleTimer.stop();
    if (port.isOpen())
        port.close();
}

bool SerialTransport::reopen()
{
    if (requested.isEmpty())
        return false;
    return open(requested);
}

bool SerialTransport::isOpen() const
{
    return port.isOpen();
}

void SerialTransport::write(std::span<const uint8_t> bytes)
{
    if (!port.isOpen() || bytes.empty())
        return;
    port.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    port.flush();
}

void SerialTransport::setIdleHandler(std::function<void()> handler)
{
    onIdle = std::move(handler);
}

void SerialTransport::readAvailable()
{
    QByteArray data = port.readAll();
    if (data.isEmpty())
        return;
    idleTimer.start();
    deliver({reinterpret_cast<const uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())});
}

void SerialTransport::onPortError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError)
        return;
    lastError = port.errorString();
    // A device that went away (adapter unplugged, the far end of a pseudo-terminal closed)
    // fails every read at once: close it, or the event loop would be woken for it without
    // end. Write errors are ignored; the handshake finds out.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
        close();
}

} // namespace rz::io
