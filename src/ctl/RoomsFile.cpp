#include "ctl/RoomsFile.h"

#include <QRegularExpression>

namespace rz::ctl {

namespace {

// Characters no room file may carry in its name on Linux or Windows.
bool isFileName(const QString& name)
{
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            return false;
    return true;
}

std::string quoted(const QString& text)
{
    return "\"" + text.toStdString() + "\"";
}

} // namespace

std::variant<std::vector<Room>, RoomsRefusal> parseRooms(const QString& text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    std::vector<Room> rooms;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        QString line = lines[i];
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        const qsizetype comment = line.indexOf(QLatin1Char('#'));
        if (comment >= 0)
            line.truncate(comment);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(space);
        if (fields.size() != 2)
            return RoomsRefusal{number, quoted(line) + ": a room is a name and a link (NAME udp:HOST:PORT or NAME serial:PORT)"};
        Room room{fields[0], fields[1], {}, number};
        if (!isFileName(room.name))
            return RoomsRefusal{number, "the room name " + quoted(room.name) +
                                            " cannot name a file (no / \\ : * ? \" < > | or control characters)"};
        const auto link = parseLinkAddress(room.linkText);
        if (!link)
            return RoomsRefusal{number, quoted(room.linkText) + " is neither serial:PORT nor udp:HOST:PORT"};
        room.link = *link;
        for (const Room& earlier : rooms) {
            // Windows file names ignore case, so "Bar" and "bar" would share one upload file.
            if (earlier.name.compare(room.name, Qt::CaseInsensitive) == 0)
                return RoomsRefusal{number, "room " + quoted(room.name) + " is listed twice (first on line " +
                                                std::to_string(earlier.line) + ")"};
            if (earlier.linkText == room.linkText)
                return RoomsRefusal{number, "rooms " + quoted(earlier.name) + " (line " + std::to_string(earlier.line) +
                                                ") and " + quoted(room.name) + " share the link " + quoted(room.linkText)};
        }
        rooms.push_back(std::move(room));
    }
    if (rooms.empty())
        return RoomsRefusal{0, "no room is listed"};
    return rooms;
}

} // namespace rz::ctl
