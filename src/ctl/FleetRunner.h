#pragma once
// Runs one job per room of a venue, at most `parallel` at a time. Each job runs in a thread of
// its own with its own event loop, so every room has its own link, transport and waits, as a
// single command has; the calling thread only collects the results and reports each room as
// it finishes. Once a stop is requested no further room starts and the running jobs are
// asked to end at their next step.
#include "ctl/RoomsFile.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace rz::ctl {

enum class RoomStatus { ok, failed, cancelled, notStarted };

struct RoomResult {
    RoomStatus status = RoomStatus::notStarted;
    std::string detail;           // the room's result, one line
    std::vector<std::string> log; // the room's log lines
    double seconds = 0;           // from the job's start to its end
};

// The job for one room. `stopRequested` turns true once the run is to stop; a job that ends
// without success after that counts as cancelled.
using RoomJob = std::function<RoomResult(const Room& room, const std::function<bool()>& stopRequested)>;

class FleetRunner {
public:
    // Called on the calling thread with the room's index as each room finishes.
    std::function<void(std::size_t room, const RoomResult&)> onFinished;
    // Polled on the calling thread while jobs run; true asks every job to stop.
    std::function<bool()> stopRequested;

    // One result per room, in the rooms' order; rooms never started are notStarted.
    std::vector<RoomResult> run(const std::vector<Room>& rooms, int parallel, const RoomJob& job);
    // True when the last run was stopped before every room finished.
    bool stopped() const { return wasStopped; }

private:
    bool wasStopped = false;
};

} // namespace rz::ctl
