// Switching an installation (three files replaced together, the stamp, detection) beside
// writing the same three contents plainly.
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <array>
#include <fstream>

#include "client_config/stamp.h"
#include "client_config/switch_zone.h"
#include "platform/linux/linux_platform.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace {

using namespace zonvex;
namespace fs = std::filesystem;

struct Target {
    ZoneProfile profile;
    const char* version;
};
constexpr Target kTargets[] = {{ZoneProfile::TestZone1, "1.0.331.601"}, {ZoneProfile::LiveServers, "1.0.320.500"}};
constexpr const char* kFiles[] = {"RUDE/config/dirserver.xml", "RUDE/config/VersionServerConfig.xml", "RUDE/mmog_data.xml"};

struct Installation {
    Installation() {
        folder.write("cf/crossfire.exe", "");
        for (const char* file : kFiles) folder.write(std::string("cf/") + file, "old");
    }
    fs::path Path(const char* file) const { return folder.path() / "cf" / file; }
    testing::TempDir folder;
};

// What each of the two switches writes into the three files.
std::array<std::vector<std::string>, 2> Contents() {
    std::array<std::vector<std::string>, 2> contents;
    for (int i = 0; i < 2; ++i)
        contents[i] = {std::string(FilesOf(kTargets[i].profile).dirServer),
                       std::string(FilesOf(kTargets[i].profile).versionServer), StampedVersionData(kTargets[i].version)};
    return contents;
}

void SwitchBench(benchmark::State& state) {
    Installation in;
    testing::FakeServices fakes;
    linux_platform::Files files("/nonexistent");
    Platform platform = fakes.with(files);
    testing::FakeWindowSystem ui(Layouts(), [](Window, std::string_view, Event) {});
    Program program{ui, platform, {}, {}};
    program.state.ClientDir = linux_platform::PathText((in.folder.path() / "cf").string());
    ui.open(Window::Main);
    for (const char* label : {"透明标签9", "透明标签8", "透明标签6", "透明标签7"}) ui.setText(Window::Main, label, "");
    size_t round = 0;
    for (auto _ : state) {
        const Target& t = kTargets[round++ % 2];
        ui.setText(Window::Main, "编辑框2", t.version);
        SwitchZone(program, t.profile);
    }
    if (ui.messages.back() != "已成功还原到正服！" && ui.messages.back() != "已成功转换到体验服一区！")
        state.SkipWithError("the switch failed");
}
BENCHMARK(SwitchBench)->Unit(benchmark::kMicrosecond);

// The floor: the same three contents written over the files in place.
void PlainWritesBench(benchmark::State& state) {
    Installation in;
    const auto contents = Contents();
    size_t round = 0;
    for (auto _ : state) {
        const auto& c = contents[round++ % 2];
        for (int f = 0; f < 3; ++f) std::ofstream(in.Path(kFiles[f]), std::ios::binary | std::ios::trunc) << c[f];
    }
}
BENCHMARK(PlainWritesBench)->Unit(benchmark::kMicrosecond);

// The fair floor: the same three contents, each written beside its file and flushed to the
// disk before it is moved into place, which is what keeps a file whole across a power cut.
void FlushedWritesBench(benchmark::State& state) {
    Installation in;
    const auto contents = Contents();
    size_t round = 0;
    for (auto _ : state) {
        const auto& c = contents[round++ % 2];
        for (int f = 0; f < 3; ++f) {
            const std::string target = in.Path(kFiles[f]).string(), temp = target + ".new";
            int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0 || ::write(fd, c[f].data(), c[f].size()) != static_cast<ssize_t>(c[f].size()) ||
                ::fdatasync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), target.c_str()) != 0) {
                state.SkipWithError("a write failed");
                return;
            }
        }
    }
}
BENCHMARK(FlushedWritesBench)->Unit(benchmark::kMicrosecond);

}  // namespace
