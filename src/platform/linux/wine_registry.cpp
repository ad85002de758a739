// Reads string values from Wine's registry files (user.reg, system.reg), text files of
// sections such as
//
//   [Software\\Tencent\\CrossFire] 1700000000
//   "install"="C:\\Games\\\x7a7f\x8d8a\x706b\x7ebf"
//   "other"=str(2):"%ProgramFiles%\\cf"
//   "third"=hex(2):25,00,48,00,...,\   (continued)
//     00,00
//
// Strings are escaped the way Wine writes them; non-ASCII characters are \x followed by a
// UTF-16 code unit in hex. Key and value names compare ignoring ASCII case.
#include <cctype>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

namespace {

void AppendUtf8(std::string& out, unsigned long cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = '?';
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 code units to UTF-8, pairing surrogates; a lone surrogate becomes "?".
std::string Utf16ToUtf8(const std::vector<unsigned long>& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        unsigned long u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses the escaped string that starts after an opening quote at `at`, up to the
// closing character; returns it as UTF-8 and leaves `at` after the closing character.
std::optional<std::string> ParseEscaped(std::string_view line, size_t& at, char closing) {
    std::vector<unsigned long> units;  // \x escapes are UTF-16 units
    std::string out;
    auto flushUnits = [&] {
        out += Utf16ToUtf8(units);
        units.clear();
    };
    while (at < line.size()) {
        char c = line[at++];
        if (c == closing) {
            flushUnits();
            return out;
        }
        if (c != '\\' || at >= line.size()) {
            flushUnits();
            out += c;  // raw bytes are taken as UTF-8
            continue;
        }
        char e = line[at++];
        if (e == 'x') {
            unsigned long unit = 0;
            int digits = 0;
            for (int d; digits < 4 && at < line.size() && (d = HexDigit(line[at])) >= 0; ++digits, ++at)
                unit = unit * 16 + static_cast<unsigned long>(d);
            if (digits == 0) return std::nullopt;
            units.push_back(unit);
            continue;
        }
        flushUnits();
        if (e >= '0' && e <= '7') {
            unsigned long value = static_cast<unsigned long>(e - '0');
            for (int n = 1; n < 3 && at < line.size() && line[at] >= '0' && line[at] <= '7'; ++n, ++at)
                value = value * 8 + static_cast<unsigned long>(line[at] - '0');
            AppendUtf8(out, value);
            continue;
        }
        switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            case 'e': out += '\x1b'; break;
            default: out += e; break;  // \\ and \" and anything else stand for themselves
        }
    }
    return std::nullopt;  // no closing character
}

// hex(2): data, comma-separated bytes of a UTF-16LE string ending in a zero unit.
std::optional<std::string> ParseHexUtf16(std::string_view data) {
    std::vector<unsigned char> bytes;
    int high = -1;
    for (char c : data) {
        if (c == ',' || c == ' ' || c == '\t' || c == '\\') continue;
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<unsigned char>(high * 16 + d));
            high = -1;
        }
    }
    std::vector<unsigned long> units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned long unit = bytes[i] | (static_cast<unsigned long>(bytes[i + 1]) << 8);
        if (unit == 0) break;
        units.push_back(unit);
    }
    return Utf16ToUtf8(units);
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Calls `visit(name, value)` for each value of the key, in file order; a value of a type
// other than a string comes as nothing. `visit` returns false to stop.
template <typename Visit>
void VisitKey(std::string_view regFile, std::string_view key, Visit visit) {
    bool inKey = false;
    size_t at = 0;
    while (at < regFile.size()) {
        size_t end = regFile.find('\n', at);
        if (end == std::string_view::npos) end = regFile.size();
        std::string line(regFile.substr(at, end - at));
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (StartsWith(line, "[")) {
            size_t pos = 1;
            auto name = ParseEscaped(line, pos, ']');
            inKey = name && EqualsIgnoringAsciiCase(*name, key);
            continue;
        }
        if (!inKey || !StartsWith(line, "\"")) continue;
        size_t pos = 1;
        auto name = ParseEscaped(line, pos, '"');
        if (!name || pos >= line.size() || line[pos] != '=') continue;
        std::string_view data = std::string_view(line).substr(pos + 1);
        std::optional<RegString> result;
        if (StartsWith(data, "\"")) {
            size_t p = 1;
            if (auto s = ParseEscaped(data, p, '"')) result = RegString{*s, false};
        } else if (StartsWith(data, "str(2):\"")) {
            size_t p = 8;
            if (auto s = ParseEscaped(data, p, '"')) result = RegString{*s, true};
        } else if (StartsWith(data, "hex(2):")) {
            std::string hex(data.substr(7));
            // Long hex data continues on the next lines after a trailing backslash.
            while (!hex.empty() && hex.back() == '\\' && at < regFile.size()) {
                size_t next = regFile.find('\n', at);
                if (next == std::string_view::npos) next = regFile.size();
                hex.pop_back();
                hex += regFile.substr(at, next - at);
                at = next + 1;
            }
            if (auto s = ParseHexUtf16(hex)) result = RegString{*s, true};
        }
        if (!visit(*name, std::move(result))) return;
    }
}

// Folders that Wine's system.reg records and gives its programs as variables.
struct FolderVariable {
    std::string_view key, value, variable;
};
constexpr std::string_view kWindowsNt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::string_view kWindows = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr std::string_view kProfiles = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr FolderVariable kFolderVariables[] = {
    {kWindowsNt, "SystemRoot", "SystemRoot"},
    {kWindows, "ProgramFilesDir", "ProgramFiles"},
    {kWindows, "ProgramFilesDir", "ProgramW6432"},
    {kWindows, "ProgramFilesDir (x86)", "ProgramFiles(x86)"},
    {kWindows, "CommonFilesDir", "CommonProgramFiles"},
    {kWindows, "CommonFilesDir", "CommonProgramW6432"},
    {kWindows, "CommonFilesDir (x86)", "CommonProgramFiles(x86)"},
    {kProfiles, "ProgramData", "ProgramData"},
    {kProfiles, "ProgramData", "ALLUSERSPROFILE"},
    {kProfiles, "Public", "PUBLIC"},
};

// Every string value of a key into the variables: plain ones first, then the expandable ones
// expanded with what is known by then, as Windows builds a process's environment.
void AddKeyVariables(WineVariables& variables, std::string_view regFile, std::string_view key) {
    std::vector<std::pair<std::string, RegString>> values;
    VisitKey(regFile, key, [&](const std::string& name, std::optional<RegString> value) {
        if (value) values.emplace_back(LowerAscii(name), std::move(*value));
        return true;
    });
    for (bool expandable : {false, true})
        for (const auto& [name, value] : values)
            if (value.expandable == expandable)
                variables[name] = expandable ? ExpandVariables(value.data, variables) : value.data;
}

// A registry file of a prefix; Wine's own are a few MiB.
std::optional<std::string> ReadRegistryFile(const std::string& path) { return ReadRegularFile(path, 256u << 20); }

bool IsDrivePath(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

}  // namespace

std::optional<RegString> ReadRegString(std::string_view regFile, std::string_view key, std::string_view value) {
    std::optional<RegString> found;
    VisitKey(regFile, key, [&](const std::string& name, std::optional<RegString> data) {
        if (!EqualsIgnoringAsciiCase(name, value)) return true;
        found = std::move(data);
        return false;
    });
    return found;
}

std::string ExpandVariables(std::string_view text, const WineVariables& variables) {
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        size_t open = text.find('%', at);
        size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, open - at);
        auto known = variables.find(LowerAscii(text.substr(open + 1, close - open - 1)));
        if (close > open + 1 && known != variables.end()) {
            out += known->second;
            at = close + 1;
        } else {
            out += text.substr(open, close - open);  // keep "%NAME", the second % may open the next
            at = close;
        }
    }
    return out;
}

WineVariables PrefixVariables(std::string_view systemReg, std::string_view userReg) {
    WineVariables variables;
    for (std::string_view key : {kWindowsNt, kWindows, kProfiles}) {  // one pass over the file per key
        VisitKey(systemReg, key, [&](const std::string& name, const std::optional<RegString>& value) {
            for (const FolderVariable& folder : kFolderVariables)
                if (value && folder.key == key && EqualsIgnoringAsciiCase(folder.value, name))
                    variables[LowerAscii(folder.variable)] = value->expandable ? ExpandVariables(value->data, variables) : value->data;
            return true;
        });
    }
    // Windows derives the system drive from the system folder.
    if (auto root = variables.find("systemroot"); root != variables.end() && IsDrivePath(root->second))
        variables["systemdrive"] = root->second.substr(0, 2);
    AddKeyVariables(variables, systemReg, "System\\CurrentControlSet\\Control\\Session Manager\\Environment");
    AddKeyVariables(variables, userReg, "Environment");
    AddKeyVariables(variables, userReg, "Volatile Environment");
    return variables;
}

std::vector<RegistryValueFound> FindRegistryValues(const Environment& environment, const Text& key, const Text& value) {
    const std::string own = Canonical(environment.ownPrefix());
    const std::string keyName = GbkToUtf8(key), valueName = GbkToUtf8(value);
    std::vector<RegistryValueFound> found;
    for (WinePrefixEntry& prefix : KnownWinePrefixes(environment)) {
        auto userReg = ReadRegistryFile(prefix.path + "/user.reg");
        auto data = userReg ? ReadRegString(*userReg, keyName, valueName) : std::nullopt;
        if (!data) continue;
        std::string text = data->data;
        if (data->expandable)
            text = ExpandVariables(text, PrefixVariables(ReadRegistryFile(prefix.path + "/system.reg").value_or(""), *userReg));
        Text path = Utf8ToGbk(text);
        // A drive in another prefix is not the same drive here: name the host file instead.
        if (IsDrivePath(path) && Canonical(prefix.path) != own)
            path = WindowsPathText(HostPath(path, prefix.path), environment.ownPrefix());
        found.push_back({std::move(prefix), std::move(text), std::move(path)});
    }
    return found;
}

std::optional<Text> WineRegistry::currentUserString(const Text& key, const Text& value) const {
    std::vector<RegistryValueFound> found = FindRegistryValues(environment_, key, value);
    for (const RegistryValueFound& each : found)
        if (prefer_(each.path)) return each.path;
    if (found.empty()) return std::nullopt;
    return found.front().path;
}

}  // namespace zonvex::linux_platform
