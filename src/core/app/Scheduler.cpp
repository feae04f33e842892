#include "core/app/Scheduler.h"

#include <algorithm>

namespace rz {

namespace {

bool validSlot(int slot)
{
    return slot >= 1 && slot <= Scheduler::slotCount;
}

// Resets the flag on every way out of the pass, so a throwing task cannot stop the loop for good.
class PassGuard {
public:
    explicit PassGuard(bool& flag) : flag(flag) { flag = true; }
    ~PassGuard() { flag = false; }
    PassGuard(const PassGuard&) = delete;
    PassGuard& operator=(const PassGuard&) = delete;

private:
    bool& flag;
};

} // namespace

void installPeriodicTasks(Scheduler& scheduler, const PeriodicTasks& tasks)
{
    auto call = [](const std::function<void()>& task) {
        if (task)
            task();
    };
    scheduler.setTask(1, [&tasks, call] { call(tasks.exitCountdownStep); });
    scheduler.setTask(2, [&tasks, call] { call(tasks.drumHitDisplay); });
    scheduler.setTask(3, [&tasks, call] { call(tasks.keyboardScrolling); });
    scheduler.setTask(4, [&tasks, call] {
        call(tasks.liveTick);
        call(tasks.keepAlive);
    });
    scheduler.setTask(5, [&tasks, call] { call(tasks.beatMappingWarning); });
    scheduler.setTask(6, [&tasks, call] { call(tasks.connectionPoll); });
}

void Scheduler::setTask(int slot, Task task)
{
    if (validSlot(slot))
        tasks[static_cast<size_t>(slot)] = std::move(task);
}

void Scheduler::setSlotActive(int slot, std::function<bool()> active)
{
    if (validSlot(slot))
        activeWhen[static_cast<size_t>(slot)] = std::move(active);
}

bool Scheduler::slotActive(int slot) const
{
    if (!validSlot(slot))
        return false;
    const auto& active = activeWhen[static_cast<size_t>(slot)];
    return !active || active();
}

uint32_t Scheduler::msUntilNextPass(uint32_t now) const
{
    uint32_t sleep = minimumElapsedMs[slotCount];
    for (int slot = 1; slot <= slotCount; ++slot) {
        if (!slotActive(slot))
            continue;
        const uint32_t elapsed = now - lastRun[static_cast<size_t>(slot)];
        const uint32_t interval = minimumElapsedMs[static_cast<size_t>(slot)];
        sleep = std::min(sleep, elapsed >= interval ? 0u : interval - elapsed);
    }
    return sleep;
}

void Scheduler::setWaitInProgress(std::function<bool()> waiting)
{
    waitInProgress = std::move(waiting);
}

void Scheduler::setExitDone(std::function<bool()> done)
{
    exitDone = std::move(done);
}

uint32_t Scheduler::lastRunTime(int slot) const
{
    return validSlot(slot) ? lastRun[static_cast<size_t>(slot)] : 0;
}

void Scheduler::runPass(uint32_t now)
{
    if (passRunning)
        return;
    if (waitInProgress && waitInProgress())
        return;
    PassGuard guard(passRunning);
    current = now;
    for (size_t slot = 1; slot <= slotCount; ++slot) {
        // Tested before every slot: the countdown's last step ends the program, so nothing
        // may run after it, not even the rest of its own pass.
        if (exitDone && exitDone())
            return;
        // Unsigned difference: correct across the wrap of the 32-bit clock.
        const uint32_t elapsed = current - lastRun[slot];
        if (elapsed < minimumElapsedMs[slot] || !slotActive(static_cast<int>(slot)))
            continue;
        lastRun[slot] = current;
        if (tasks[slot])
            tasks[slot]();
    }
}

} // namespace rz
