// HKEY_CURRENT_USER through the real registry functions, on values the test writes into a
// key of its own in the test run's prefix.
#include <gtest/gtest.h>

#include "platform/windows/windows_platform.h"
#include "windows_test_support.h"

namespace zonvex::windows_platform {
namespace {

class WindowsRegistryTest : public ::testing::Test {
protected:
    WindowsRegistryTest() : key_(L"Software\\Zonvex test " + std::to_wstring(GetCurrentProcessId()) + L"\\穿越火线") {
        RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle_, nullptr);
    }
    ~WindowsRegistryTest() override {
        RegCloseKey(handle_);
        RegDeleteTreeW(HKEY_CURRENT_USER, key_.substr(0, key_.rfind(L'\\')).c_str());
    }
    void Set(const wchar_t* name, DWORD type, const void* data, size_t bytes) {
        ASSERT_EQ(RegSetValueExW(handle_, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes)),
                  ERROR_SUCCESS);
    }
    void SetString(const wchar_t* name, DWORD type, const std::wstring& text) {
        Set(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    std::optional<Text> Read(const Text& value) const { return CurrentUserRegistry().currentUserString(Narrow(key_), value); }

    std::wstring key_;
    HKEY handle_ = nullptr;
};

TEST_F(WindowsRegistryTest, StringValuesAreReadAsTexts) {
    SetString(L"install", REG_SZ, L"D:\\游戏\\穿越火线\\rude\\Client.exe");
    SetString(L"Mixed", REG_SZ, L"x");
    SetString(L"not gbk", REG_SZ, L"C:\\\xAC00\\\xD83D\xDE00");  // a Korean syllable, an emoji
    Set(L"unterminated", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    SetString(L"", REG_SZ, L"default");
    EXPECT_EQ(Read("install"), "D:\\游戏\\穿越火线\\rude\\Client.exe");
    EXPECT_EQ(Read("MIXED"), "x") << "names ignore letter case";
    EXPECT_EQ(Read("not gbk"), "C:\\?\\?") << "one mark for each character";
    EXPECT_EQ(Read("unterminated"), "abc");
    EXPECT_EQ(Read(""), "default");
}

TEST_F(WindowsRegistryTest, ExpandableValuesHaveTheirVariablesExpanded) {
    SetString(L"install", REG_EXPAND_SZ, L"%ProgramFiles%\\穿越火线");
    SetString(L"unknown", REG_EXPAND_SZ, L"%NO_SUCH_VARIABLE_ZONVEX%\\a");
    wchar_t programFiles[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(Read("install"), Narrow(std::wstring(programFiles, n)) + "\\穿越火线");
    EXPECT_EQ(Read("unknown"), "%NO_SUCH_VARIABLE_ZONVEX%\\a");
}

TEST_F(WindowsRegistryTest, AnythingElseIsNoString) {
    const DWORD number = 7;
    Set(L"dword", REG_DWORD, &number, sizeof number);
    Set(L"binary", REG_BINARY, "C:\\", 3);
    const wchar_t multi[] = L"C:\\a\0C:\\b\0";
    Set(L"multi", REG_MULTI_SZ, multi, sizeof multi);
    for (const char* name : {"dword", "binary", "multi", "missing"}) EXPECT_EQ(Read(name), std::nullopt) << name;
    EXPECT_EQ(CurrentUserRegistry().currentUserString("Software\\Zonvex no such key", "install"), std::nullopt);
}

TEST_F(WindowsRegistryTest, LongValuesAreReadWhole) {
    const std::wstring path = L"C:\\" + std::wstring(5000, L'长');
    SetString(L"long", REG_SZ, path);
    EXPECT_EQ(Read("long"), Narrow(path));
}

}  // namespace
}  // namespace zonvex::windows_platform
