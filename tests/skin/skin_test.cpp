#include "skin/skin.h"

#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace zonvex {
namespace {

using testing::TestProgram;

const Text kLibrary = "C:\\Zonvex\\SkinH_EL.dll";

std::vector<unsigned char> Bytes(std::span<const unsigned char> s) { return {s.begin(), s.end()}; }
std::string Text8(std::span<const unsigned char> s) { return {s.begin(), s.end()}; }

TEST(AttachSkinTest, FirstStartWritesTheLibraryHiddenAndAttachesSkin8) {
    TestProgram t;
    t.files.addDirectory("C:\\Zonvex");
    t.ui.open(Window::Start);
    EXPECT_EQ(t.files.read(kLibrary), Text8(SkinLibraryImage()));
    EXPECT_TRUE(t.files.hidden.contains(testing::PathKey(kLibrary)));
    EXPECT_EQ(t.skin.loads, std::vector<Text>{kLibrary});
    ASSERT_EQ(t.skin.attached.size(), 1u);
    EXPECT_EQ(t.skin.attached[0], Bytes(BuiltInSkin(8)));
}

TEST(AttachSkinTest, WhateverStandsThereIsLeftAlone) {
    struct Case {
        const char* name;
        bool folder;  // a folder of that name, else a file
        bool privateCopyWritable;
        Text loaded;
    } cases[] = {
        {"another library of that name", false, true, kLibrary},
        {"a folder of that name", true, true, "C:\\cache\\SkinH_EL.dll"},
        {"a folder, and no private copy possible", true, false, kLibrary},
    };
    for (const Case& c : cases) {
        TestProgram t;
        if (c.folder)
            t.files.addDirectory(kLibrary);
        else
            t.files.addFile(kLibrary, "another version");
        t.skin.privateCopyWritable = c.privateCopyWritable;
        auto before = t.files.files;
        t.ui.open(Window::Start);
        EXPECT_EQ(t.files.files, before) << c.name;
        EXPECT_TRUE(t.files.hidden.empty()) << c.name;
        EXPECT_EQ(t.skin.loads, std::vector<Text>{c.loaded}) << c.name;
    }
}

TEST(AttachSkinTest, AnUnwritableProgramFolderLoadsAPrivateCopy) {
    TestProgram t;  // C:\Zonvex does not exist: nothing can be written there
    t.ui.open(Window::Start);
    EXPECT_FALSE(t.files.exists(kLibrary));
    ASSERT_EQ(t.skin.privateCopies.size(), 1u);
    EXPECT_EQ(t.skin.privateCopies[0], Bytes(SkinLibraryImage()));
    EXPECT_EQ(t.skin.loads, std::vector<Text>{"C:\\cache\\SkinH_EL.dll"});
}

TEST(AttachSkinTest, ALibraryThatCannotBeUsedIsFatal) {
    for (auto result : {SkinLoader::Result::NotLoadable, SkinLoader::Result::NoEntryPoint}) {
        TestProgram t;
        t.files.addDirectory("C:\\Zonvex");
        t.skin.result = result;
        try {
            t.ui.open(Window::Start);
            ADD_FAILURE() << "not fatal";
        } catch (const std::runtime_error& fatal) {
            const std::string message = fatal.what();
            EXPECT_NE(message.find("SkinH_EL.dll"), std::string::npos) << message;
            EXPECT_NE(message.find("SkinH_AttachRes"), std::string::npos) << message;
        }
    }
}

TEST(AttachSkinTest, EveryStartWindowAttachesAgainWithoutLoadingAgain) {
    TestProgram t;
    t.files.addDirectory("C:\\Zonvex");
    t.files.addFile("C:\\cf\\crossfire.exe");
    t.ui.open(Window::Start);
    t.ui.type(Window::Start, "编辑框1", "C:\\cf");
    t.ui.press(Window::Main, "超级链接框6");
    ASSERT_TRUE(t.ui.isOpen(Window::Start));
    EXPECT_EQ(t.skin.attached.size(), 2u);
    EXPECT_EQ(t.skin.loads.size(), 1u);
    EXPECT_EQ(t.skin.attached[1], Bytes(BuiltInSkin(8)));
}

TEST(BuiltInSkinTest, NumbersOutsideTheSetGiveNothing) {
    EXPECT_TRUE(BuiltInSkin(0).empty());
    EXPECT_TRUE(BuiltInSkin(34).empty());
    EXPECT_FALSE(BuiltInSkin(1).empty());
    EXPECT_FALSE(BuiltInSkin(33).empty());
}

}  // namespace
}  // namespace zonvex
