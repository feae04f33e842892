#pragma once
// What a fleet command prints: one result line per room as it finishes (room, result, time,
// detail), then a summary line and a table of every room in the rooms file's order. With
// JSON the result lines go to standard error and standard output holds one JSON document.
#include "ctl/FleetRunner.h"
#include "ctl/ShowTool.h"

#include <string>
#include <vector>

namespace rz::ctl {

class FleetReport {
public:
    FleetReport(const std::vector<Room>& rooms, std::string command, bool json, ToolStreams io);

    void roomFinished(std::size_t room, const RoomResult& r);
    // The summary; returns the exit status: 0 only when every room succeeded.
    int finish(const std::vector<RoomResult>& results, bool interrupted);

private:
    std::string line(std::size_t room, const RoomResult& r) const;

    const std::vector<Room>& rooms;
    std::string command;
    bool json;
    ToolStreams io;
    int nameWidth = 4;
    int linkWidth = 4;
};

// "ok", "failed", "cancelled", "not started".
const char* statusWord(RoomStatus s);

} // namespace rz::ctl
