#include "core/app/DataRoot.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace rz;

TEST(DataRoot, CommandLineThenEnvironmentThenWritableExecutableFolderThenUserFolder)
{
    test::TempDir tmp;
    const auto exe = tmp / "exe";
    const auto user = tmp / "user";
    std::filesystem::create_directories(exe);

    DataRootCandidates c{tmp / "cli", tmp / "env", exe, user};
    EXPECT_EQ(chooseDataRoot(c), tmp / "cli");
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "cli")); // created on demand

    c.commandLine.reset();
    EXPECT_EQ(chooseDataRoot(c), tmp / "env");

    c.environment = std::filesystem::path{}; // an empty variable counts as unset
    EXPECT_EQ(chooseDataRoot(c), exe);

    c.executableFolder = tmp / "missing"; // not a folder we can write into
    EXPECT_EQ(chooseDataRoot(c), user);
    EXPECT_TRUE(std::filesystem::is_directory(user));
}
