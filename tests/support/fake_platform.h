#pragma once
// In-memory platform services for handler tests, and a program wired to them.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/bindings.h"
#include "app/layouts.h"
#include "program/program.h"
#include "support/fake_window_system.h"

namespace zonvex::testing {

// Paths compare as Windows compares them: either separator, repeated separators and ASCII
// letter case do not matter.
inline std::string PathKey(const Text& path) {
    std::string key;
    for (char c : path) {
        if (c == '/') c = '\\';
        if (c == '\\' && !key.empty() && key.back() == '\\') continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
}

class FakeFiles final : public FileSystem {
public:
    bool exists(const Text& path) const override {
        return files.contains(PathKey(path)) || directories.contains(PathKey(path));
    }
    std::optional<std::string> read(const Text& path) const override {
        auto it = files.find(PathKey(path));
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    bool replaceAll(std::span<const FileContent> contents) override {
        for (const FileContent& c : contents) {
            std::string key = PathKey(c.path);
            if (readOnly.contains(key) || !directories.contains(key.substr(0, key.rfind('\\')))) return false;
        }
        for (const FileContent& c : contents) files[PathKey(c.path)] = std::string(c.bytes);
        return true;
    }

    bool isFolder(const Text& path) const override { return directories.contains(PathKey(path)); }
    bool setHidden(const Text& path) override {
        if (!files.contains(PathKey(path))) return false;
        hidden.insert(PathKey(path));
        return true;
    }

    void addDirectory(const Text& path) {
        std::string key = PathKey(path);
        for (size_t at = key.find('\\', 1); at != std::string::npos; at = key.find('\\', at + 1))
            directories.insert(key.substr(0, at));
        directories.insert(key);
    }
    void addFile(const Text& path, std::string bytes = {}) {
        std::string key = PathKey(path);
        addDirectory(key.substr(0, key.rfind('\\')));
        files[key] = std::move(bytes);
    }
    void remove(const Text& path) { files.erase(PathKey(path)); }

    std::map<std::string, std::string> files;
    std::set<std::string> directories;
    std::set<std::string> readOnly;
    std::set<std::string> hidden;
};

class FakeRegistry final : public Registry {
public:
    std::optional<Text> currentUserString(const Text& key, const Text& name) const override {
        lookups.push_back(key + "|" + name);
        return value;
    }
    std::optional<Text> value;
    mutable std::vector<Text> lookups;
};

class FakeProcesses final : public ProcessList {
public:
    std::optional<std::vector<ProcessEntry>> snapshot() const override {
        ++snapshots;
        if (failSnapshotFrom && snapshots >= *failSnapshotFrom) return std::nullopt;
        if (goneFrom && snapshots >= *goneFrom) return std::vector<ProcessEntry>{};
        return entries;
    }
    std::optional<Text> modulePath(unsigned long id) const override {
        auto it = modules.find(id);
        if (it == modules.end()) return std::nullopt;
        return it->second;
    }
    std::vector<ProcessEntry> entries;
    std::map<unsigned long, Text> modules;
    std::optional<int> failSnapshotFrom;  // the first snapshot (1-based) that fails
    std::optional<int> goneFrom;          // the first snapshot (1-based) in which nothing runs any more
    mutable int snapshots = 0;
};

class FakeHttp final : public Http {
public:
    std::string get(const std::string& url) override {
        requests.push_back(url);
        if (through) return through->get(url);
        auto it = pages.find(url);
        return it == pages.end() ? std::string() : it->second;
    }
    std::map<std::string, std::string> pages;
    std::vector<std::string> requests;
    Http* through = nullptr;  // a real reader to pass every request on to
};

class FakeShell final : public Shell {
public:
    void open(const Text& target) override { opened.push_back(target); }
    std::vector<Text> opened;
};

class FakeLauncher final : public Launcher {
public:
    void start(const Text& path) override {
        started.push_back(path);
        if (log) log("start " + path);
    }
    std::vector<Text> started;
    std::function<void(const std::string&)> log;
};

class FakeVoice final : public Voice {
public:
    bool speak(const Text& text) override {
        if (!available) return false;
        spoken.push_back(text);
        if (log) log("speak " + text);
        return true;
    }
    bool available = true;
    std::vector<Text> spoken;
    std::function<void(const std::string&)> log;
};

class FakeSkinLoader final : public SkinLoader {
public:
    Text programDirectory() const override { return "C:\\Zonvex"; }
    std::optional<Text> privateCopy(std::span<const unsigned char> image) override {
        if (!privateCopyWritable) return std::nullopt;
        privateCopies.emplace_back(image.begin(), image.end());
        return Text("C:\\cache\\SkinH_EL.dll");
    }
    Result attach(const Text& path, std::span<const unsigned char> skin) override {
        if (result != Result::Attached) return result;
        if (loads.empty()) loads.push_back(path);  // loaded at the first attach only
        attached.emplace_back(skin.begin(), skin.end());
        return result;
    }
    Result result = Result::Attached;
    bool privateCopyWritable = true;
    std::vector<std::vector<unsigned char>> privateCopies;
    std::vector<Text> loads;
    std::vector<std::vector<unsigned char>> attached;
};

inline constexpr const char* kVersionsPage = "http://pages.test/versions";
inline constexpr const char* kBulletinPage = "http://pages.test/bulletin";

// Every platform service, faked.
struct FakeServices {
    FakeFiles files;
    FakeRegistry registry;
    FakeProcesses processes;
    FakeHttp http;
    FakeShell shell;
    FakeLauncher launcher;
    FakeVoice voice;
    FakeSkinLoader skin;
    Platform platform{files, registry, processes, http, shell, launcher, voice, skin};

    // These services with real files, and a real skin loader if given, in place of the fakes.
    Platform with(FileSystem& realFiles, SkinLoader* realSkin = nullptr) {
        return {realFiles, registry, processes, http, shell, launcher, voice, realSkin ? *realSkin : skin};
    }
};

// A whole program on fake services, dispatching through the real binding table.
struct TestProgram : FakeServices {
    FakeWindowSystem ui{Layouts(), [this](Window w, std::string_view c, Event e) { Dispatch(program, w, c, e); }};
    Program program{ui, platform, {kVersionsPage, kBulletinPage}, {}};
    std::vector<std::string> events;  // messages, speech, launcher starts and windows, in order

    TestProgram() {
        auto record = [this](const std::string& e) { events.push_back(e); };
        ui.log = record;
        launcher.log = record;
        voice.log = record;
    }
    SharedState& state() { return program.state; }
};

}  // namespace zonvex::testing
