#include "core/app/Scheduler.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace rz;

namespace {

// Records which slots ran, with the slot's last-run time as the task saw it.
struct SlotRun {
    int slot;
    uint32_t lastRunSeen;
    bool operator==(const SlotRun&) const = default;
};

struct RecordingScheduler {
    RecordingScheduler()
    {
        for (int slot = 1; slot <= Scheduler::slotCount; ++slot)
            scheduler.setTask(slot, [this, slot] {
                runs.push_back({slot, scheduler.lastRunTime(slot)});
                if (onRun)
                    onRun(slot);
            });
    }
    bool ran(int slot) const
    {
        for (const auto& r : runs)
            if (r.slot == slot)
                return true;
        return false;
    }
    std::vector<int> slotsRun() const
    {
        std::vector<int> s;
        for (const auto& r : runs)
            s.push_back(r.slot);
        return s;
    }
    Scheduler scheduler;
    std::vector<SlotRun> runs;
    std::function<void(int)> onRun;
};

struct ThresholdCase {
    int slot;
    uint32_t thresholdMs; // the first elapsed time at which the slot fires
    uint32_t base;        // clock value of the previous run
};

void PrintTo(const ThresholdCase& c, std::ostream* os)
{
    *os << "slot " << c.slot << ", threshold " << c.thresholdMs << " ms, previous run at " << c.base;
}

std::string caseName(const testing::TestParamInfo<ThresholdCase>& info)
{
    return "Slot" + std::to_string(info.param.slot) + "From" + std::to_string(info.param.base);
}

class SchedulerThreshold : public testing::TestWithParam<ThresholdCase> {};

} // namespace

TEST_P(SchedulerThreshold, FiresFirstAtItsThresholdMeasuredWrapSafe)
{
    const auto c = GetParam();
    RecordingScheduler r;
    r.scheduler.runPass(c.base); // every slot that can run now does, so all last-runs are `base`
    for (int slot = 1; slot <= Scheduler::slotCount; ++slot)
        ASSERT_EQ(r.scheduler.lastRunTime(slot), c.base);

    r.runs.clear();
    // Every millisecond before the threshold, on both sides of a wrap where there is one.
    for (uint32_t t = 1; t < c.thresholdMs; ++t)
        r.scheduler.runPass(c.base + t);
    EXPECT_FALSE(r.ran(c.slot)) << "fired early";
    r.scheduler.runPass(c.base + c.thresholdMs);
    EXPECT_TRUE(r.ran(c.slot));
    EXPECT_EQ(r.scheduler.lastRunTime(c.slot), c.base + c.thresholdMs);
}

// Slot 1 tests "elapsed > 1", slots 2-6 "elapsed >= threshold". The bases include the state
// at start (all last-run times 0) and a previous run just before the 32-bit clock wraps.
INSTANTIATE_TEST_SUITE_P(
    Slots, SchedulerThreshold,
    testing::ValuesIn(std::vector<ThresholdCase>{
        {1, 2, 0}, {2, 10, 0}, {3, 50, 0}, {4, 100, 0}, {5, 250, 0}, {6, 1000, 0},
        {1, 2, 123456}, {2, 10, 123456}, {3, 50, 123456}, {4, 100, 123456}, {5, 250, 123456},
        {6, 1000, 123456},
        {1, 2, 0xFFFFFFFFu}, {2, 10, 0xFFFFFFFAu}, {3, 50, 0xFFFFFFE0u}, {4, 100, 0xFFFFFFC0u},
        {5, 250, 0xFFFFFF10u}, {6, 1000, 0xFFFFFC20u}}),
    caseName);

TEST(Scheduler, FirstPassesAfterStartRunNothingUntilTwoMilliseconds)
{
    RecordingScheduler r;
    r.scheduler.runPass(0);
    r.scheduler.runPass(1);
    EXPECT_TRUE(r.runs.empty());
    r.scheduler.runPass(2);
    EXPECT_EQ(r.slotsRun(), std::vector<int>{1});
}

TEST(Scheduler, DueSlotsRunInTableOrderEachSeeingItsNewLastRunTime)
{
    RecordingScheduler r;
    r.scheduler.runPass(1000);
    EXPECT_EQ(r.runs, (std::vector<SlotRun>{{1, 1000}, {2, 1000}, {3, 1000}, {4, 1000}, {5, 1000}, {6, 1000}}));
    EXPECT_EQ(r.scheduler.currentTime(), 1000u);

    r.runs.clear();
    r.scheduler.runPass(1100); // 100 ms later: slots 1-4, not 5 and 6
    EXPECT_EQ(r.slotsRun(), (std::vector<int>{1, 2, 3, 4}));
}

TEST(Scheduler, SlowTaskDelaysLaterSlotsWhichAreStillMeasuredWithThePassTime)
{
    test::FakeClock clock(1000);
    RecordingScheduler r;
    r.scheduler.runPass(clock.nowMs()); // all slots ran at 1000
    r.onRun = [&](int slot) {
        if (slot == 2)
            clock.advance(100); // a slow drum-hit display
    };

    clock.now = 1200;
    r.runs.clear();
    r.scheduler.runPass(clock.nowMs());
    // Slots 3 and 4 ran after the slow task, yet their next interval counts from 1200.
    EXPECT_EQ(r.runs, (std::vector<SlotRun>{{1, 1200}, {2, 1200}, {3, 1200}, {4, 1200}}));
    // Slot 5 was due by the wall clock (1300) but not by the pass time (200 ms < 250 ms).
    EXPECT_FALSE(r.ran(5));

    r.onRun = nullptr;
    r.runs.clear();
    r.scheduler.runPass(clock.nowMs()); // the next pass reads the clock again: 1300
    EXPECT_TRUE(r.ran(5));
    EXPECT_EQ(r.scheduler.lastRunTime(5), 1300u);
}

TEST(Scheduler, NoTaskRunsWhileAWaitIsInProgress)
{
    RecordingScheduler r;
    bool waiting = true;
    r.scheduler.setWaitInProgress([&] { return waiting; });
    r.scheduler.runPass(5000);
    EXPECT_TRUE(r.runs.empty());
    EXPECT_EQ(r.scheduler.lastRunTime(6), 0u) << "a skipped pass leaves the slot due";

    waiting = false;
    r.scheduler.runPass(5001);
    EXPECT_EQ(r.slotsRun(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(Scheduler, ExitDoneStopsEveryLaterTaskEvenInTheSamePass)
{
    RecordingScheduler r;
    bool done = false;
    r.scheduler.setExitDone([&] { return done; });
    r.onRun = [&](int slot) {
        if (slot == 1)
            done = true; // the countdown's last step
    };
    r.scheduler.runPass(5000);
    EXPECT_EQ(r.slotsRun(), std::vector<int>{1});

    r.scheduler.runPass(10000);
    EXPECT_EQ(r.slotsRun(), std::vector<int>{1});
}

TEST(Scheduler, APassStartedFromInsideATaskDoesNothing)
{
    RecordingScheduler r;
    r.onRun = [&](int slot) {
        if (slot == 4)
            r.scheduler.runPass(9000); // e.g. a task whose wait lets the event loop run
    };
    r.scheduler.runPass(1000);
    EXPECT_EQ(r.slotsRun(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(r.scheduler.currentTime(), 1000u);
    for (int slot = 1; slot <= Scheduler::slotCount; ++slot)
        EXPECT_EQ(r.scheduler.lastRunTime(slot), 1000u);
}

TEST(Scheduler, UnsetSlotsKeepTheirTimingAndOutOfRangeSlotsAreIgnored)
{
    Scheduler s;
    int runs = 0;
    s.setTask(0, [&] { ++runs; });
    s.setTask(7, [&] { ++runs; });
    s.setTask(4, [&] { ++runs; });
    s.runPass(100);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(s.lastRunTime(2), 100u); // unset, yet it fired
    EXPECT_EQ(s.lastRunTime(0), 0u);
    EXPECT_EQ(s.lastRunTime(7), 0u);

    s.setTask(4, nullptr); // a task can be removed again
    s.runPass(300);
    EXPECT_EQ(runs, 1);
}

TEST(PeriodicTasks, EachNamedTaskRunsInItsSlotAndTheLiveTickBeforeTheKeepAlive)
{
    Scheduler s;
    PeriodicTasks tasks;
    std::vector<std::string> log;
    installPeriodicTasks(s, tasks);
    // Filled after installation, as modules that come later do.
    tasks.exitCountdownStep = [&] { log.push_back("exit"); };
    tasks.drumHitDisplay = [&] { log.push_back("drum"); };
    tasks.keyboardScrolling = [&] { log.push_back("keys"); };
    tasks.liveTick = [&] { log.push_back("live"); };
    tasks.keepAlive = [&] { log.push_back("keep-alive"); };
    tasks.beatMappingWarning = [&] { log.push_back("beats"); };
    tasks.connectionPoll = [&] { log.push_back("poll"); };

    s.runPass(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"exit", "drum", "keys", "live", "keep-alive", "beats", "poll"}));

    log.clear();
    tasks.liveTick = nullptr; // a module without a live tick still gets its keep-alive
    s.runPass(1100);
    EXPECT_EQ(log, (std::vector<std::string>{"exit", "drum", "keys", "keep-alive"}));
}

TEST(Scheduler, IdleSlotsNeitherRunNorWakeTheLoop)
{
    RecordingScheduler r;
    Scheduler& s = r.scheduler;
    bool exiting = false;
    bool effectPage = false;
    s.setSlotActive(1, [&] { return exiting; });
    s.setSlotActive(2, [&] { return effectPage; });
    s.setSlotActive(3, [] { return false; });
    s.setSlotActive(5, [&] { return effectPage; });

    s.runPass(1000);
    EXPECT_EQ(r.slotsRun(), (std::vector<int>{4, 6}));
    // Only the live tick (100 ms) and the poll (1 s) keep the loop awake.
    EXPECT_EQ(s.msUntilNextPass(1000), 100u);
    EXPECT_EQ(s.msUntilNextPass(1040), 60u);
    EXPECT_EQ(s.msUntilNextPass(1100), 0u);

    // The effect page shows: its 10-ms slot runs at once and then sets the pace.
    effectPage = true;
    EXPECT_EQ(s.msUntilNextPass(1040), 0u);
    r.runs.clear();
    s.runPass(1040);
    EXPECT_EQ(r.slotsRun(), (std::vector<int>{2, 5}));
    EXPECT_EQ(s.msUntilNextPass(1043), 7u);

    // Closing: the countdown's 2-ms slot.
    exiting = true;
    EXPECT_EQ(s.msUntilNextPass(1043), 0u);
    s.runPass(1043);
    EXPECT_EQ(s.msUntilNextPass(1044), 1u);

    // Across the wrap of the clock.
    Scheduler wrap;
    wrap.runPass(0xFFFFFFF0u);
    EXPECT_EQ(wrap.msUntilNextPass(0xFFFFFFF0u + 50u), 0u); // slot 3 is due after 50 ms
    EXPECT_EQ(wrap.msUntilNextPass(0xFFFFFFF1u), 1u);        // slot 1 without a condition
}
