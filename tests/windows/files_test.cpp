// The file system on Windows against the real functions: the all-or-nothing switch of
// several files, reading, existence, folders and the hidden attribute.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/windows/windows_platform.h"
#include "windows_test_support.h"

namespace zonvex::windows_platform {
namespace {

using testing::ReadFile;
using testing::TempFolder;
namespace fs = std::filesystem;

// An installation under a Chinese folder name, with the three files a switch replaces.
struct Installation {
    Installation() {
        folder.write("穿越火线\\RUDE\\config\\dirserver.xml", "old dir");
        folder.write("穿越火线\\RUDE\\config\\VersionServerConfig.xml", "old versions");
        folder.write("穿越火线\\RUDE\\mmog_data.xml", "old data");
    }
    bool Replace(const std::string& data = "new data") {
        const Text dir = folder.text("穿越火线\\RUDE");
        const FileContent contents[] = {{dir + "\\config\\dirserver.xml", "new dir"},
                                        {dir + "\\config\\VersionServerConfig.xml", "new versions"},
                                        {dir + "\\mmog_data.xml", data}};
        return Files().replaceAll(contents);
    }
    fs::path File(const Text& relative) const { return folder.at("穿越火线\\RUDE\\" + relative); }
    // Every file and folder with the files' bytes and attributes: a temporary file left
    // behind, or a folder made, would show here.
    std::map<std::wstring, std::string> Snapshot() const {
        std::map<std::wstring, std::string> entries;
        for (const auto& e : fs::recursive_directory_iterator(folder.path())) {
            const DWORD attributes = GetFileAttributesW(e.path().c_str());
            entries[e.path().wstring()] =
                (e.is_regular_file() ? ReadFile(e.path()) : "(folder)") + " " + std::to_string(attributes);
        }
        return entries;
    }
    TempFolder folder;
};

TEST(WindowsFilesTest, ReplacesEveryFileKeepingItsAttributes) {
    Installation i;
    SetFileAttributesW(i.File("mmog_data.xml").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(i.Replace());
    EXPECT_EQ(ReadFile(i.File("config\\dirserver.xml")), "new dir");
    EXPECT_EQ(ReadFile(i.File("config\\VersionServerConfig.xml")), "new versions");
    EXPECT_EQ(ReadFile(i.File("mmog_data.xml")), "new data");
    EXPECT_TRUE(GetFileAttributesW(i.File("mmog_data.xml").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(i.Snapshot().size(), 6u) << "three files in three folders, no temporary file left";
}

TEST(WindowsFilesTest, MissingFilesAreCreated) {
    Installation i;
    fs::remove(i.File("mmog_data.xml"));
    ASSERT_TRUE(i.Replace());
    EXPECT_EQ(ReadFile(i.File("mmog_data.xml")), "new data");
}

TEST(WindowsFilesTest, AnyFailureLeavesEveryFileAsItWas) {
    const struct {
        const char* name;
        std::function<void(Installation&)> arrange;
    } cases[] = {
        {"read-only target", [](Installation& i) { SetFileAttributesW(i.File("mmog_data.xml").c_str(), FILE_ATTRIBUTE_READONLY); }},
        {"a folder where a file should be",
         [](Installation& i) {
             fs::remove(i.File("mmog_data.xml"));
             fs::create_directory(i.File("mmog_data.xml"));
         }},
        {"missing config folder", [](Installation& i) { fs::remove_all(i.File("config")); }},
    };
    for (const auto& c : cases) {
        Installation i;
        c.arrange(i);
        const auto before = i.Snapshot();
        EXPECT_FALSE(i.Replace()) << c.name;
        EXPECT_EQ(i.Snapshot(), before) << c.name;
    }
}

// The running client holds its files open and shares them with nobody.
TEST(WindowsFilesTest, AFileHeldByAnotherProgramLeavesEveryFileAsItWas) {
    Installation i;
    TempFolder elsewhere;
    const fs::path held = elsewhere.path() / L"held";
    testing::Child holder(testing::CopyHelper(elsewhere.path() / L"holder.exe"),
                          L"hold \"" + i.File("config\\VersionServerConfig.xml").wstring() + L"\" \"" + held.wstring() + L"\"");
    ASSERT_TRUE(holder.started());
    ASSERT_TRUE(testing::WaitForFile(held));
    const auto before = i.Snapshot();
    EXPECT_FALSE(i.Replace());
    EXPECT_EQ(i.Snapshot(), before);
}

TEST(WindowsFilesTest, ReadsWholeRegularFilesOnly) {
    TempFolder folder;
    const std::string bytes = std::string("a\0\xFF", 3) + std::string(200000, 'x');
    folder.write("游戏\\a.xml", bytes);
    folder.write("empty", "");
    Files files;
    EXPECT_EQ(files.read(folder.text("游戏\\a.xml")), bytes);
    EXPECT_EQ(files.read(folder.text("empty")), "");
    EXPECT_EQ(files.read(folder.text("游戏")), std::nullopt) << "a folder";
    EXPECT_EQ(files.read(folder.text("missing")), std::nullopt);
    EXPECT_EQ(files.read("\\\\.\\NUL"), std::nullopt) << "a device";
}

TEST(WindowsFilesTest, FilesBeyondTheReadLimitAreUnreadable) {
    TempFolder folder;
    const fs::path file = folder.at("big");
    std::ofstream(file, std::ios::binary).close();
    fs::resize_file(file, Files::kMaxRead + 1);
    EXPECT_EQ(Files().read(folder.text("big")), std::nullopt);
    fs::resize_file(file, Files::kMaxRead);
    EXPECT_EQ(Files().read(folder.text("big"))->size(), Files::kMaxRead);
}

TEST(WindowsFilesTest, ExistenceFoldersAndTheHiddenAttribute) {
    TempFolder folder;
    folder.write("穿越火线\\crossfire.exe", "MZ");
    fs::create_directories(folder.at("其他\\crossfire.exe"));
    Files files;
    EXPECT_TRUE(files.exists(folder.text("穿越火线\\crossfire.exe")));
    EXPECT_TRUE(files.exists(folder.text("穿越火线\\\\crossfire.exe"))) << "a doubled backslash is accepted";
    EXPECT_TRUE(files.exists(folder.text("穿越火线\\CROSSFIRE.EXE")));
    EXPECT_TRUE(files.exists(folder.text("其他\\crossfire.exe"))) << "a folder of that name counts";
    EXPECT_FALSE(files.exists(folder.text("无\\crossfire.exe")));
    EXPECT_TRUE(files.isFolder(folder.text("其他\\crossfire.exe")));
    EXPECT_FALSE(files.isFolder(folder.text("穿越火线\\crossfire.exe")));
    EXPECT_FALSE(files.isFolder(folder.text("无")));

    const Text file = folder.text("穿越火线\\crossfire.exe");
    SetFileAttributesW(Wide(file).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_TRUE(files.setHidden(file));
    // Wine reports every file as to be archived, whatever was set.
    EXPECT_EQ(GetFileAttributesW(Wide(file).c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(files.setHidden(folder.text("无")));
}

}  // namespace
}  // namespace zonvex::windows_platform
