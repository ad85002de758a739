#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "platform/linux/linux_platform.h"
#include "platform/linux/wine_prefixes.h"
#include "support/fake_home.h"

namespace zonvex::linux_platform {
namespace {

namespace fs = std::filesystem;
using testing::FakeHome;

// Each prefix found as "source path wine", with the home written as "~".
std::vector<std::string> Listed(const FakeHome& home, const Environment& env) {
    auto shorten = [&](std::string path) {
        if (path.starts_with(home.str())) path = "~" + path.substr(home.str().size());
        return path;
    };
    std::vector<std::string> listed;
    for (const auto& entry : KnownWinePrefixes(env))
        listed.push_back(entry.source + " " + shorten(entry.path) + (entry.wine.empty() ? "" : " " + shorten(entry.wine)));
    return listed;
}

struct HomeCase {
    const char* name;
    std::function<void(const FakeHome&, Environment&)> build;
    std::vector<std::string> expected;
};

TEST(KnownWinePrefixesTest, FakeHomes) {
    const HomeCase cases[] = {
        {"an empty home", [](const FakeHome&, Environment&) {}, {}},
        {"WINEPREFIX, then ~/.wine",
         [](const FakeHome& h, Environment& env) {
             h.prefix(".wine");
             h.prefix("mine");
             env.winePrefix = h.at("mine");
         },
         {"WINEPREFIX ~/mine", "home ~/.wine"}},
        {"one folder reached twice is listed once",
         [](const FakeHome& h, Environment& env) {
             h.prefix(".wine");
             fs::create_directory_symlink(h.path() / ".wine", h.path() / "link");
             env.winePrefix = h.at("link/");
         },
         {"WINEPREFIX ~/link/"}},
        {"a folder without user.reg or drive_c is no prefix",
         [](const FakeHome& h, Environment&) {
             h.mkdir(".wine/drive_c");
             h.write(".PlayOnLinux/wineprefix/CF/user.reg", "");
         },
         {}},
        {"Lutris game files: runner versions, the Flatpak, a prefix from the home, damaged files",
         [](const FakeHome& h, Environment&) {
             h.prefix("Games/cf");
             h.prefix("Games/flat");
             h.prefix("Games/tilde");
             h.write(".config/lutris/games/cf-1.yml",
                     "game:\n  exe: " + h.at("Games/cf/drive_c/cf/Client.exe") + "\n  prefix: " + h.at("Games/cf") +
                         "\nname: CF\nrunner: wine\nwine:\n  version: lutris-7.2-x86_64\n");
             h.write(".local/share/lutris/games/b.yml", "game:\n  prefix: ~/Games/tilde\n");
             h.write(".local/share/lutris/games/a-damaged.yml", "game: [prefix: {\n");
             h.write(".local/share/lutris/games/c-no-prefix.yml", "game:\n  exe: /x.exe\n");
             h.write(".local/share/lutris/games/d-list.yml", "- game\n- prefix\n");
             h.prefix("Games/climb");
             h.write(".local/share/lutris/games/e-climbing-runner.yml",
                     "game:\n  prefix: " + h.at("Games/climb") + "\nwine:\n  version: ../../../bin\n");
             h.write(".local/share/lutris/games/f-missing.yml", "game:\n  prefix: " + h.at("Games/gone") + "\n");
             h.write(".local/share/lutris/games/notes.txt", "game:\n  prefix: " + h.at("Games/cf") + "\n");
             h.write(".var/app/net.lutris.Lutris/data/lutris/games/flat.yml",
                     "game:\n  prefix: " + h.at("Games/flat") + "\nwine:\n  version: wine-ge-8\n");
         },
         {"lutris ~/Games/cf ~/.local/share/lutris/runners/wine/lutris-7.2-x86_64/bin/wine", "lutris ~/Games/tilde",
          "lutris ~/Games/climb", "lutris ~/Games/flat ~/.var/app/net.lutris.Lutris/data/lutris/runners/wine/wine-ge-8/bin/wine"}},
        {"Bottles: runners, a custom bottles folder, damaged bottles",
         [](const FakeHome& h, Environment&) {
             h.prefix(".local/share/bottles/bottles/Games");
             h.write(".local/share/bottles/bottles/Games/bottle.yml", "Name: Games\nPath: Games\nRunner: soda-7.0-9\n");
             h.prefix(".local/share/bottles/bottles/Broken");
             h.write(".local/share/bottles/bottles/Broken/bottle.yml", "Name: [\n");
             h.prefix(".local/share/bottles/bottles/NoFile");
             h.write(".local/share/bottles/data.yml", "custom_bottles_path: " + h.at("More") + "\n");
             h.prefix("More/CF");
             h.write("More/CF/bottle.yml", "Name: CF\nRunner: sys-wine-8.0\n");
             h.prefix(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat");
             h.write(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat/bottle.yml", "Runner: caffe-8\n");
         },
         {"bottles ~/.local/share/bottles/bottles/Games ~/.local/share/bottles/runners/soda-7.0-9/bin/wine",
          "bottles ~/More/CF ~/.local/share/bottles/runners/sys-wine-8.0/bin/wine",
          "bottles ~/.var/app/com.usebottles.bottles/data/bottles/bottles/Flat "
          "~/.var/app/com.usebottles.bottles/data/bottles/runners/caffe-8/bin/wine"}},
        {"Steam: every library listed, each once, however the root is reached",
         [](const FakeHome& h, Environment&) {
             h.prefix(".local/share/Steam/steamapps/compatdata/10/pfx");
             h.prefix(".local/share/Steam/steamapps/compatdata/20/pfx");
             h.mkdir(".local/share/Steam/steamapps/compatdata/30");  // no pfx yet
             h.mkdir(".steam");
             fs::create_directory_symlink(h.path() / ".local/share/Steam", h.path() / ".steam/steam");
             h.write(".local/share/Steam/steamapps/libraryfolders.vdf",
                     "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + h.at(".local/share/Steam") +
                         "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + h.at("Library") +
                         "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"30\"\t\t\"123\"\n\t\t}\n\t}\n}\n");
             h.prefix("Library/steamapps/compatdata/40/pfx");
         },
         {"steam ~/.steam/steam/steamapps/compatdata/10/pfx", "steam ~/.steam/steam/steamapps/compatdata/20/pfx",
          "steam ~/Library/steamapps/compatdata/40/pfx"}},
        {"Steam: a damaged libraryfolders.vdf still leaves the root",
         [](const FakeHome& h, Environment&) {
             h.prefix(".local/share/Steam/steamapps/compatdata/10/pfx");
             h.write(".local/share/Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\" { \"1\" { \"path\" \"");
         },
         {"steam ~/.local/share/Steam/steamapps/compatdata/10/pfx"}},
        {"Heroic: Wine and Proton games, damaged files",
         [](const FakeHome& h, Environment&) {
             h.prefix("Games/Heroic/Prefixes/CF");
             h.prefix("Games/Heroic/Prefixes/Proton/pfx");
             h.write(".config/heroic/GamesConfig/a.json",
                     "{\"cf\": {\"winePrefix\": \"" + h.at("Games/Heroic/Prefixes/CF") +
                         "\", \"wineVersion\": {\"bin\": \"" + h.at("tools/wine-ge/bin/wine") +
                         "\", \"name\": \"Wine-GE\", \"type\": \"wine\"}}, \"version\": \"v0\", \"explicit\": true}");
             h.write(".config/heroic/GamesConfig/b.json",
                     "{\"p\": {\"winePrefix\": \"" + h.at("Games/Heroic/Prefixes/Proton") +
                         "\", \"wineVersion\": {\"bin\": \"/steam/proton\", \"type\": \"proton\"}}}");
             h.write(".config/heroic/GamesConfig/c.json", "{\"x\": {\"winePrefix\": ");
             h.write(".config/heroic/GamesConfig/d.json", "[\"winePrefix\"]");
         },
         {"heroic ~/Games/Heroic/Prefixes/CF ~/tools/wine-ge/bin/wine", "heroic ~/Games/Heroic/Prefixes/Proton/pfx"}},
        {"a pipe or a folder among the game files is passed over, not waited on",
         [](const FakeHome& h, Environment&) {
             h.prefix("cf");
             h.mkdir(".config/lutris/games");
             ASSERT_EQ(mkfifo((h.path() / ".config/lutris/games/a.yml").c_str(), 0600), 0);
             h.mkdir(".config/lutris/games/b.yml");
             h.write(".config/lutris/games/c.yml", "game:\n  prefix: " + h.at("cf") + "\n");
         },
         {"lutris ~/cf"}},
        {"PlayOnLinux",
         [](const FakeHome& h, Environment&) {
             h.prefix(".PlayOnLinux/wineprefix/CF");
             h.write(".PlayOnLinux/wineprefix/readme", "");
         },
         {"playonlinux ~/.PlayOnLinux/wineprefix/CF"}},
        {"all managers in search order; a prefix two managers name is listed by the first",
         [](const FakeHome& h, Environment& env) {
             h.prefix(".PlayOnLinux/wineprefix/CF");
             h.prefix("heroic");
             h.write(".config/heroic/GamesConfig/a.json", "{\"a\": {\"winePrefix\": \"" + h.at("heroic") + "\"}}");
             h.prefix(".local/share/Steam/steamapps/compatdata/1/pfx");
             h.prefix(".local/share/bottles/bottles/B");
             h.write(".local/share/bottles/bottles/B/bottle.yml", "Runner: r\n");
             h.prefix("lutris");
             h.write(".config/lutris/games/a.yml", "game:\n  prefix: " + h.at("lutris") + "\n");
             h.write(".config/lutris/games/b.yml", "game:\n  prefix: " + h.at(".PlayOnLinux/wineprefix/CF") + "\n");
             h.prefix(".wine");
             h.prefix("own");
             env.winePrefix = h.at("own");
         },
         {"WINEPREFIX ~/own", "home ~/.wine", "lutris ~/lutris", "lutris ~/.PlayOnLinux/wineprefix/CF",
          "bottles ~/.local/share/bottles/bottles/B ~/.local/share/bottles/runners/r/bin/wine",
          "steam ~/.local/share/Steam/steamapps/compatdata/1/pfx", "heroic ~/heroic"}},
        {"XDG folders move the managers' files",
         [](const FakeHome& h, Environment& env) {
             h.prefix("lutris");
             h.write("data/lutris/games/a.yml", "game:\n  prefix: " + h.at("lutris") + "\nwine:\n  version: v\n");
             env.dataHome = h.at("data");
         },
         {"lutris ~/lutris ~/data/lutris/runners/wine/v/bin/wine"}},
    };
    for (const auto& c : cases) {
        FakeHome home;
        Environment env = home.environment();
        c.build(home, env);
        EXPECT_EQ(Listed(home, env), c.expected) << c.name;
    }
}

TEST(KnownWinePrefixesTest, UnreadableManagerFilesAreSkipped) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    FakeHome home;
    home.prefix("cf");
    auto file = home.write(".config/lutris/games/cf.yml", "game:\n  prefix: " + home.at("cf") + "\n");
    fs::permissions(file, fs::perms::none);
    EXPECT_TRUE(KnownWinePrefixes(home.environment()).empty());
}

TEST(GameManagerFilesTest, SteamLibraryFolders) {
    const struct {
        const char* name;
        std::string vdf;
        std::vector<std::string> expected;
    } cases[] = {
        {"blocks with a path", "\"libraryfolders\" { \"0\" { \"path\" \"/a\" \"label\" \"\" } \"1\" { \"PATH\" \"/b c\" } }",
         {"/a", "/b c"}},
        {"older numbered values", "\"LibraryFolders\"\n{\n\"TimeNextStatsReport\" \"1\"\n\"1\" \"/mnt/games\"\n}", {"/mnt/games"}},
        {"escapes", R"("libraryfolders" { "0" { "path" "/a \"b\"\\c" } })", {"/a \"b\"\\c"}},
        {"comments and bare words", "// x\nlibraryfolders { 0 { path /bare // y\n } }", {"/bare"}},
        {"a path deeper down is not a library", "\"libraryfolders\" { \"0\" { \"apps\" { \"path\" \"/no\" } } }", {}},
        {"unbalanced braces end the reading", "\"libraryfolders\" { } } \"1\" \"/no\"", {}},
        {"an unterminated string", "\"libraryfolders\" { \"1\" \"/a", {"/a"}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseSteamLibraryFolders(c.vdf), c.expected) << c.name;
}

TEST(GameManagerFilesTest, YamlAndJsonOfOtherShapesGiveNothing) {
    for (const char* yaml : {"", "game: 1", "game:\n  prefix: [a]", "[", "game: !!binary x", "&a [*a]", "\t\t"})
        EXPECT_EQ(ParseLutrisGame(yaml), std::nullopt) << yaml;
    EXPECT_EQ(ParseLutrisGame("game: {prefix: /p}\nwine: {version: [1]}"), (ManagedPrefix{"/p", ""}));
    EXPECT_EQ(ParseBottle("- a"), std::nullopt);
    EXPECT_EQ(ParseBottle("Runner: {a: 1}"), (ManagedPrefix{"", ""}));
    EXPECT_EQ(ParseBottlesCustomPath("custom_bottles_path: ''"), std::nullopt);
    EXPECT_EQ(ParseBottlesCustomPath("custom_bottles_path: /b"), "/b");
    for (const char* json : {"", "[]", "{\"a\": 1}", "{\"a\": {\"winePrefix\": 2}}", "{\"a\": {\"winePrefix\": \"\"}}", "{"})
        EXPECT_TRUE(ParseHeroicGamesConfig(json).empty()) << json;
    EXPECT_EQ(ParseHeroicGamesConfig("{\"a\": {\"winePrefix\": \"/p\", \"wineVersion\": \"x\"}}"),
              (std::vector<ManagedPrefix>{{"/p", ""}}));
}

TEST(WindowsPathTextTest, DrivesOfTheOwnPrefixElseHostForm) {
    FakeHome home;
    auto own = home.prefix("own");
    fs::create_directory_symlink("/", own / "dosdevices/z:");
    fs::create_directory_symlink(home.path() / "data", own / "dosdevices/d:");
    home.mkdir("data");
    home.prefix("other");
    home.mkdir("other/drive_c/cf");
    EXPECT_EQ(WindowsPathText(home.at("own/drive_c/Games/CF/Client.exe"), own.string()), "C:\\Games\\CF\\Client.exe");
    EXPECT_EQ(WindowsPathText(home.at("own/dosdevices/c:/x"), own.string()), "C:\\x") << "through the drive's link";
    EXPECT_EQ(WindowsPathText(home.at("own/drive_c"), own.string()), "C:\\");
    EXPECT_EQ(WindowsPathText(home.at("data/a"), own.string()), "D:\\a");
    Text other = "Z:" + home.str() + "/other/drive_c/cf";
    std::replace(other.begin(), other.end(), '/', '\\');
    EXPECT_EQ(WindowsPathText(home.at("other/drive_c/cf"), own.string()), other);
    EXPECT_EQ(WindowsPathText(home.at("other/drive_c/cf"), home.at("no-prefix")), other);
    // The host form maps back to the same file.
    EXPECT_TRUE(fs::equivalent(HostPath(other, own.string()), home.at("other/drive_c/cf")));
}

TEST(PrefixHoldingTest, NearestPrefixAbove) {
    FakeHome home;
    home.prefix("outer");
    home.prefix("outer/drive_c/inner");
    home.write("outer/drive_c/inner/drive_c/cf/QQLogin.exe", "MZ");
    EXPECT_EQ(PrefixHolding(home.at("outer/drive_c/inner/drive_c/cf/QQLogin.exe")), home.at("outer/drive_c/inner"));
    EXPECT_EQ(PrefixHolding(home.at("outer/drive_c/x.exe")), home.at("outer"));
    EXPECT_EQ(PrefixHolding(home.at("elsewhere/x.exe")), "");
}

}  // namespace
}  // namespace zonvex::linux_platform
