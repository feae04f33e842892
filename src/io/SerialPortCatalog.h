#pragma once
// The serial ports of this computer as the connection list shows them: "3串口" for COM3,
// the system name for ports that are not numbered COM ports ("ttyUSB0串口").
#include <QString>

#include <vector>

namespace rz::io {

inline constexpr char16_t kSerialKindSuffix[] = u"串口";

struct SerialPortEntry {
    QString kindName;  // shown before "串口"
    QString openName;  // what SerialTransport::open takes to open this port again
    int number = 0;    // n for COMn, 0 for other ports
};

// Describes one port from its system name ("COM3", "ttyUSB0").
SerialPortEntry describeSerialPort(const QString& portName);

// The system's serial ports: numbered COM ports in ascending order, then the others by name.
std::vector<SerialPortEntry> listSerialPorts();

// The port name or path to open for a name shown before "串口" (with or without the suffix):
// a number n gives COMn, anything else is itself. Empty for an empty name.
QString serialPortForKindName(const QString& kindName);

} // namespace rz::io
