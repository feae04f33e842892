#pragma once
// The rooms file of a venue: one room a line, a name and a link separated by white space
// ("101 udp:10.0.0.101:8899", "bar serial:/dev/ttyUSB0"); "#" starts a comment, blank lines
// are ignored. A name is also the name of the room's file in a fleet upload, so it may not
// hold a path separator or a character Windows refuses in file names.
#include "ctl/LinkAddress.h"

#include <QString>

#include <string>
#include <variant>
#include <vector>

namespace rz::ctl {

struct Room {
    QString name;
    QString linkText; // as written in the file
    LinkAddress link;
    int line = 0;
};

struct RoomsRefusal {
    int line = 0; // 0: the file as a whole
    std::string message;
};

// The rooms in file order, or the first line refused. Duplicate names and two rooms on one
// controller are refused, and so is a file without any room.
std::variant<std::vector<Room>, RoomsRefusal> parseRooms(const QString& text);

} // namespace rz::ctl
