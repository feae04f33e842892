#pragma once
// The controller link over a serial port: a built-in port, a USB adapter or a
// pseudo-terminal, at 115200 baud, 8 data bits, no parity, one stop bit, no flow control.
// Received bytes are delivered as they arrive (no polling).
#include "core/link/Transport.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <functional>

namespace rz::io {

inline constexpr qint32 kSerialBaudRate = 115200;
// An incomplete frame is abandoned after this long without data (a hundred 10-ms polls).
inline constexpr int kSerialIdleMs = 1000;

// What to hand the serial port for a port name or device path: a path that is a symbolic
// link (the simulator's pseudo-terminal, /dev/serial/by-id/...) becomes the device it
// points to, so the device's lock is shared by every name of it; names stay as they are.
QString serialDeviceLocation(const QString& port);

class SerialTransport : public QObject, public link::Transport {
    Q_OBJECT
public:
    explicit SerialTransport(QObject* parent = nullptr);
    ~SerialTransport() override;

    // Opens a port by name ("COM3", "ttyUSB0") or by device path, closing any open port
    // first. False when it cannot be opened; errorText() then says why.
    bool open(const QString& port);
    // Closes the port; does nothing when none is open.
    void close();
    // Closes the last opened port and opens it again (the reconnect before a handshake).
    bool reopen();

    bool isOpen() const override;
    // Queues the bytes and hands them to the driver at once; nothing happens when closed.
    void write(std::span<const uint8_t> bytes) override;

    // Called when the line has been quiet for kSerialIdleMs after received bytes, so the
    // link can drop an incomplete frame.
    void setIdleHandler(std::function<void()> handler);

    // The name or path last passed to open().
    QString portName() const { return requested; }
    // Why the last open failed or the port closed by itself; empty when nothing went wrong.
    QString errorText() const { return lastError; }

private:
    void readAvailable();
    void onPortError(QSerialPort::SerialPortError error);
    bool applyLineSettings();

    QSerialPort port;
    QTimer idleTimer;
    QString requested;
    QString lastError;
    std::function<void()> onIdle;
};

} // namespace rz::io
