// Switches a real installation back and forth while faults strike: a write cut short by a
// file-size limit, a read-only file, a missing folder, the process killed at a random
// moment, a full file system. After each, every client file must be wholly one of the
// contents a switch can write (or the one it held before), never mixed or cut short.
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "client_config/stamp.h"
#include "client_config/switch_zone.h"
#include "platform/linux/linux_platform.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zonvex {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

// Two switches that undo each other, with the versions they stamp.
struct Target {
    ZoneProfile profile;
    const char* version;
};
constexpr Target kTargets[] = {{ZoneProfile::TestZone1, "1.0.331.601"}, {ZoneProfile::LiveServers, "1.0.320.500"}};

// A small file system of the test's own, where it may mount one (as root): it can be filled
// up. Elsewhere the installation stays in the temporary folder and a file-size limit
// stands in for a full disk.
struct SmallFileSystem {
    explicit SmallFileSystem(const fs::path& at) : path(at) {
        fs::create_directory(path);
        mounted = ::mount("zonvex-test", path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=4m,mode=0755") == 0;
    }
    ~SmallFileSystem() {
        if (mounted) ::umount2(path.c_str(), MNT_DETACH);
    }
    fs::path path;
    bool mounted = false;
};

// A program on a real installation folder; only the files are real.
struct Installation {
    Installation() {
        folder.write("fs/cf/crossfire.exe", "");
        folder.mkdir("fs/cf/RUDE/config");
        for (const char* file : kFiles) folder.write(std::string("fs/cf/RUDE/") + file, "the client's own");
        program.state.ClientDir = linux_platform::PathText((small.path / "cf").string());
        ui.open(Window::Main);
        for (const char* label : {"透明标签9", "透明标签8", "透明标签6", "透明标签7"}) ui.setText(Window::Main, label, "");
    }

    void Switch(const Target& target) {
        ui.setText(Window::Main, "编辑框2", target.version);
        SwitchZone(program, target.profile);
    }
    fs::path File(const char* name) const { return small.path / "cf/RUDE" / name; }

    static constexpr const char* kFiles[] = {"config/dirserver.xml", "config/VersionServerConfig.xml", "mmog_data.xml"};
    testing::TempDir folder;
    SmallFileSystem small{folder.path() / "fs"};
    testing::FakeServices fakes;
    linux_platform::Files files{"/nonexistent"};
    Platform platform = fakes.with(files);
    testing::FakeWindowSystem ui{Layouts(), [](Window, std::string_view, Event) {}};
    Program program{ui, platform, {}, {}};
};

// Takes all but a few pages of the file system's free space (none to three: enough for
// none, some or all of a switch's new files).
void FillUp(const fs::path& filler, std::mt19937& random) {
    struct statvfs vfs;
    ASSERT_EQ(::statvfs(filler.parent_path().c_str(), &vfs), 0);
    const off_t free = static_cast<off_t>(vfs.f_bavail * vfs.f_bsize), leave = static_cast<off_t>(random() % 4) * 4096;
    int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    if (free > leave) {
        EXPECT_EQ(::posix_fallocate(fd, 0, free - leave), 0);
    }
    ::close(fd);
}

// A switch killed mid-way leaves its new files beside the old ones; they would fill the
// small file system over a thousand rounds.
void RemoveLeftovers(const fs::path& rude) {
    for (const auto& entry : fs::recursive_directory_iterator(rude)) {
        if (entry.path().filename().string().find(".zonvex-") != std::string::npos) fs::remove(entry.path());
    }
}

// Everything each file may hold: what it held at first, or what either switch writes.
std::vector<std::set<std::string>> WholeContents() {
    std::vector<std::set<std::string>> whole(3, {"the client's own"});
    for (const Target& t : kTargets) {
        whole[0].insert(std::string(FilesOf(t.profile).dirServer));
        whole[1].insert(std::string(FilesOf(t.profile).versionServer));
        whole[2].insert(StampedVersionData(t.version));
    }
    return whole;
}

TEST(FaultInjectionTest, EveryFileIsWhollyOldOrNewWhateverStrikes) {
    Installation in;
    const auto whole = WholeContents();
    std::mt19937 random(20261211);  // the same faults every run
    signal(SIGXFSZ, SIG_IGN);
    int switches = 0, faults = 0, damaged = 0;
    std::map<std::string, int> struck;
    auto check = [&](const char* fault) {
        for (int i = 0; i < 3; ++i) {
            const fs::path file = in.File(Installation::kFiles[i]);
            if (!fs::exists(file) || !whole[i].contains(ReadFile(file))) {
                ++damaged;
                ADD_FAILURE() << Installation::kFiles[i] << " damaged after: " << fault;
            }
        }
    };
    auto states = [&] {
        std::vector<std::string> s;
        for (const char* f : Installation::kFiles) s.push_back(ReadFile(in.File(f)));
        return s;
    };

    // Runs one switch under a fault that is undone afterwards; a switch that fails leaves
    // all three files as they were, one that succeeds leaves all three new.
    auto switchUnder = [&](const Target& target, const char* fault, const std::function<void()>& inject,
                           const std::function<void()>& undo) {
        const auto before = states();
        inject();
        in.Switch(target);
        undo();
        ++switches, ++faults, ++struck[fault];
        const auto after = states();
        const std::vector<std::string> switched = {std::string(FilesOf(target.profile).dirServer),
                                                   std::string(FilesOf(target.profile).versionServer),
                                                   StampedVersionData(target.version)};
        if (after != before && after != switched) {
            ++damaged;
            ADD_FAILURE() << "half switched after: " << fault;
        }
        check(fault);
    };
    rlimit unlimited;
    getrlimit(RLIMIT_FSIZE, &unlimited);

    auto sizeLimit = [&](const Target& target, const char* fault) {
        rlimit limit = unlimited;
        limit.rlim_cur = random() % 1200;
        switchUnder(target, fault, [&] { setrlimit(RLIMIT_FSIZE, &limit); }, [&] { setrlimit(RLIMIT_FSIZE, &unlimited); });
    };
    for (int round = 0; round < 1250; ++round) {
        const Target& target = kTargets[round % 2];
        switch (random() % 6) {
            case 0:
                in.Switch(target);
                ++switches;
                check("a plain switch");
                break;
            case 1:
                sizeLimit(target, "a write cut short by a file-size limit");
                break;
            case 2: {
                const fs::path file = in.File(Installation::kFiles[random() % 3]);
                switchUnder(target, "a read-only file", [&] { fs::permissions(file, fs::perms(0444)); },
                            [&] { fs::permissions(file, fs::perms(0644)); });
                break;
            }
            case 3: {
                const fs::path config = in.File("config"), aside = in.small.path / "config-aside";
                switchUnder(target, "a missing folder", [&] { fs::rename(config, aside); },
                            [&] { fs::rename(aside, config); });
                break;
            }
            case 4: {  // killed at a random moment while switching back and forth
                pid_t child = fork();
                if (child == 0) {
                    for (int i = 0;; ++i) in.Switch(kTargets[i % 2]);
                }
                usleep(static_cast<useconds_t>(random() % 5000));
                kill(child, SIGKILL);
                waitpid(child, nullptr, 0);
                ++faults, ++struck["the process killed mid-switch"];
                check("the process killed mid-switch");
                RemoveLeftovers(in.small.path / "cf/RUDE");
                break;
            }
            case 5: {
                if (!in.small.mounted) {
                    sizeLimit(target, "a file-size limit standing in for a full file system");
                    break;
                }
                const fs::path filler = in.small.path / "filler";
                switchUnder(target, "a full file system", [&] { FillUp(filler, random); }, [&] { fs::remove(filler); });
                break;
            }
        }
    }
    std::cout << "fault injection: " << switches << " switches, " << faults << " faults, " << damaged
              << " damaged files or half-done switches\n";
    for (const auto& [fault, count] : struck) std::cout << "  " << count << " x " << fault << "\n";
    if (!in.small.mounted) std::cout << "  (no full file system: a small one cannot be mounted here)\n";
    EXPECT_EQ(damaged, 0);
}

}  // namespace
}  // namespace zonvex
