// The real save, interrupted: killed at any moment, or stopped by a full disk, it never costs
// the user the show that was there. Processes are forked, so POSIX only.
#include "core/show/ShowTestSupport.h"
#include "core/show/ShowTexts.h"

#ifndef _WIN32
#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rz;
using namespace rz::test;
using namespace rz::test::showfile;

namespace {

int waitForChild(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

bool loadsCleanly(const std::filesystem::path& file)
{
    ShowRig reader;
    return reader.file.loadShow(file) == show::LoadResult::loaded;
}

} // namespace

TEST(ShowSaveDurability, KilledAtAnyMomentTheWorkingFileIsTheOldOrTheNewShow)
{
    ShowRig rig;
    ASSERT_TRUE(rig.file.saveShow());
    const auto oldBytes = readAll(rig.file.showPath());
    fillShow(rig);

    // One uninterrupted save tells how long a save takes, so the kills spread over all of it.
    const auto probe = rig.dir / "probe.K_F";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(rig.file.saveShow(probe));
    const auto saveUs = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start).count();
    const auto newBytes = readAll(probe);
    ASSERT_NE(oldBytes, newBytes);

    constexpr int kKills = 40;
    int sawOld = 0, sawNew = 0;
    for (int i = 0; i < kKills; ++i) {
        writeAll(rig.file.showPath(), oldBytes);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            rig.file.saveShow();
            _exit(0);
        }
        // From before the child starts writing to after it has renamed.
        usleep(static_cast<useconds_t>(i * (saveUs * 2 + 200) / kKills));
        kill(child, SIGKILL);
        waitForChild(child);

        const auto bytes = readAll(rig.file.showPath());
        const bool isOld = bytes == oldBytes, isNew = bytes == newBytes;
        ASSERT_TRUE(isOld || isNew) << "kill " << i << " left " << bytes.size() << " bytes";
        sawOld += isOld;
        sawNew += isNew;
        ASSERT_TRUE(loadsCleanly(rig.file.showPath())) << "kill " << i;
    }
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
}

TEST(ShowSaveDurability, FullDiskFailsWithTheMessageAndLeavesTheOldFileAndNoLeftover)
{
    ShowRig rig;
    ASSERT_TRUE(rig.file.saveShow());
    const auto oldBytes = readAll(rig.file.showPath());
    fillShow(rig);

    // The child may write 4 KiB at most, as on a disk that is full after that.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = rig.file.saveShow();
        const bool told = !rig.prompt.messages.empty() &&
                          rig.prompt.messages.back() == std::u16string(show::kMsgShowSaveFailed);
        _exit(saved ? 1 : told ? 0 : 2);
    }
    const int status = waitForChild(child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save said it succeeded, 2: no message";
    EXPECT_EQ(readAll(rig.file.showPath()), oldBytes);
    auto leftover = rig.file.showPath();
    leftover += ".tmp";
    EXPECT_FALSE(std::filesystem::exists(leftover));
}
#endif
