#pragma once
// Splits a fuzzer's input into fields at the byte 0x01, so that one input can carry
// several texts (markers and a source, or a key, a value name and a file).
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zonvex::fuzz {

inline std::vector<std::string_view> Fields(const uint8_t* data, size_t size, size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        size_t at = rest.find('\x01');
        if (at == std::string_view::npos) break;
        fields.push_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    fields.push_back(rest);
    fields.resize(count);
    return fields;
}

}  // namespace zonvex::fuzz
