#pragma once
// The main loop's six periodic slots. The loop calls runPass with the clock's value about
// once a millisecond; each slot whose interval has elapsed runs its task.
#include <array>
#include <cstdint>
#include <functional>

namespace rz {

class Scheduler {
public:
    static constexpr int slotCount = 6;
    using Task = std::function<void()>;

    // Slot 1 exit countdown (from 2 ms), 2 drum-hit display (10 ms), 3 keyboard scrolling
    // (50 ms), 4 live tick and keep-alive (100 ms), 5 beat-mapping warning (250 ms),
    // 6 connection poll (1000 ms).
    static constexpr std::array<uint32_t, slotCount + 1> minimumElapsedMs{0, 2, 10, 50, 100, 250, 1000};

    // Slots are numbered 1..6; other numbers are ignored. An unset slot keeps its timing but
    // does nothing when it fires.
    void setTask(int slot, Task task);

    // A slot whose condition says false has no work now: it neither runs nor keeps the loop
    // awake (the exit countdown before the exit, the drum-hit display off the effect page).
    // Without a condition a slot is always active. When a condition turns true the caller
    // wakes the loop, and the slot runs at once.
    void setSlotActive(int slot, std::function<bool()> active);
    bool slotActive(int slot) const;
    // How long the loop may sleep after `now` before a pass has work: 0 when an active slot
    // is due. Never more than the longest slot interval.
    uint32_t msUntilNextPass(uint32_t now) const;

    // While this says true (a caller is waiting for a controller reply), no pass runs.
    void setWaitInProgress(std::function<bool()> waiting);
    // Once this says true (the exit countdown has finished), no pass runs again.
    void setExitDone(std::function<bool()> done);

    // One pass with `now` as the current time: the slots are tested in order 1..6 and each
    // due slot's last-run time becomes `now` just before its task runs. A slow task therefore
    // delays the later slots of the pass without changing the time they are measured with.
    // A call from inside a running task does nothing, so tasks are never re-entered.
    void runPass(uint32_t now);

    uint32_t currentTime() const { return current; }
    uint32_t lastRunTime(int slot) const;

private:
    std::array<Task, slotCount + 1> tasks{};
    std::array<std::function<bool()>, slotCount + 1> activeWhen{};
    std::array<uint32_t, slotCount + 1> lastRun{}; // index 0 unused; all 0 at start
    std::function<bool()> waitInProgress;
    std::function<bool()> exitDone;
    uint32_t current = 0;
    bool passRunning = false;
};

// The loop's tasks by name. Empty members do nothing; a member filled after installation
// takes effect from the next pass.
struct PeriodicTasks {
    std::function<void()> exitCountdownStep;  // slot 1
    std::function<void()> drumHitDisplay;     // slot 2
    std::function<void()> keyboardScrolling;  // slot 3
    std::function<void()> liveTick;           // slot 4, first
    std::function<void()> keepAlive;          // slot 4, after the live tick
    std::function<void()> beatMappingWarning; // slot 5
    std::function<void()> connectionPoll;     // slot 6
};

// Points the six slots at `tasks`, which must live as long as the scheduler runs passes.
void installPeriodicTasks(Scheduler& scheduler, const PeriodicTasks& tasks);

} // namespace rz
