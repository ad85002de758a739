#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>

#include "platform/linux/linux_platform.h"
#include "support/temp_dir.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

// An installation in a prefix of its own, with the three files a switch replaces together.
struct Installation {
    Installation() {
        prefix.mkdir("dosdevices");
        fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices/c:");
        prefix.write("drive_c/cf/RUDE/config/dirserver.xml", "old dir");
        prefix.write("drive_c/cf/RUDE/config/VersionServerConfig.xml", "old versions");
        prefix.write("drive_c/cf/RUDE/mmog_data.xml", "old data");
    }
    bool Replace(const std::string& data = std::string(3000, 'd')) {
        const FileContent contents[] = {{"C:\\cf\\RUDE\\config\\dirserver.xml", "new dir"},
                                        {"C:\\cf\\RUDE\\config\\VersionServerConfig.xml", "new versions"},
                                        {"C:\\cf\\RUDE\\mmog_data.xml", data}};
        return Files(prefix.str()).replaceAll(contents);
    }
    fs::path File(const std::string& relative) const { return prefix.path() / "drive_c/cf/RUDE" / relative; }
    // Every file and folder below drive_c with the files' bytes: a temporary file left
    // behind, or a folder made, would show here.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> entries;
        for (const auto& e : fs::recursive_directory_iterator(prefix.path() / "drive_c"))
            entries[e.path().string()] = e.is_regular_file() ? ReadFile(e.path()) : "(folder)";
        return entries;
    }
    testing::TempDir prefix;
};

TEST(ReplaceAllTest, ReplacesEveryFileKeepingItsPermissions) {
    Installation i;
    fs::permissions(i.File("mmog_data.xml"), fs::perms(0640));
    ASSERT_TRUE(i.Replace("new data"));
    EXPECT_EQ(ReadFile(i.File("config/dirserver.xml")), "new dir");
    EXPECT_EQ(ReadFile(i.File("config/VersionServerConfig.xml")), "new versions");
    EXPECT_EQ(ReadFile(i.File("mmog_data.xml")), "new data");
    EXPECT_EQ(fs::status(i.File("mmog_data.xml")).permissions(), fs::perms(0640));
    EXPECT_EQ(i.Snapshot().size(), 6u) << "three files in three folders, no temporary file left";
}

TEST(ReplaceAllTest, MissingFilesAreCreatedWithTheUsualPermissions) {
    Installation i;
    fs::remove(i.File("mmog_data.xml"));
    mode_t old = umask(022);
    ASSERT_TRUE(i.Replace("new data"));
    umask(old);
    EXPECT_EQ(ReadFile(i.File("mmog_data.xml")), "new data");
    EXPECT_EQ(fs::status(i.File("mmog_data.xml")).permissions(), fs::perms(0644));
}

TEST(ReplaceAllTest, ALinkedFileIsReplacedWhereItPoints) {
    Installation i;
    i.prefix.write("drive_c/elsewhere/dirserver.xml", "old dir");
    fs::remove(i.File("config/dirserver.xml"));
    fs::create_symlink("../../../elsewhere/dirserver.xml", i.File("config/dirserver.xml"));
    ASSERT_TRUE(i.Replace());
    EXPECT_TRUE(fs::is_symlink(i.File("config/dirserver.xml")));
    EXPECT_EQ(ReadFile(i.prefix.path() / "drive_c/elsewhere/dirserver.xml"), "new dir");
}

// A file-size limit makes the last, largest file fail half-way through its write.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

TEST(ReplaceAllTest, AnyFailureLeavesEveryFileAsItWas) {
    struct Case {
        const char* name;
        std::function<void(Installation&)> arrange;
    } cases[] = {
        {"read-only target (even for root)", [](Installation& i) { fs::permissions(i.File("mmog_data.xml"), fs::perms(0444)); }},
        {"a folder where a file should be",
         [](Installation& i) {
             fs::remove(i.File("mmog_data.xml"));
             fs::create_directory(i.File("mmog_data.xml"));
         }},
        {"missing config folder", [](Installation& i) { fs::remove_all(i.File("config")); }},
        {"a link that leads nowhere writable",
         [](Installation& i) {
             fs::remove(i.File("mmog_data.xml"));
             fs::create_symlink("/nonexistent/mmog_data.xml", i.File("mmog_data.xml"));
         }},
    };
    for (const Case& c : cases) {
        Installation i;
        c.arrange(i);
        auto before = i.Snapshot();
        EXPECT_FALSE(i.Replace()) << c.name;
        EXPECT_EQ(i.Snapshot(), before) << c.name;
    }
    Installation i;
    auto before = i.Snapshot();
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(i.Replace(std::string(3000, 'd'))) << "write cut short";
    }
    EXPECT_EQ(i.Snapshot(), before) << "write cut short";
}

}  // namespace
}  // namespace zonvex::linux_platform
