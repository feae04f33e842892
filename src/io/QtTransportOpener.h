#pragma once
// The real transports behind the connection manager: the serial port and the Wi-Fi socket
// with its local test socket. The controller's Wi-Fi address and port are read from the
// system file the first time Wi-Fi is opened in a run.
#include "core/link/TransportOpener.h"
#include "io/LocalTestSocket.h"
#include "io/SerialTransport.h"
#include "io/UdpTransport.h"

#include <filesystem>
#include <functional>

namespace rz::io {

class QtTransportOpener : public link::TransportOpener {
public:
    QtTransportOpener(std::filesystem::path systemFile, TestSocketNotices testSocketNotices);

    std::vector<link::SerialPortChoice> listSerialPorts() override;
    // "3" opens COM3; any other text is a port name or device path.
    link::Transport* openSerial(const std::u16string& kindName) override;
    void closeSerial() override;
    link::Transport* openWifi() override;
    void closeWifi() override;

    // Called when the serial line has been quiet for a second after received bytes; the
    // link's receive buffer should then drop an incomplete frame.
    void setSerialIdleHandler(std::function<void()> handler);

    // The port the local test socket binds when Wi-Fi is first opened.
    void setLocalTestPort(quint16 port) { testPort = port; }

    SerialTransport& serialTransport() { return serial; }
    std::u16string wifiAddressText() override;
    UdpTransport& wifiTransport() { return wifi; }
    LocalTestSocket& localTestSocket() { return testSocket; }

private:
    std::filesystem::path systemFile;
    SerialTransport serial;
    UdpTransport wifi;
    LocalTestSocket testSocket;
    quint16 testPort = kLocalTestPort;
    bool wifiInitialized = false;
};

} // namespace rz::io
