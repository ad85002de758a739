#pragma once
// The platform on Linux, where the client runs under Wine: Windows paths, the registry and
// processes are read the way Wine itself lays them out.
#include <functional>
#include <map>
#include <string>

#include "platform/linux/wine_prefixes.h"
#include "platform/platform.h"

namespace zonvex::linux_platform {

// The Wine prefix path texts are mapped through: $WINEPREFIX, else ~/.wine.
std::string WinePrefix();

// Maps a Windows path text to a host path. Both "\" and "/" separate; "X:" is
// <prefix>/dosdevices/x: ("Z:" is "/" when the prefix has no such link); a path starting
// with a separator starts at "/"; anything else is relative to the current directory. A
// component that does not exist as written matches the entry whose name is equal to it
// ignoring ASCII case. Names are GBK in the program and UTF-8 on the host.
std::string HostPath(const Text& windowsPath, const std::string& winePrefix);
// A host path as a path text of the program (UTF-8 to GBK, "?" for what GBK lacks).
Text PathText(const std::string& hostPath);
// The real path, resolving as much of it as exists; the path itself when even that fails.
std::string Canonical(const std::string& hostPath);
// The content of a regular file of at most `limit` bytes; nothing for anything else.
std::optional<std::string> ReadRegularFile(const std::string& path, size_t limit);

// The directory that holds the running executable, as a host path.
std::string ProgramDirectory();
// Makes that directory the current one; where it cannot be entered, the process stays
// where it was started.
void EnterProgramDirectory();

class Files final : public FileSystem {
public:
    explicit Files(std::string winePrefix) : prefix_(std::move(winePrefix)) {}
    bool exists(const Text& path) const override;
    std::optional<std::string> read(const Text& path) const override;
    // A target that is a symbolic link is replaced where it points. A read-only target is
    // one without any write permission bit, whoever runs the program (root too), as the
    // client would see it; a replaced file keeps its permissions.
    bool replaceAll(std::span<const FileContent> files) override;
    bool isFolder(const Text& path) const override;
    // Hidden is kept as Wine keeps it: the extended attribute user.DOSATTRIB = "0x2".
    bool setHidden(const Text& path) override;

private:
    std::string prefix_;
};

// HKEY_CURRENT_USER as Wine keeps it, in every prefix the player has (KnownWinePrefixes):
// the value is read from each in search order; the first that `prefer` accepts, as the
// program is given it (see FindRegistryValues), wins, else the first found.
class WineRegistry final : public Registry {
public:
    WineRegistry(Environment environment, std::function<bool(const Text&)> prefer)
        : environment_(std::move(environment)), prefer_(std::move(prefer)) {}
    std::optional<Text> currentUserString(const Text& key, const Text& value) const override;

private:
    Environment environment_;
    std::function<bool(const Text&)> prefer_;
};

// A string value as a Wine registry file (user.reg, system.reg) holds it, in UTF-8; an
// expandable one with its references unexpanded.
struct RegString {
    std::string data;
    bool expandable = false;
    bool operator==(const RegString&) const = default;
};
// The value of a key in the text of a registry file; nothing for a missing key or value, or
// a value of any other type. Key and value names compare ignoring ASCII case.
std::optional<RegString> ReadRegString(std::string_view regFile, std::string_view key, std::string_view value);

// The environment variables a prefix defines, as Wine gives them to its programs: the
// folders system.reg records (SystemRoot, ProgramFiles, CommonProgramFiles, ProgramData...),
// then the Session Manager's Environment, then user.reg's Environment and Volatile
// Environment. Names are kept in ASCII lower case.
using WineVariables = std::map<std::string, std::string>;
WineVariables PrefixVariables(std::string_view systemReg, std::string_view userReg);
// %NAME% references replaced by the variables' values, names ignoring ASCII case; an
// unknown reference stays as written.
std::string ExpandVariables(std::string_view text, const WineVariables& variables);

// Processes from a /proc tree. A Wine process is known by the Windows executable mapped into
// it (WineImageFromMaps), whatever its command line says: its image's name is the process's
// name, and its path is given mapped through the own prefix (WindowsPathText). A process
// whose maps cannot be read (another user's, or gone) is skipped.
class ProcProcesses final : public ProcessList {
public:
    explicit ProcProcesses(std::string ownPrefix, std::string procRoot = "/proc")
        : prefix_(std::move(ownPrefix)), root_(std::move(procRoot)) {}
    std::optional<std::vector<ProcessEntry>> snapshot() const override;
    std::optional<Text> modulePath(unsigned long id) const override;

private:
    std::string prefix_, root_;
};

// Reads pages with libcurl, from the server every time (no cache), over http and https only,
// redirects included (at most 5). A read that cannot connect within 5 s, takes longer than
// 5 s in all, or whose body grows beyond 16 MiB fails and gives the empty body, so a dead,
// stalled or endless server holds the windows up for seconds, not for good. libcurl is
// loaded at the first read; without it every read is empty.
class CurlHttp final : public Http {
public:
    std::string get(const std::string& url) override;

    static constexpr long kTimeoutSeconds = 5;
    static constexpr size_t kMaxBody = 16u << 20;
};

// The skin library through dlopen. Its private copy lives in the user's cache folder.
class DlSkinLoader final : public SkinLoader {
public:
    DlSkinLoader(std::string winePrefix, std::string programDirectory, std::string cacheDirectory)
        : prefix_(std::move(winePrefix)), programDirectory_(std::move(programDirectory)),
          cacheDirectory_(std::move(cacheDirectory)) {}
    ~DlSkinLoader() override;  // unloads the library
    DlSkinLoader(const DlSkinLoader&) = delete;
    DlSkinLoader& operator=(const DlSkinLoader&) = delete;

    Text programDirectory() const override { return PathText(programDirectory_); }
    std::optional<Text> privateCopy(std::span<const unsigned char> image) override;
    Result attach(const Text& path, std::span<const unsigned char> skin) override;

private:
    using AttachFunction = int (*)(const unsigned char*, int, const char*, int, int, int);
    std::string prefix_, programDirectory_, cacheDirectory_;
    void* handle_ = nullptr;
    AttachFunction attach_ = nullptr;
};

// $XDG_CACHE_HOME/zonvex, else ~/.cache/zonvex.
std::string UserCacheDirectory();

// Opens http and https addresses with xdg-open; anything else is not opened.
class XdgShell final : public Shell {
public:
    void open(const Text& target) override;
};

// Starts a program detached. A Windows executable ("MZ") runs in the prefix that holds it
// (PrefixHolding; the own prefix when none does), with WINEPREFIX set to it, through $WINE,
// else the Wine the prefix's manager records when that file is there, else wine from PATH.
class DetachedLauncher final : public Launcher {
public:
    explicit DetachedLauncher(Environment environment) : environment_(std::move(environment)) {}
    void start(const Text& path) override;

private:
    Environment environment_;
};

// Starts argv detached from this process, with the variables of `setEnvironment` ("NAME=value")
// set on top of its own: it is never waited for and never left as a zombie. Returns false
// when it could not be started.
bool SpawnDetached(const std::vector<std::string>& argv, const std::vector<std::string>& setEnvironment = {});

}  // namespace zonvex::linux_platform
