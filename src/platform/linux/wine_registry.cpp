// Reads one string value from Wine's user.reg, a text file of sections such as
//
//   [Software\\Tencent\\CrossFire] 1700000000
//   "install"="C:\\Games\\\x7a7f\x8d8a\x706b\x7ebf"
//   "other"=str(2):"%HOME%\\cf"
//   "third"=hex(2):25,00,48,00,...,\   (continued)
//     00,00
//
// Strings are escaped the way Wine writes them; non-ASCII characters are \x followed by a
// UTF-16 code unit in hex. Key and value names compare ignoring ASCII case.
#include <cstdlib>

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

// %NAME% references replaced by the environment's values; unknown ones stay as they are.
std::string ExpandEnvironment(const std::string& text) {
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        size_t open = text.find('%', at);
        size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, open - at);
        std::string name = text.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value) {
            out += value;
            at = close + 1;
        } else {
            out += text.substr(open, close - open);  // keep "%NAME", the second % may open the next
            at = close;
        }
    }
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::optional<Text> ReadUserRegString(std::string_view userReg, const Text& key, const Text& value) {
    const std::string wantedKey = GbkToUtf8(key);
    const std::string wantedValue = GbkToUtf8(value);
    bool inKey = false;
    size_t at = 0;
    while (at < userReg.size()) {
        size_t end = userReg.find('\n', at);
        if (end == std::string_view::npos) end = userReg.size();
        std::string line(userReg.substr(at, end - at));
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (StartsWith(line, "[")) {
            size_t pos = 1;
            auto name = ParseEscaped(line, pos, ']');
            inKey = name && EqualsIgnoringAsciiCase(*name, wantedKey);
            continue;
        }
        if (!inKey || !StartsWith(line, "\"")) continue;
        size_t pos = 1;
        auto name = ParseEscaped(line, pos, '"');
        if (!name || !EqualsIgnoringAsciiCase(*name, wantedValue) || pos >= line.size() || line[pos] != '=')
            continue;
        std::string_view data = std::string_view(line).substr(pos + 1);
        std::optional<std::string> result;
        if (StartsWith(data, "\"")) {
            size_t p = 1;
            result = ParseEscaped(data, p, '"');
        } else if (StartsWith(data, "str(2):\"")) {
            size_t p = 8;
            if (auto s = ParseEscaped(data, p, '"')) result = ExpandEnvironment(*s);
        } else if (StartsWith(data, "hex(2):")) {
            std::string hex(data.substr(7));
            // Long hex data continues on the next lines after a trailing backslash.
            while (!hex.empty() && hex.back() == '\\' && at < userReg.size()) {
                size_t next = userReg.find('\n', at);
                if (next == std::string_view::npos) next = userReg.size();
                hex.pop_back();
                hex += userReg.substr(at, next - at);
                at = next + 1;
            }
            if (auto s = ParseHexUtf16(hex)) result = ExpandEnvironment(*s);
        }
        if (!result) return std::nullopt;  // another type, or data that does not parse
        return Utf8ToGbk(*result);
    }
    return std::nullopt;
}

std::optional<Text> WineRegistry::currentUserString(const Text& key, const Text& value) const {
    const std::optional<std::string> content = ReadRegularFile(path_);
    if (!content) return std::nullopt;
    return ReadUserRegString(*content, key, value);
}

}  // namespace zonvex::linux_platform
