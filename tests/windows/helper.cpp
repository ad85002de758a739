// A small program that the tests start, copy and rename:
//   wait             waits until it is ended;
//   hold FILE MARK   opens FILE shared with nobody, then writes MARK and waits until ended;
//   anything else    writes "<own path>.started" holding its command line (UTF-16), then ends.
#include <windows.h>

#include <string>

namespace {

// Written beside the file and moved into place, so a test that waits for the file never
// reads it half-written.
void WriteFileText(const std::wstring& file, const std::wstring& text) {
    const std::wstring part = file + L".part";
    HANDLE h = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(h);
    MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode != L"wait" && mode != L"hold") {
        wchar_t self[MAX_PATH];
        const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
        WriteFileText(std::wstring(self, n) + L".started", GetCommandLineW());
        return 0;
    }
    if (mode == L"hold" && argc > 3) {
        HANDLE held = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held == INVALID_HANDLE_VALUE) return 1;
        WriteFileText(argv[3], L"held");
    }
    Sleep(60000);  // ended by the test long before
    return 0;
}
