#include "ctl/FleetReport.h"

#include "ctl/ExitCodes.h"

#include <nlohmann/json.hpp>

#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace rz::ctl {

namespace {

constexpr int kStatusWidth = 11; // "not started"

// Terminal columns: room names may be Chinese, whose characters take two.
int columnsOf(const std::string& text)
{
    int columns = 0;
    for (const uint c : QString::fromStdString(text).toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                          (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
        columns += wide ? 2 : 1;
    }
    return columns;
}

std::string padded(const std::string& text, int width)
{
    return text + std::string(static_cast<std::size_t>(std::max(0, width - columnsOf(text))), ' ');
}

std::string secondsText(double s)
{
    char text[32];
    std::snprintf(text, sizeof text, "%7.2f s", s);
    return text;
}

} // namespace

const char* statusWord(RoomStatus s)
{
    switch (s) {
    case RoomStatus::ok: return "ok";
    case RoomStatus::failed: return "failed";
    case RoomStatus::cancelled: return "cancelled";
    case RoomStatus::notStarted: return "not started";
    }
    return "failed";
}

FleetReport::FleetReport(const std::vector<Room>& rooms, std::string command, bool json, ToolStreams io)
    : rooms(rooms), command(std::move(command)), json(json), io(io)
{
    for (const Room& r : rooms) {
        nameWidth = std::max(nameWidth, columnsOf(r.name.toStdString()));
        linkWidth = std::max(linkWidth, columnsOf(r.linkText.toStdString()));
    }
}

std::string FleetReport::line(std::size_t room, const RoomResult& r) const
{
    return padded(rooms[room].name.toStdString(), nameWidth) + "  " + padded(statusWord(r.status), kStatusWidth) + "  " +
           secondsText(r.seconds) + "  " + r.detail;
}

void FleetReport::roomFinished(std::size_t room, const RoomResult& r)
{
    std::ostream& out = json ? io.err : io.out;
    out << line(room, r) << '\n';
    out.flush();
}

int FleetReport::finish(const std::vector<RoomResult>& results, bool interrupted)
{
    int counts[4] = {};
    for (const RoomResult& r : results)
        ++counts[static_cast<int>(r.status)];
    const int ok = counts[static_cast<int>(RoomStatus::ok)];
    const int failed = counts[static_cast<int>(RoomStatus::failed)];
    const int cancelled = counts[static_cast<int>(RoomStatus::cancelled)];
    const int notStarted = counts[static_cast<int>(RoomStatus::notStarted)];
    const int status = interrupted ? kExitInterrupted : ok == static_cast<int>(results.size()) ? kExitOk : kExitFailed;

    if (json) {
        nlohmann::json doc{{"command", command}, {"interrupted", interrupted}, {"ok", ok}, {"failed", failed},
                           {"cancelled", cancelled}, {"notStarted", notStarted}};
        nlohmann::json list = nlohmann::json::array();
        for (std::size_t i = 0; i < results.size(); ++i) {
            const RoomResult& r = results[i];
            list.push_back({{"room", rooms[i].name.toStdString()},
                            {"link", rooms[i].linkText.toStdString()},
                            {"result", statusWord(r.status)},
                            {"seconds", std::round(r.seconds * 1000) / 1000},
                            {"detail", r.detail},
                            {"log", r.log}});
        }
        doc["rooms"] = std::move(list);
        io.out << doc.dump(1, '\t', false, nlohmann::json::error_handler_t::replace) << '\n';
        io.out.flush();
        return status;
    }

    io.out << '\n';
    if (interrupted) {
        std::string finished;
        for (std::size_t i = 0; i < results.size(); ++i)
            if (results[i].status == RoomStatus::ok || results[i].status == RoomStatus::failed)
                finished += (finished.empty() ? "" : ", ") + rooms[i].name.toStdString();
        io.out << "Stopped by Ctrl+C: " << ok + failed << " of " << results.size() << " rooms finished ("
               << ok << " ok, " << failed << " failed), " << cancelled << " cancelled, " << notStarted
               << " not started.\n";
        io.out << "Finished: " << (finished.empty() ? "none" : finished) << '\n';
    } else {
        io.out << results.size() << (results.size() == 1 ? " room: " : " rooms: ") << ok << " ok, " << failed
               << " failed\n";
    }
    io.out << padded("ROOM", nameWidth) << "  " << padded("LINK", linkWidth) << "  " << padded("RESULT", kStatusWidth)
           << "       TIME  DETAIL\n"; // right-aligned over "%7.2f s"
    for (std::size_t i = 0; i < results.size(); ++i)
        io.out << padded(rooms[i].name.toStdString(), nameWidth) << "  " << padded(rooms[i].linkText.toStdString(), linkWidth)
               << "  " << padded(statusWord(results[i].status), kStatusWidth) << "  " << secondsText(results[i].seconds)
               << "  " << results[i].detail << '\n';
    io.out.flush();
    return status;
}

} // namespace rz::ctl
