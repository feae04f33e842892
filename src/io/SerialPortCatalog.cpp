#include "io/SerialPortCatalog.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace rz::io {
namespace {

// n for a name "COMn" (any case), else 0.
int comNumber(const QString& portName)
{
    if (portName.size() < 4 || !portName.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    int n = portName.mid(3).toInt(&ok);
    return ok && n > 0 && portName.mid(3).at(0).isDigit() ? n : 0;
}

} // namespace

SerialPortEntry describeSerialPort(const QString& portName)
{
    SerialPortEntry e;
    e.number = comNumber(portName);
    if (e.number > 0) {
        e.kindName = QString::number(e.number);
        e.openName = QStringLiteral("COM%1").arg(e.number);
    } else {
        e.kindName = portName;
        e.openName = portName; // the serial port finds the device for its own name
    }
    return e;
}

std::vector<SerialPortEntry> listSerialPorts()
{
    std::vector<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.push_back(describeSerialPort(info.portName()));
    std::stable_sort(ports.begin(), ports.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        if ((a.number > 0) != (b.number > 0))
            return a.number > 0;
        if (a.number > 0)
            return a.number < b.number;
        return a.kindName < b.kindName;
    });
    return ports;
}

QString serialPortForKindName(const QString& kindName)
{
    QString name = kindName.trimmed();
    const QString suffix = QString::fromUtf16(kSerialKindSuffix);
    if (name.endsWith(suffix))
        name.chop(suffix.size());
    bool ok = false;
    int n = name.toInt(&ok);
    if (ok && n > 0 && name.at(0).isDigit())
        return QStringLiteral("COM%1").arg(n);
    return name;
}

} // namespace rz::io
