#pragma once
// How the connection manager reaches the real transports. The io layer implements it with
// the serial port and the Wi-Fi socket; tests implement it with fakes. It owns the transport
// objects; the pointers it returns stay valid until the matching close call.
#include "core/link/Transport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rz::link {

// One serial port as the connection list shows it.
struct SerialPortChoice {
    // The text before "串口" in the list: "3" for COM3, else the system's name of the port
    // ("ttyUSB0") or a device path. openSerial() takes exactly this text.
    std::u16string kindName;
    // n for a numbered COM port, 0 for any other port.
    uint8_t number = 0;
};

class TransportOpener {
public:
    virtual ~TransportOpener() = default;

    // The ports that can be opened now, in list order.
    virtual std::vector<SerialPortChoice> listSerialPorts() = 0;

    // Opens the port named by a list text (see SerialPortChoice::kindName), closing any other
    // serial port first. Returns the serial transport even when opening failed (it is then not
    // open and sends go nowhere); null only when there is no serial support at all.
    virtual Transport* openSerial(const std::u16string& kindName) = 0;
    // Closes the serial port; nothing happens when none is open.
    virtual void closeSerial() = 0;

    // The Wi-Fi transport: configured from the system file on the first call of the run; each
    // call closes the controller socket so that the next send creates it afresh.
    virtual Transport* openWifi() = 0;
    // Closes the controller socket and the local test socket (program exit).
    virtual void closeWifi() = 0;

    // Where the Wi-Fi link sends ("192.168.1.20:5000"); empty when it is not configured.
    virtual std::u16string wifiAddressText() { return {}; }
};

} // namespace rz::link
