/* A stand-in for the client's launcher QQLogin.exe in the Windows end-to-end test and demo:
   it appends the folder it was started in to launcher.log beside itself, and ends. */
#include <windows.h>
#include <wchar.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    (void)instance; (void)previous; (void)commandLine; (void)show;
    wchar_t self[MAX_PATH], log[MAX_PATH], folder[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    wchar_t *slash = wcsrchr(self, L'\\');
    if (!slash) return 1;
    slash[1] = L'\0';
    if (wcslen(self) + wcslen(L"launcher.log") >= MAX_PATH) return 1;
    wcscpy(log, self);
    wcscat(log, L"launcher.log");
    DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return 1;
    char line[4 * MAX_PATH];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, folder, (int)length, line, sizeof line - 2, NULL, NULL);
    line[bytes++] = '\n';
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written;
    WriteFile(file, line, (DWORD)bytes, &written, NULL);
    CloseHandle(file);
    return 0;
}
