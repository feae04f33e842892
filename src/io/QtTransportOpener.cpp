#include "io/QtTransportOpener.h"

#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "io/SerialPortCatalog.h"

namespace rz::io {

QtTransportOpener::QtTransportOpener(std::filesystem::path systemFile, TestSocketNotices notices)
    : systemFile(std::move(systemFile)), testSocket(std::move(notices))
{
}

std::vector<link::SerialPortChoice> QtTransportOpener::listSerialPorts()
{
    std::vector<link::SerialPortChoice> choices;
    for (const SerialPortEntry& port : io::listSerialPorts()) {
        link::SerialPortChoice c;
        c.kindName = port.kindName.toStdU16String();
        c.number = port.number >= 1 && port.number <= 255 ? static_cast<uint8_t>(port.number) : 0;
        choices.push_back(std::move(c));
    }
    return choices;
}

link::Transport* QtTransportOpener::openSerial(const std::u16string& kindName)
{
    const QString port = serialPortForKindName(QString::fromStdU16String(kindName));
    if (port.isEmpty())
        serial.close();
    else
        serial.open(port);
    return &serial;
}

void QtTransportOpener::closeSerial()
{
    serial.close();
}

link::Transport* QtTransportOpener::openWifi()
{
    if (!wifiInitialized) {
        testSocket.bind(testPort);
        wifi.configure(QString::fromStdU16String(readKey(systemFile, keys::kWifiIp)),
                       QString::fromStdU16String(readKey(systemFile, keys::kWifiPort)));
        wifiInitialized = true;
    }
    wifi.reopen();
    return &wifi;
}

void QtTransportOpener::closeWifi()
{
    wifi.close();
    testSocket.close();
}

void QtTransportOpener::setSerialIdleHandler(std::function<void()> handler)
{
    serial.setIdleHandler(std::move(handler));
}

std::u16string QtTransportOpener::wifiAddressText()
{
    const auto address = wifi.controllerAddress();
    if (!address || wifi.controllerPort() == 0)
        return {};
    return QStringLiteral("%1:%2").arg(address->toString()).arg(wifi.controllerPort()).toStdU16String();
}

} // namespace rz::io
