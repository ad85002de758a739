// Stands in for another skin library of the same name: it records that it was loaded and
// every call, with the skin's bytes, into files named by ZONVEX_SKIN_RECORD.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string RecordFile(const char* suffix) {
    const char* base = std::getenv("ZONVEX_SKIN_RECORD");
    return base ? std::string(base) + suffix : std::string();
}

void Append(const std::string& file, const void* data, size_t size) {
    if (file.empty()) return;
    if (FILE* f = std::fopen(file.c_str(), "ab")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

__attribute__((constructor)) void Loaded() { Append(RecordFile(".calls"), "load\n", 5); }

}  // namespace

extern "C" __attribute__((visibility("default"))) int SkinH_AttachRes(const unsigned char* skin, int size,
                                                                      const char* password, int hue,
                                                                      int saturation, int brightness) {
    std::string line = "attach " + std::to_string(size) + " [" + password + "] " + std::to_string(hue) + " " +
                       std::to_string(saturation) + " " + std::to_string(brightness) + "\n";
    Append(RecordFile(".calls"), line.data(), line.size());
    Append(RecordFile(".skin"), skin, static_cast<size_t>(size));
    return 1;
}
