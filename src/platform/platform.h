#pragma once
// The services the program asks of its platform. Paths are Windows path texts (GBK), as
// the client installation knows them; each implementation maps them to its host.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_system.h"
#include "text/text.h"

namespace zonvex {

// One file's new content, for FileSystem::replaceAll.
struct FileContent {
    Text path;
    std::string_view bytes;
};

class FileSystem {
public:
    // True when a file or a directory of that name exists.
    virtual bool exists(const Text& path) const = 0;
    // The whole file; nothing when it cannot be read.
    virtual std::optional<std::string> read(const Text& path) const = 0;
    // Gives every file its new content, or changes nothing: each is written in full beside
    // its target first and moved into place only when all were. A target that exists but
    // is read-only (or no file), or whose folder is missing, fails the whole. No folder is
    // created. True when every file holds its new content.
    virtual bool replaceAll(std::span<const FileContent> files) = 0;
    virtual bool isFolder(const Text& path) const = 0;
    // Gives the file the hidden attribute alone; false when the file system cannot keep it.
    virtual bool setHidden(const Text& path) = 0;
    virtual ~FileSystem() = default;
};

class Registry {
public:
    // The text of a string value (an expandable one with its environment references
    // expanded) under HKEY_CURRENT_USER; nothing for a missing key or value, or a value
    // of any other type.
    virtual std::optional<Text> currentUserString(const Text& key, const Text& value) const = 0;
    virtual ~Registry() = default;
};

struct ProcessEntry {
    unsigned long id = 0;
    Text exeName;  // the executable's file name
};

class ProcessList {
public:
    // The running processes in snapshot order; nothing when no snapshot can be taken.
    virtual std::optional<std::vector<ProcessEntry>> snapshot() const = 0;
    // The full path of a process's executable (its first module); nothing when the process
    // has gone or its modules cannot be read.
    virtual std::optional<Text> modulePath(unsigned long id) const = 0;
    virtual ~ProcessList() = default;
};

class Http {
public:
    // The response body of a GET that uses no cached copy; empty when the read failed.
    virtual std::string get(const std::string& url) = 0;
    virtual ~Http() = default;
};

class Shell {
public:
    // The system's "open" action on a link text.
    virtual void open(const Text& target) = 0;
    virtual ~Shell() = default;
};

class Launcher {
public:
    // Starts the program at a full path, with no arguments, and does not wait for it.
    virtual void start(const Text& path) = 0;
    virtual ~Launcher() = default;
};

class Voice {
public:
    // Speaks the text and returns when done; false when no speech service is available.
    virtual bool speak(const Text& text) = 0;
    virtual ~Voice() = default;
};

// The window-skinning library: loaded from a file at the first attach and kept loaded.
class SkinLoader {
public:
    enum class Result { Attached, NotLoadable, NoEntryPoint };
    // The folder of the program's executable, as a path text with no separator at its end.
    virtual Text programDirectory() const = 0;
    // Keeps a copy of the library's file in a folder of the user's own and gives its path;
    // nothing when it cannot be written there.
    virtual std::optional<Text> privateCopy(std::span<const unsigned char> image) = 0;
    // Hands the skin to the library's SkinH_AttachRes with the empty password and no
    // colour shifts. The first call loads the library from `path`; later calls use the one
    // loaded. What the library answers is not looked at.
    virtual Result attach(const Text& path, std::span<const unsigned char> skin) = 0;
    virtual ~SkinLoader() = default;
};

struct Platform {
    FileSystem& files;
    Registry& registry;
    ProcessList& processes;
    Http& http;
    Shell& shell;
    Launcher& launcher;
    Voice& voice;
    SkinLoader& skin;
};

}  // namespace zonvex
