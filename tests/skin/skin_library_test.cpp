// The skin library and the skin files as built, and attaching through the real loader
// on real folders.
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "platform/linux/linux_platform.h"
#include "platform/qt/qt_window_system.h"
#include "skin/format/she_format.h"
#include "skin/format/skin_content.h"
#include "skin/skin.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

namespace zonvex {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

std::vector<unsigned char> Bytes(std::span<const unsigned char> s) { return {s.begin(), s.end()}; }

TEST(BuiltInSkinsTest, EveryHeaderAndUnpackedSizeChecksOut) {
    const unsigned char fixed[] = {'.', 'S', 'H', 'E', 0x00, 0x03};
    const unsigned char properties[] = {0x5D, 0x00, 0x00, 0x80, 0x00};
    std::set<std::vector<unsigned char>> distinct;
    for (int n = 1; n <= kBuiltInSkinCount; ++n) {
        auto file = Bytes(BuiltInSkin(n));
        ASSERT_GT(file.size(), skin::kHeaderSize) << n;
        EXPECT_TRUE(std::equal(std::begin(fixed), std::end(fixed), file.begin())) << n;
        EXPECT_TRUE(std::equal(std::begin(properties), std::end(properties), file.begin() + 10)) << n;
        const uint32_t size = file[6] | file[7] << 8 | file[8] << 16 | static_cast<uint32_t>(file[9]) << 24;
        auto content = skin::Unpack(file);
        ASSERT_TRUE(content) << n;
        EXPECT_EQ(content->size(), size) << n;
        EXPECT_TRUE(skin::Parse(*content)) << n;
        EXPECT_EQ(skin::Pack(*content), file) << "packing is deterministic: " << n;
        distinct.insert(*content);
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kBuiltInSkinCount));
}

using AttachFunction = int (*)(const unsigned char*, int, const char*, int, int, int);

// The library as the build made it, loaded into this test.
AttachFunction BuiltLibrary() {
    static void* handle = dlopen(ZONVEX_SKIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return handle ? reinterpret_cast<AttachFunction>(dlsym(handle, "SkinH_AttachRes")) : nullptr;
}

int Attach(const std::vector<unsigned char>& skin, int hue = 0) {
    return BuiltLibrary()(skin.data(), static_cast<int>(skin.size()), "", hue, 0, 0);
}

TEST(SkinLibraryTest, DamagedSkinsAreRefusedAndLeaveTheLookAsItWas) {
    ASSERT_NE(BuiltLibrary(), nullptr);
    const auto good = Bytes(BuiltInSkin(8));
    auto damaged = [&](const std::function<void(std::vector<unsigned char>&)>& change) {
        auto copy = good;
        change(copy);
        return copy;
    };
    const std::string notASkin = "hello";
    struct Case {
        const char* name;
        std::vector<unsigned char> skin;
    } cases[] = {
        {"empty", {}},
        {"header only", {good.begin(), good.begin() + 15}},
        {"wrong magic", damaged([](auto& s) { s[1] = 'X'; })},
        {"wrong format bytes", damaged([](auto& s) { s[5] = 0x04; })},
        {"other LZMA properties", damaged([](auto& s) { s[10] = 0x5E; })},
        {"size one more", damaged([](auto& s) { ++s[6]; })},
        {"size one less", damaged([](auto& s) { --s[6]; })},
        {"size beyond any skin", damaged([](auto& s) { s[9] = 0xFF; })},
        {"stream cut short", damaged([](auto& s) { s.resize(s.size() / 2); })},
        {"stream damaged", damaged([](auto& s) { s[s.size() / 2] ^= 0x55; })},
        {"unpacks to something else", skin::Pack(std::span(reinterpret_cast<const unsigned char*>(notASkin.data()), notASkin.size()))},
    };
    qApp->setStyleSheet(QString());
    for (const Case& c : cases) {
        EXPECT_EQ(Attach(c.skin), 0) << c.name;
        EXPECT_TRUE(qApp->styleSheet().isEmpty()) << c.name;
    }
    EXPECT_EQ(BuiltLibrary()(nullptr, 100, "", 0, 0, 0), 0);
}

TEST(SkinLibraryTest, ASkinDrawsWindowsOpenNowAndLater) {
    QPushButton before(QStringLiteral("转换"));
    ASSERT_EQ(Attach(Bytes(BuiltInSkin(8))), 1);
    const QString sheet = qApp->styleSheet();
    EXPECT_FALSE(sheet.isEmpty());
    QPushButton after(QStringLiteral("转换"));
    QApplication::processEvents();  // open widgets hear of the new palette through the event loop
    const QColor skin8ButtonText(0x14, 0x27, 0x40);
    EXPECT_EQ(before.palette().color(QPalette::ButtonText), skin8ButtonText);
    EXPECT_EQ(after.palette().color(QPalette::ButtonText), skin8ButtonText);
    EXPECT_FALSE(QApplication::palette().brush(QPalette::Window).texture().isNull()) << "the skin's picture";
    ASSERT_EQ(Attach(Bytes(BuiltInSkin(8)), 120), 1);
    EXPECT_NE(qApp->styleSheet(), sheet) << "a hue shift changes the colours";
    ASSERT_EQ(Attach(Bytes(BuiltInSkin(2))), 1);
    EXPECT_NE(qApp->styleSheet(), sheet) << "skins differ";
}

// The skin attached as StartWindow does, through the real loader and files, with a program
// folder and a cache folder of the test's own.
struct RealSkinProgram {
    RealSkinProgram(const fs::path& programFolder, const fs::path& cache)
        : loader("/nonexistent", programFolder.string(), cache.string()) {}
    void Start() { AttachSkin(program, kStartWindowSkin); }

    testing::FakeServices fakes;  // what attaching a skin does not use
    linux_platform::Files files{"/nonexistent"};
    linux_platform::DlSkinLoader loader;
    Platform platform = fakes.with(files, &loader);
    testing::FakeWindowSystem ui{Layouts(), [](Window, std::string_view, Event) {}};
    Program program{ui, platform, {}, {}};
};

std::string Hidden(const fs::path& file) {
    char value[16] = {};
    ssize_t n = getxattr(file.c_str(), "user.DOSATTRIB", value, sizeof value);
    return n < 0 ? std::string() : std::string(value, static_cast<size_t>(n));
}

bool KeepsUserAttributes(const fs::path& folder) {
    const fs::path probe = folder / "probe";
    std::ofstream(probe) << "";
    bool kept = setxattr(probe.c_str(), "user.test", "1", 1, 0) == 0;
    fs::remove(probe);
    return kept;
}

std::string Image() {
    auto image = SkinLibraryImage();
    return {image.begin(), image.end()};
}

TEST(RealSkinTest, TheFirstStartWritesTheLibraryHiddenAndLaterStartsLeaveItAlone) {
    TempDir dir;
    const fs::path program = dir.mkdir("program"), library = program / "SkinH_EL.dll", cache = dir.path() / "cache";
    RealSkinProgram(program, cache).Start();
    EXPECT_EQ(ReadFile(library), Image());
    if (KeepsUserAttributes(program)) {
        EXPECT_EQ(Hidden(library), "0x2");
    }

    removexattr(library.c_str(), "user.DOSATTRIB");  // the user made it visible
    const auto written = fs::last_write_time(library);
    RealSkinProgram(program, cache).Start();
    EXPECT_EQ(fs::last_write_time(library), written);
    EXPECT_EQ(Hidden(library), "");
    EXPECT_FALSE(fs::exists(cache)) << "no private copy needed";
}

TEST(RealSkinTest, AnotherLibraryOfThatNameIsLoadedOnceAndAttachedEachTime) {
    TempDir dir;
    const fs::path program = dir.mkdir("program");
    fs::copy_file(ZONVEX_RECORDING_LIBRARY, program / "SkinH_EL.dll");
    setenv("ZONVEX_SKIN_RECORD", (dir.path() / "record").c_str(), 1);
    RealSkinProgram p(program, dir.path() / "cache");
    p.Start();
    p.Start();
    unsetenv("ZONVEX_SKIN_RECORD");
    const auto skin = BuiltInSkin(8);
    const std::string call = "attach " + std::to_string(skin.size()) + " [] 0 0 0\n";
    EXPECT_EQ(ReadFile(dir.path() / "record.calls"), "load\n" + call + call);
    const std::string bytes(skin.begin(), skin.end());
    EXPECT_EQ(ReadFile(dir.path() / "record.skin"), bytes + bytes);
}

TEST(RealSkinTest, WithoutALibraryFileInTheProgramFolderAPrivateCopyIsLoaded) {
    struct Case {
        const char* name;
        std::function<fs::path(TempDir&)> programFolder;
    } cases[] = {
        {"a folder of that name",
         [](TempDir& d) {
             d.mkdir("program/SkinH_EL.dll");
             return d.path() / "program";
         }},
        {"a program folder that cannot be written to", [](TempDir& d) { return d.path() / "missing"; }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path program = c.programFolder(dir), cache = dir.path() / "cache";
        EXPECT_NO_THROW(RealSkinProgram(program, cache).Start()) << c.name;
        EXPECT_EQ(ReadFile(cache / "SkinH_EL.dll"), Image()) << c.name;
    }
    if (geteuid() != 0) {  // root writes through permissions
        TempDir dir;
        const fs::path program = dir.mkdir("program");
        fs::permissions(program, fs::perms(0555));
        EXPECT_NO_THROW(RealSkinProgram(program, dir.path() / "cache").Start());
        EXPECT_FALSE(fs::exists(program / "SkinH_EL.dll"));
        EXPECT_EQ(ReadFile(dir.path() / "cache/SkinH_EL.dll"), Image());
    }
}

TEST(RealSkinTest, AFileOfThatNameThatIsNoSkinLibraryIsFatal) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> place;
    } cases[] = {
        {"not a library", [](const fs::path& f) { std::ofstream(f) << "MZ not really"; }},
        {"a library without the entry point", [](const fs::path& f) { fs::copy_file(ZONVEX_NO_ENTRY_LIBRARY, f); }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path program = dir.mkdir("program");
        c.place(program / "SkinH_EL.dll");
        EXPECT_THROW(RealSkinProgram(program, dir.path() / "cache").Start(), std::runtime_error) << c.name;
        EXPECT_FALSE(fs::exists(dir.path() / "cache")) << "a file that is there is used, or fatal: " << c.name;
    }
}

}  // namespace
}  // namespace zonvex
