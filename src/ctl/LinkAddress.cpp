#include "ctl/LinkAddress.h"

#include "io/UdpTransport.h"

namespace rz::ctl {

std::optional<LinkAddress> parseLinkAddress(const QString& text)
{
    LinkAddress a;
    if (text.startsWith(QLatin1String("serial:"))) {
        a.kind = LinkAddress::Kind::serial;
        a.port = text.mid(7);
        if (a.port.isEmpty())
            return std::nullopt;
        return a;
    }
    if (text.startsWith(QLatin1String("udp:"))) {
        const QString rest = text.mid(4);
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0)
            return std::nullopt;
        a.kind = LinkAddress::Kind::udp;
        a.host = rest.left(colon);
        const auto port = io::parseUdpPort(rest.mid(colon + 1));
        if (!port)
            return std::nullopt;
        a.udpPort = *port;
        return a;
    }
    return std::nullopt;
}

} // namespace rz::ctl
