// The skin library through LoadLibraryW, with stand-in libraries of the test's own build,
// and its private copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/windows/windows_platform.h"
#include "windows_test_support.h"

namespace zonvex::windows_platform {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;

const unsigned char kSkin[] = {'.', 'S', 'H', 'E', 0, 3};

struct Folders {
    TempFolder folder;
    DllSkinLoader loader{folder.at("程序").wstring(), folder.at("本地\\Zonvex").wstring()};
    Folders() { fs::create_directories(folder.at("本地")); }
    // A stand-in library copied under the library's name.
    Text Library(const wchar_t* built, const Text& relative) const {
        const fs::path to = folder.at(relative);
        fs::create_directories(to.parent_path());
        fs::copy_file(testing::BuiltFile(built), to);
        return folder.text(relative);
    }
};

TEST(DllSkinLoaderTest, LoadsOnceAndHandsEverySkinToTheLibrary) {
    Folders f;
    const fs::path record = f.folder.at("record");
    _wputenv_s(L"ZONVEX_SKIN_RECORD", record.c_str());  // where the C library of the stand-in reads it
    const Text library = f.Library(L"zonvex_windows_recording_skin_library.dll", "程序\\SkinH_EL.dll");
    EXPECT_EQ(f.loader.attach(library, kSkin), SkinLoader::Result::Attached);
    EXPECT_EQ(f.loader.attach(f.folder.text("elsewhere\\SkinH_EL.dll"), kSkin), SkinLoader::Result::Attached)
        << "the library loaded first is used";
    _wputenv_s(L"ZONVEX_SKIN_RECORD", L"");
    EXPECT_EQ(ReadFile(record.wstring() + L".calls"), "load\nattach 6 [] 0 0 0\nattach 6 [] 0 0 0\n");
    EXPECT_EQ(ReadFile(record.wstring() + L".skin"), std::string(".SHE\0\3.SHE\0\3", 12));
    EXPECT_EQ(f.loader.programDirectory(), f.folder.text("程序"));
}

TEST(DllSkinLoaderTest, ALibraryThatCannotBeUsedIsReported) {
    Folders f;
    f.folder.write("程序\\SkinH_EL.dll", "not a library");
    EXPECT_EQ(f.loader.attach(f.folder.text("程序\\SkinH_EL.dll"), kSkin), SkinLoader::Result::NotLoadable);
    EXPECT_EQ(f.loader.attach(f.folder.text("无\\SkinH_EL.dll"), kSkin), SkinLoader::Result::NotLoadable);
    const Text other = f.Library(L"zonvex_windows_no_entry_library.dll", "其他\\SkinH_EL.dll");
    EXPECT_EQ(f.loader.attach(other, kSkin), SkinLoader::Result::NoEntryPoint);
}

TEST(DllSkinLoaderTest, ThePrivateCopyIsWrittenOnceAndKeptCurrent) {
    Folders f;
    const unsigned char image[] = {'M', 'Z', 1, 2, 3};
    const Text expected = f.folder.text("本地\\Zonvex\\SkinH_EL.dll");
    EXPECT_EQ(f.loader.privateCopy(image), expected);
    EXPECT_EQ(ReadFile(f.folder.at("本地\\Zonvex\\SkinH_EL.dll")), std::string("MZ\1\2\3", 5));
    EXPECT_EQ(f.loader.privateCopy(image), expected);
    const unsigned char newer[] = {'M', 'Z', 9};
    EXPECT_EQ(f.loader.privateCopy(newer), expected);
    EXPECT_EQ(ReadFile(f.folder.at("本地\\Zonvex\\SkinH_EL.dll")), std::string("MZ\x09", 3));

    DllSkinLoader nowhere(f.folder.at("程序").wstring(), f.folder.at("无\\Zonvex").wstring());
    EXPECT_EQ(nowhere.privateCopy(image), std::nullopt);
}

TEST(SapiVoiceTest, NoSpeechWithoutCom) {
    // The host sets COM up for the program's thread; without it there is no voice.
    std::thread([] { EXPECT_FALSE(SapiVoice().speak("恭喜您已经成功转换到体验服一区")); }).join();
}

}  // namespace
}  // namespace zonvex::windows_platform
