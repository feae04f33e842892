#include "core/files/ByteImage.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rz;
using namespace rz::files;

TEST(ImageFile, SaveCreatesFoldersAndLoadReadsEveryByte)
{
    test::TempDir tmp;
    const auto path = tmp / "AppSet" / "sub" / "R-SHOW.K_F";
    std::vector<uint8_t> bytes(70'000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(saveImage(path, bytes));
    EXPECT_EQ(test::readAll(path), bytes);
    EXPECT_EQ(loadImage(path), bytes);
    EXPECT_TRUE(fileExists(path));
    EXPECT_FALSE(std::filesystem::exists(tmp / "AppSet" / "sub" / "R-SHOW.K_F.tmp"));
}

TEST(ImageFile, SaveReplacesALongerFileCompletely)
{
    test::TempDir tmp;
    const auto path = tmp / "a.K_1SC";
    test::writeAll(path, std::vector<uint8_t>(100, 0xAA));
    const std::vector<uint8_t> bytes{1, 2, 3};
    ASSERT_TRUE(saveImage(path, bytes));
    EXPECT_EQ(test::readAll(path), bytes);
}

TEST(ImageFile, FailedSaveLeavesTheOldFileUntouched)
{
    test::TempDir tmp;
    const std::vector<uint8_t> old{9, 8, 7};
    const std::vector<uint8_t> bytes{1, 2, 3};

    // The temporary file cannot be created: a folder is in its way.
    const auto blocked = tmp / "blocked.K_F";
    test::writeAll(blocked, old);
    std::filesystem::create_directories(tmp / "blocked.K_F.tmp");
    EXPECT_FALSE(saveImage(blocked, bytes));
    EXPECT_EQ(test::readAll(blocked), old);

    // The target is a folder: the rename fails and the temporary file is cleaned up.
    const auto folder = tmp / "folder.K_F";
    std::filesystem::create_directories(folder / "inside");
    EXPECT_FALSE(saveImage(folder, bytes));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "folder.K_F.tmp"));

    // A parent that is a file.
    EXPECT_FALSE(saveImage(blocked / "x.K_F", bytes));
    EXPECT_EQ(test::readAll(blocked), old);

    EXPECT_FALSE(saveImage(std::filesystem::path{}, bytes));
}

TEST(ImageFile, MissingEmptyFolderOrTooLargeLoadsNothing)
{
    test::TempDir tmp;
    test::writeAll(tmp / "empty.K_F", {});
    test::writeAll(tmp / "ten.K_F", std::vector<uint8_t>(10, 1));
    std::filesystem::create_directories(tmp / "folder");

    EXPECT_FALSE(loadImage(tmp / "missing.K_F"));
    EXPECT_FALSE(loadImage(tmp / "empty.K_F"));
    EXPECT_FALSE(loadImage(tmp / "folder"));
    EXPECT_FALSE(loadImage(tmp / "ten.K_F", 9));
    EXPECT_EQ(loadImage(tmp / "ten.K_F", 10), std::vector<uint8_t>(10, 1));

    EXPECT_FALSE(fileExists(tmp / "missing.K_F"));
    EXPECT_TRUE(fileExists(tmp / "empty.K_F")); // its length, 0, can be read
    EXPECT_FALSE(fileExists(tmp / "folder"));
}
