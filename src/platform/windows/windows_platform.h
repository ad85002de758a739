#pragma once
// The platform on Windows: the system's own services, reached only through the W functions.
// Texts stay GBK inside the program and are converted at this boundary, so nothing depends
// on the machine's ANSI code page.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace zonvex::windows_platform {

// GBK text (and the four-byte GB18030 sequences a page may bring) to UTF-16 for the W
// functions.
std::wstring Wide(std::string_view text);
// UTF-16 from the W functions to GBK text; a character GBK lacks becomes "?", as the ANSI
// functions report it.
Text Narrow(std::wstring_view wide);

// The folder that holds the running executable, with no separator at its end.
std::wstring ProgramDirectory();
// Makes that folder the current one; where it cannot be entered, the process stays where
// it was started.
void EnterProgramDirectory();
// %LOCALAPPDATA%\Zonvex: the user's own folder for the program's private files.
std::wstring PrivateDirectory();

class Files final : public FileSystem {
public:
    // Any file or folder that matches the path (wildcards included, as a search would).
    bool exists(const Text& path) const override;
    // A regular file of at most kMaxRead bytes; anything else is unreadable.
    std::optional<std::string> read(const Text& path) const override;
    // A target that is read-only, not a regular file, or held open by another program that
    // shares it with nobody (the running client holds its files so) fails the whole before
    // anything is moved.
    bool replaceAll(std::span<const FileContent> files) override;
    bool isFolder(const Text& path) const override;
    bool setHidden(const Text& path) override;

    static constexpr std::size_t kMaxRead = 64u << 20;
};

// HKEY_CURRENT_USER.
class CurrentUserRegistry final : public Registry {
public:
    std::optional<Text> currentUserString(const Text& key, const Text& value) const override;
};

class ToolhelpProcesses final : public ProcessList {
public:
    std::optional<std::vector<ProcessEntry>> snapshot() const override;
    // The first module's path, or the image name the system keeps where the modules cannot
    // be read (another bitness, a protected process).
    std::optional<Text> modulePath(unsigned long id) const override;
};

// Reads pages with WinHTTP, from the server every time (no cache), over http and https only,
// redirects included (at most 5). A read that cannot connect, send or receive within 5 s,
// or whose body grows beyond 16 MiB, fails and gives the empty body.
class WinHttpReader final : public Http {
public:
    std::string get(const std::string& url) override;

    static constexpr int kTimeoutMs = 5000;
    static constexpr std::size_t kMaxBody = 16u << 20;
    static constexpr int kMaxRedirects = 5;
};

// Opens http and https addresses with the shell's "open"; anything else is not opened.
class ShellOpen final : public Shell {
public:
    void open(const Text& target) override;
};

// Starts a program by its full path, in a normal window, and waits at most 1000 ms for it
// to be ready for input. The path is the application name as well as the quoted command
// line, so "C:\Program Files\..." can never start "C:\Program.exe" instead.
class ProcessLauncher final : public Launcher {
public:
    void start(const Text& path) override;
};

// SAPI's SpVoice, created for each text and released after it; the thread's COM must be
// set up (the host does it).
class SapiVoice final : public Voice {
public:
    bool speak(const Text& text) override;
};

// The skin library through LoadLibraryW, loaded at the first attach and freed with the
// loader. Its private copy lives in PrivateDirectory().
class DllSkinLoader final : public SkinLoader {
public:
    DllSkinLoader() : DllSkinLoader(ProgramDirectory(), PrivateDirectory()) {}
    DllSkinLoader(std::wstring programDirectory, std::wstring privateDirectory)
        : programDirectory_(std::move(programDirectory)), privateDirectory_(std::move(privateDirectory)) {}
    ~DllSkinLoader() override;
    DllSkinLoader(const DllSkinLoader&) = delete;
    DllSkinLoader& operator=(const DllSkinLoader&) = delete;

    Text programDirectory() const override { return Narrow(programDirectory_); }
    std::optional<Text> privateCopy(std::span<const unsigned char> image) override;
    Result attach(const Text& path, std::span<const unsigned char> skin) override;

private:
    // The library's entry point as the library declares it: 32-bit ints, standard call.
    using AttachFunction = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);
    std::wstring programDirectory_, privateDirectory_;
    void* module_ = nullptr;
    AttachFunction attach_ = nullptr;
};

}  // namespace zonvex::windows_platform
