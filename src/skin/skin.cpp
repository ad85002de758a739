#include "skin/skin.h"

#include <vector>

namespace zonvex {

namespace {

constexpr std::string_view kLibraryName = "\\SkinH_EL.dll";
constexpr std::string_view kCannotLoad = "无法加载皮肤库 SkinH_EL.dll，或其中没有 SkinH_AttachRes。";

}  // namespace

Text EnsureSkinLibrary(Program& p) {
    FileSystem& files = p.platform.files;
    const Text path = p.platform.skin.programDirectory() + Text(kLibraryName);
    // Whatever stands there is left as it is: a file is never rewritten or examined.
    if (!files.exists(path)) {
        const std::span<const unsigned char> image = SkinLibraryImage();
        const FileContent file{path, {reinterpret_cast<const char*>(image.data()), image.size()}};
        if (files.replaceAll({&file, 1})) files.setHidden(path);
    }
    if (files.exists(path) && !files.isFolder(path)) return path;
    return p.platform.skin.privateCopy(SkinLibraryImage()).value_or(path);
}

void AttachSkin(Program& p, int number) {
    const Text library = EnsureSkinLibrary(p);
    const std::span<const unsigned char> skin = BuiltInSkin(number);
    const std::vector<unsigned char> copy(skin.begin(), skin.end());  // the library keeps nothing of ours
    if (p.platform.skin.attach(library, copy) != SkinLoader::Result::Attached) p.ui.fatal(Text(kCannotLoad));
}

}  // namespace zonvex
