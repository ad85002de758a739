// Switching a real installation on the Linux platform: real files, the real launcher.
#include <gtest/gtest.h>

#include "client_config/stamp.h"
#include "client_config/switch_zone.h"
#include "client_config/zone_profiles.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/wine_prefixes.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/utf8.h"

namespace zonvex {
namespace {

using testing::U8;

// The launcher is started and not looked at: on a real installation without QQLogin.exe,
// started by the real launcher, the files are written and the success shown all the same.
TEST(SwitchZoneTest, AMissingLauncherStillSwitches) {
    struct RealInstallation : testing::FakeServices {
        testing::TempDir dir;
        linux_platform::Files realFiles{"/nonexistent"};
        linux_platform::DetachedLauncher realLauncher{linux_platform::Environment::ForHome("/nonexistent")};
        Platform real{realFiles, registry, processes, http, shell, realLauncher, voice, skin};
        testing::FakeWindowSystem ui{Layouts(), [this](Window w, std::string_view c, Event e) { Dispatch(program, w, c, e); }};
        Program program{ui, real, {testing::kVersionsPage, testing::kBulletinPage}, {}};
    } in;
    in.dir.write("cf/crossfire.exe", "");
    in.dir.mkdir("cf/RUDE/config");
    in.ui.open(Window::Start);
    in.ui.type(Window::Start, "编辑框1", linux_platform::PathText((in.dir.path() / "cf").string()));
    in.http.pages[testing::kVersionsPage] = U8(u8"体验服一：1.0.1版本体验服二：1.0.2版本体验服三：1.0.3版本正服：1.0.0版本");
    in.ui.tick(Window::Main, "时钟1");
    in.ui.messages.clear();
    in.ui.type(Window::Main, "编辑框2", "9.9.9");
    in.ui.click(Window::Main, "按钮2");
    EXPECT_EQ(in.ui.messages, std::vector<Text>{"已成功转换到体验服一区！"});
    EXPECT_EQ(testing::ReadFile(in.dir.path() / "cf/RUDE/mmog_data.xml"), StampedVersionData("9.9.9"));
    EXPECT_EQ(testing::ReadFile(in.dir.path() / "cf/RUDE/config/dirserver.xml"), FilesOf(ZoneProfile::TestZone1).dirServer);
}

}  // namespace
}  // namespace zonvex
