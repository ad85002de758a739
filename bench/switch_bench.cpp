// Switching an installation (three files replaced together, the stamp, detection) beside
// writing the same three contents plainly.
#include <benchmark/benchmark.h>

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
    std::vector<std::string> contents[2];
    for (int i = 0; i < 2; ++i)
        contents[i] = {std::string(FilesOf(kTargets[i].profile).dirServer),
                       std::string(FilesOf(kTargets[i].profile).versionServer), StampedVersionData(kTargets[i].version)};
    size_t round = 0;
    for (auto _ : state) {
        const auto& c = contents[round++ % 2];
        for (int f = 0; f < 3; ++f) std::ofstream(in.Path(kFiles[f]), std::ios::binary | std::ios::trunc) << c[f];
    }
}
BENCHMARK(PlainWritesBench)->Unit(benchmark::kMicrosecond);

}  // namespace
