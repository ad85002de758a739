#include <windows.h>

#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

DllSkinLoader::~DllSkinLoader() {
    if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

std::optional<Text> DllSkinLoader::privateCopy(std::span<const unsigned char> image) {
    if (privateDirectory_.empty()) return std::nullopt;
    // Its parent, %LOCALAPPDATA%, exists for every user; only our folder is made.
    CreateDirectoryW(privateDirectory_.c_str(), nullptr);
    const Text file = Narrow(privateDirectory_ + L"\\SkinH_EL.dll");
    // A path with characters GBK lacks cannot be handed back as a text.
    if (Wide(file) != privateDirectory_ + L"\\SkinH_EL.dll") return std::nullopt;
    const std::string_view wanted(reinterpret_cast<const char*>(image.data()), image.size());
    Files files;
    if (files.read(file) == wanted) return file;
    // Replaced whole, never changed in place: another running copy may have it loaded (and
    // then the replacement fails, since a loaded library cannot be replaced).
    const FileContent content{file, wanted};
    if (!files.replaceAll({&content, 1})) return std::nullopt;
    return file;
}

SkinLoader::Result DllSkinLoader::attach(const Text& path, std::span<const unsigned char> skin) {
    if (!module_) {
        HMODULE module = LoadLibraryW(Wide(path).c_str());
        if (!module) return Result::NotLoadable;
        auto entry = reinterpret_cast<AttachFunction>(reinterpret_cast<void*>(GetProcAddress(module, "SkinH_AttachRes")));
        if (!entry) {
            FreeLibrary(module);
            return Result::NoEntryPoint;
        }
        module_ = module;
        attach_ = entry;
    }
    attach_(skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0);
    return Result::Attached;
}

}  // namespace zonvex::windows_platform
