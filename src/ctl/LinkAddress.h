#pragma once
// The --link argument: "serial:PORT" (a port name or device path) or "udp:HOST:PORT".
#include <QString>

#include <cstdint>
#include <optional>

namespace rz::ctl {

struct LinkAddress {
    enum class Kind { serial, udp } kind = Kind::serial;
    QString port;     // serial: name or path
    QString host;     // udp
    uint16_t udpPort = 0;
};

// Empty for text of another form, an empty port or host, or a UDP port outside 1..65535.
std::optional<LinkAddress> parseLinkAddress(const QString& text);

} // namespace rz::ctl
