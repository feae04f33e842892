#include "core/app/ExitSequence.h"
#include "core/app/Scheduler.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rz;

namespace {

struct Event {
    std::string what;
    uint32_t at;
    bool operator==(const Event&) const = default;
};

// The main loop in miniature: a 1-ms pass over a scheduler whose slot 1 steps the countdown,
// with every exit action recording itself and the loop time it ran at.
class ExitLoop {
public:
    explicit ExitLoop(uint32_t start = 10000, std::filesystem::path root = {})
        : clock(start), exit(std::move(root))
    {
        scheduler.setTask(1, [this] { exit.step(); });
        scheduler.setExitDone([this] { return exit.exitDone(); });
        auto& a = exit.actions();
        a.hideMainWindow = record("hide");
        a.sayGoodbyeToController = record("goodbye");
        a.saveShow = record("save");
        a.deleteStepClipboard = record("delete step clipboard");
        a.backupShow = [this](std::u16string_view tag) {
            events.push_back({tag == closeProgramBackupTag ? "backup 关闭程序" : "backup ?", clock.now});
        };
        a.closeSerialPort = record("close serial");
        a.closeWifi = record("close wifi");
        a.endProgram = record("end");
    }

    void runFor(uint32_t ms)
    {
        for (uint32_t i = 0; i < ms; ++i) {
            scheduler.runPass(clock.nowMs());
            clock.advance(1);
        }
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> n;
        for (const auto& e : events)
            n.push_back(e.what);
        return n;
    }

    uint32_t timeOf(const std::string& what) const
    {
        for (const auto& e : events)
            if (e.what == what)
                return e.at;
        ADD_FAILURE() << what << " never ran";
        return 0;
    }

    test::FakeClock clock;
    Scheduler scheduler;
    ExitSequence exit;
    std::vector<Event> events;

private:
    std::function<void()> record(std::string what)
    {
        return [this, what] { events.push_back({what, clock.now}); };
    }
};

const std::vector<std::string> allSteps{"hide", "goodbye", "save", "delete step clipboard",
                                        "backup 关闭程序", "close serial", "close wifi", "end"};

class ExitCountdown : public testing::TestWithParam<uint32_t> {};

} // namespace

TEST_P(ExitCountdown, RunsItsThreeStepsInOrderAboutTwoMillisecondsPerCount)
{
    ExitLoop loop(GetParam());
    loop.runFor(2000);
    EXPECT_TRUE(loop.events.empty()) << "nothing happens before the window is closed";

    loop.exit.requestExit();
    const uint32_t requestedAt = loop.clock.now;
    loop.runFor(1000);

    EXPECT_EQ(loop.names(), allSteps);
    const uint32_t first = loop.timeOf("hide");
    EXPECT_LE(first - requestedAt, 2u);
    EXPECT_EQ(loop.timeOf("close serial") - first, 40u); // 20 counts of the 2-ms slot
    EXPECT_EQ(loop.timeOf("end") - first, 120u);
    EXPECT_TRUE(loop.exit.exitDone());
    EXPECT_EQ(loop.exit.stepCounter(), ExitSequence::endStep + 1);
}

// Start times: ordinary, and close to the wrap of the 32-bit clock so the countdown crosses it.
INSTANTIATE_TEST_SUITE_P(StartTimes, ExitCountdown, testing::Values(10000u, 0xFFFFF800u, 0xFFFFFFF0u));

TEST(ExitSequence, ClosingAgainWhileExitingChangesNothing)
{
    ExitLoop loop;
    loop.exit.requestExit();
    loop.exit.requestExit();
    loop.runFor(30);
    loop.exit.requestExit(); // a close request in the middle of the countdown
    const auto counter = loop.exit.stepCounter();
    loop.exit.requestExit();
    EXPECT_EQ(loop.exit.stepCounter(), counter);
    loop.runFor(1000);
    loop.exit.requestExit(); // and after it ended
    loop.runFor(1000);

    EXPECT_EQ(loop.names(), allSteps);
}

TEST(ExitSequence, NoPeriodicTaskRunsOnceTheCountdownHasEnded)
{
    ExitLoop loop;
    int liveTicks = 0;
    loop.scheduler.setTask(4, [&] { ++liveTicks; });
    loop.exit.requestExit();
    loop.runFor(200);
    ASSERT_TRUE(loop.exit.exitDone());
    const int ticksAtEnd = liveTicks;
    EXPECT_GT(ticksAtEnd, 0);
    loop.runFor(5000);
    EXPECT_EQ(liveTicks, ticksAtEnd);
}

TEST(ExitSequence, BackupIsSkippedWhenAutomaticBackupIsOff)
{
    ExitLoop loop;
    loop.exit.actions().automaticBackupOff = [] { return true; };
    loop.exit.requestExit();
    loop.runFor(200);
    EXPECT_EQ(loop.names(), (std::vector<std::string>{"hide", "goodbye", "save", "delete step clipboard",
                                                      "close serial", "close wifi", "end"}));
}

TEST(ExitSequence, RemovesTheMaterialCopyFileWhenClosingTheLinks)
{
    test::TempDir root;
    const auto copyFile = materialCopyTempFile(root.path());
    EXPECT_EQ(copyFile, root / "AppSet/Sys_config/SC_TEMP/SCCOPY.K_1SC");
    test::writeText(copyFile, "step data");

    ExitLoop loop(10000, root.path());
    bool presentWhenSerialClosed = false;
    loop.exit.actions().closeSerialPort = [&] { presentWhenSerialClosed = std::filesystem::exists(copyFile); };
    loop.exit.requestExit();
    loop.runFor(20);
    EXPECT_TRUE(std::filesystem::exists(copyFile)) << "not before step 20";
    loop.runFor(100);
    EXPECT_TRUE(presentWhenSerialClosed);
    EXPECT_FALSE(std::filesystem::exists(copyFile));
    EXPECT_TRUE(std::filesystem::exists(copyFile.parent_path())) << "only the file goes";
}

TEST(ExitSequence, RunsToTheEndWithoutAnyActionOrTemporaryFile)
{
    test::TempDir root; // no AppSet folder at all
    ExitSequence exit(root.path());
    exit.requestExit();
    for (int i = 0; i <= ExitSequence::endStep; ++i)
        exit.step();
    EXPECT_TRUE(exit.exitDone());
    exit.step();
    EXPECT_EQ(exit.stepCounter(), ExitSequence::endStep + 1);
}
