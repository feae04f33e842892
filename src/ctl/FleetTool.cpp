#include "ctl/FleetTool.h"

#include "ctl/ExitCodes.h"
#include "ctl/FleetReport.h"
#include "ctl/FleetRunner.h"
#include "ctl/Interrupt.h"
#include "core/files/ByteImage.h"

#include <QFile>

#include <functional>
#include <sstream>
#include <system_error>

namespace rz::ctl {

namespace {

// Thousands of rooms fit; anything larger is not a rooms file.
constexpr qint64 kMaxRoomsFileBytes = 1024 * 1024;

// One room's run of a single command, writing to the streams it is given.
using SingleCommand = std::function<int(const Room& room, const SessionOptions& session, ToolStreams io)>;

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto first = line.find_first_not_of(' ');
        if (first != std::string::npos)
            lines.push_back(line.substr(first));
    }
    return lines;
}

bool startsWith(const std::string& text, std::string_view prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A single command ends with one result line, "ok: ..." or "failed: ..." (or a message of
// the program's own, "rz760ctl: ..."); the lines before it are its log. `reportIsResult`:
// the log is what the room answered (a query), and so is the result.
RoomResult resultOf(int status, const std::string& out, const std::string& err, bool reportIsResult)
{
    RoomResult r;
    r.status = status == kExitOk ? RoomStatus::ok : RoomStatus::failed;
    r.log = linesOf(out);
    for (std::string& line : linesOf(err))
        r.log.push_back(std::move(line));
    for (auto it = r.log.rbegin(); it != r.log.rend(); ++it) {
        for (std::string_view prefix : {"ok: ", "failed: ", "rz760ctl: "})
            if (startsWith(*it, prefix)) {
                r.detail = it->substr(prefix.size());
                break;
            }
        if (!r.detail.empty()) {
            r.log.erase(std::next(it).base());
            break;
        }
    }
    if (reportIsResult && r.status == RoomStatus::ok && !r.log.empty()) {
        r.detail.clear();
        for (const std::string& line : r.log)
            r.detail += (r.detail.empty() ? "" : " | ") + line;
    }
    return r;
}

std::optional<std::vector<Room>> loadRooms(const std::filesystem::path& file, ToolStreams io)
{
    const std::string shown = file.string();
    QFile f(QString::fromStdU16String(file.u16string()));
    if (!f.open(QIODevice::ReadOnly)) {
        io.err << "rz760ctl: cannot read the rooms file " << shown << '\n';
        return std::nullopt;
    }
    if (f.size() > kMaxRoomsFileBytes) {
        io.err << "rz760ctl: " << shown << ": a rooms file is at most " << kMaxRoomsFileBytes / 1024 << " KiB\n";
        return std::nullopt;
    }
    const auto parsed = parseRooms(QString::fromUtf8(f.readAll()));
    if (const auto* refusal = std::get_if<RoomsRefusal>(&parsed)) {
        io.err << "rz760ctl: " << shown << (refusal->line > 0 ? ":" + std::to_string(refusal->line) : std::string())
               << ": " << refusal->message << '\n';
        return std::nullopt;
    }
    return std::get<std::vector<Room>>(parsed);
}

int runFleet(const FleetOptions& o, const std::string& command, bool reportIsResult, const SingleCommand& single,
             ToolStreams io)
{
    const auto rooms = loadRooms(o.roomsFile, io);
    if (!rooms)
        return kExitInputRefused;
    FleetReport report(*rooms, command, o.json, io);
    InterruptWatch interrupt;
    FleetRunner runner;
    runner.onFinished = [&report](std::size_t room, const RoomResult& r) { report.roomFinished(room, r); };
    runner.stopRequested = &InterruptWatch::requested;
    const auto results = runner.run(*rooms, o.parallel, [&](const Room& room, const std::function<bool()>& stop) {
        SessionOptions session;
        session.link = room.link;
        session.cancelRequested = stop;
        std::ostringstream out;
        std::ostringstream err;
        const int status = single(room, session, ToolStreams{out, err});
        return resultOf(status, out.str(), err.str(), reportIsResult);
    });
    return report.finish(results, runner.stopped());
}

} // namespace

const char* kindExtension(uint8_t kind)
{
    switch (kind) {
    case 1: return "K_F";
    case 2: return "KQB";
    case 3: return "KVD";
    case 4: return "AC";
    default: return "bin";
    }
}

int runFleetPing(const FleetOptions& o, ToolStreams io)
{
    return runFleet(o, "fleet ping", false, [](const Room&, const SessionOptions& s, ToolStreams roomIo) { return runPing(s, roomIo); },
                    io);
}

int runFleetQuery(const FleetOptions& o, Query q, ToolStreams io)
{
    return runFleet(o, q == Query::version ? "fleet version" : q == Query::information ? "fleet info" : "fleet file-ids",
                    true, [q](const Room&, const SessionOptions& s, ToolStreams roomIo) { return runQuery(s, q, roomIo); }, io);
}

int runFleetDownload(const FleetOptions& o, const std::filesystem::path& file, uint8_t kind,
                     std::optional<uint8_t> scene, ToolStreams io)
{
    // Refused once here rather than by every room.
    if (!files::loadImage(file)) {
        io.err << "rz760ctl: cannot read " << file.string() << " (missing, empty or unreadable)\n";
        return kExitInputRefused;
    }
    return runFleet(o, "fleet download", false,
                    [&](const Room&, const SessionOptions& s, ToolStreams roomIo) {
                        return runDownload(s, file, kind, scene, roomIo);
                    },
                    io);
}

int runFleetUpload(const FleetOptions& o, uint8_t kind, const std::filesystem::path& folder, ToolStreams io)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) {
        io.err << "rz760ctl: cannot create the folder " << folder.string() << '\n';
        return kExitNotWritten;
    }
    return runFleet(o, "fleet upload", false,
                    [&](const Room& room, const SessionOptions& s, ToolStreams roomIo) {
                        const QString name = room.name + QLatin1Char('.') + QLatin1String(kindExtension(kind));
                        return runUpload(s, kind, folder / std::filesystem::path(name.toStdU16String()), roomIo);
                    },
                    io);
}

} // namespace rz::ctl
