#pragma once
// Temporary folders and the helper program for tests of the Windows services, run under
// Wine in a prefix of the test run's own.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/windows/windows_platform.h"

namespace zonvex::testing {

namespace fs = std::filesystem;

// A folder below the system's temporary folder, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, base);
        for (unsigned n = GetTickCount();; ++n) {
            path_ = fs::path(base) / (L"zonvex-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n));
            if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        }
    }
    ~TempFolder() {
        // Read-only files are cleared first: the removal would stop at them.
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(path_, ec))
            SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return path_; }
    // A path below the folder, named by a program text (GBK).
    fs::path at(const Text& relative) const { return path_ / windows_platform::Wide(relative); }
    // The same path as the program's text.
    Text text(const Text& relative = {}) const {
        return windows_platform::Narrow(relative.empty() ? path_.wstring() : at(relative).wstring());
    }
    fs::path write(const Text& relative, const std::string& bytes) const {
        const fs::path file = at(relative);
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    fs::path path_;
};

inline std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file of the test folder's own build, beside the test program.
inline fs::path BuiltFile(const wchar_t* name) {
    return fs::path(windows_platform::ProgramDirectory()) / name;
}

// The helper program (helper.cpp), copied under another name where a test needs it.
inline fs::path CopyHelper(const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::copy_file(BuiltFile(L"zonvex_windows_test_helper.exe"), to, fs::copy_options::overwrite_existing);
    return to;
}

// Waits, bounded, until a file appears; true when it did.
inline bool WaitForFile(const fs::path& file) {
    for (int i = 0; i < 400; ++i) {
        if (fs::exists(file)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

// A process the test started, ended when the test is done with it.
class Child {
public:
    Child(const fs::path& program, const std::wstring& arguments) {
        std::wstring line = L"\"" + program.wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            CloseHandle(info_.hThread);
    }
    ~Child() {
        if (!info_.hProcess) return;
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 5000);
        CloseHandle(info_.hProcess);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    bool started() const { return info_.hProcess != nullptr; }
    unsigned long id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

}  // namespace zonvex::testing
