#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

namespace fs = std::filesystem;

std::string UserCacheDirectory() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && *cache == '/') return std::string(cache) + "/zonvex";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.cache/zonvex";
}

DlSkinLoader::~DlSkinLoader() {
    if (handle_) dlclose(handle_);
}

std::optional<Text> DlSkinLoader::privateCopy(std::span<const unsigned char> image) {
    std::error_code ec;
    fs::create_directories(cacheDirectory_, ec);
    fs::permissions(cacheDirectory_, fs::perms::owner_all, ec);
    const std::string file = cacheDirectory_ + "/SkinH_EL.dll";
    const std::optional<std::string> bytes = ReadRegularFile(file);
    const std::string_view wanted(reinterpret_cast<const char*>(image.data()), image.size());
    if (bytes == wanted) return PathText(file);
    // Replaced whole, never changed in place: another running copy may have it loaded.
    const FileContent content{PathText(file), wanted};
    if (!Files(prefix_).replaceAll({&content, 1})) return std::nullopt;
    return PathText(file);
}

SkinLoader::Result DlSkinLoader::attach(const Text& path, std::span<const unsigned char> skin) {
    if (!handle_) {
        void* handle = dlopen(HostPath(path, prefix_).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return Result::NotLoadable;
        auto entry = reinterpret_cast<AttachFunction>(dlsym(handle, "SkinH_AttachRes"));
        if (!entry) {
            dlclose(handle);
            return Result::NoEntryPoint;
        }
        handle_ = handle;
        attach_ = entry;
    }
    attach_(skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0);
    return Result::Attached;
}

}  // namespace zonvex::linux_platform
