#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/linux/linux_platform.h"
#include "support/temp_dir.h"
#include "support/utf8.h"

namespace zonvex::linux_platform {
namespace {

using testing::TempDir;
using testing::U8;
namespace fs = std::filesystem;

class HostPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        prefix.mkdir("drive_c/Games/穿越火线/RUDE/config");
        prefix.write("drive_c/Games/穿越火线/crossfire.exe", "");
        prefix.mkdir("dosdevices");
        fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices/c:");
    }
    bool Exists(const Text& path) { return Files(prefix.str()).exists(path); }
    TempDir prefix;
};

TEST_F(HostPathTest, DriveLettersGoThroughThePrefix) {
    EXPECT_EQ(HostPath("C:\\Games", prefix.str()), prefix.str() + "/dosdevices/c:/Games");
    EXPECT_TRUE(Exists("C:\\Games\\穿越火线\\crossfire.exe"));
    EXPECT_TRUE(Exists("c:/Games/穿越火线/crossfire.exe"));
    EXPECT_TRUE(Exists("C:\\Games\\穿越火线\\\\crossfire.exe")) << "a doubled separator after a trailing one";
    EXPECT_FALSE(Exists("D:\\Games\\穿越火线\\crossfire.exe")) << "no such drive in the prefix";
}

TEST_F(HostPathTest, ComponentsMatchIgnoringAsciiCase) {
    EXPECT_EQ(HostPath("C:\\GAMES\\穿越火线\\rude\\CONFIG", prefix.str()),
              prefix.str() + U8(u8"/dosdevices/c:/Games/穿越火线/RUDE/config"));
    EXPECT_TRUE(Exists("C:\\games\\穿越火线\\CrossFire.EXE"));
    EXPECT_FALSE(Exists("C:\\Games\\穿越火\\crossfire.exe"));
}

TEST_F(HostPathTest, AbsoluteAndZDrivePathsStartAtTheRoot) {
    Text host = PathText(prefix.str());
    EXPECT_TRUE(Exists(host + "/drive_c/Games/穿越火线\\crossfire.exe"));
    EXPECT_TRUE(Exists("Z:" + host + "\\drive_c\\Games\\穿越火线\\crossfire.exe"));
    EXPECT_EQ(HostPath("\\crossfire.exe", prefix.str()), "/crossfire.exe");
}

TEST_F(HostPathTest, RelativePathsStartAtTheCurrentDirectory) {
    auto previous = fs::current_path();
    fs::current_path(prefix.path() / "drive_c");
    EXPECT_TRUE(Exists("games\\穿越火线\\crossfire.exe"));
    EXPECT_EQ(HostPath("", prefix.str()), ".");
    fs::current_path(previous);
}

TEST_F(HostPathTest, FilesReadAndWriteThroughMappedPaths) {
    Files files(prefix.str());
    const FileContent content[] = {{"C:\\Games\\穿越火线\\rude\\CONFIG\\dirserver.xml", "abc"}};
    EXPECT_TRUE(files.replaceAll(content));
    EXPECT_EQ(testing::ReadFile(prefix.path() / fs::u8path(U8(u8"drive_c/Games/穿越火线/RUDE/config/dirserver.xml"))), "abc");
    EXPECT_EQ(files.read("C:\\Games\\穿越火线\\RUDE\\config\\dirserver.xml"), "abc");
    EXPECT_FALSE(files.read("C:\\Games")) << "a folder is not a file";
    EXPECT_TRUE(files.exists("C:\\Games")) << "but it exists";
}

TEST(HostPathNames, ChineseNamesAreGbkInTheProgramAndUtf8OnDisk) {
    EXPECT_EQ(PathText(U8(u8"/home/玩家/穿越火线")), Text("/home/玩家/穿越火线"));
    EXPECT_EQ(PathText("/home/\xF0\x9F\x8E\xAE"), "/home/?") << "a name outside GBK shows as ?";
    EXPECT_EQ(HostPath("\\tmp\\\xFF", "/nonexistent"), "/tmp/?") << "bytes that are not GBK";
}

}  // namespace
}  // namespace zonvex::linux_platform
