#pragma once
// A temporary folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <fstream>
#include <string>

#include <stdlib.h>

#include "text/text.h"

namespace zonvex::testing {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zonvex-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

    // Writes a file below the folder, making its parent folders. Names are given as the
    // program's (GBK) texts and stored in UTF-8, as on any Linux disk.
    std::filesystem::path write(const std::string& relative, const std::string& bytes) const {
        auto file = path_ / std::filesystem::u8path(GbkToUtf8(relative));
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    std::filesystem::path mkdir(const std::string& relative) const {
        auto dir = path_ / std::filesystem::u8path(GbkToUtf8(relative));
        std::filesystem::create_directories(dir);
        return dir;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zonvex::testing
