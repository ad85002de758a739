// The skin library's file and the built-in skins, as the build made them: embedded into the
// program by embedded_data.S, which CMake writes from embedded_data.S.in.
#include "skin/skin.h"

extern "C" const unsigned char zonvex_skin_library[], zonvex_skin_library_end[];
extern "C" const unsigned char zonvex_skin_01[], zonvex_skin_02[], zonvex_skin_03[], zonvex_skin_04[],
    zonvex_skin_05[], zonvex_skin_06[], zonvex_skin_07[], zonvex_skin_08[], zonvex_skin_09[], zonvex_skin_10[],
    zonvex_skin_11[], zonvex_skin_12[], zonvex_skin_13[], zonvex_skin_14[], zonvex_skin_15[], zonvex_skin_16[],
    zonvex_skin_17[], zonvex_skin_18[], zonvex_skin_19[], zonvex_skin_20[], zonvex_skin_21[], zonvex_skin_22[],
    zonvex_skin_23[], zonvex_skin_24[], zonvex_skin_25[], zonvex_skin_26[], zonvex_skin_27[], zonvex_skin_28[],
    zonvex_skin_29[], zonvex_skin_30[], zonvex_skin_31[], zonvex_skin_32[], zonvex_skin_33[], zonvex_skins_end[];

namespace zonvex {

std::span<const unsigned char> SkinLibraryImage() {
    return {zonvex_skin_library, zonvex_skin_library_end};
}

std::span<const unsigned char> BuiltInSkin(int number) {
    // Each skin ends where the next begins.
    static const unsigned char* const starts[] = {
        zonvex_skin_01, zonvex_skin_02, zonvex_skin_03, zonvex_skin_04, zonvex_skin_05, zonvex_skin_06,
        zonvex_skin_07, zonvex_skin_08, zonvex_skin_09, zonvex_skin_10, zonvex_skin_11, zonvex_skin_12,
        zonvex_skin_13, zonvex_skin_14, zonvex_skin_15, zonvex_skin_16, zonvex_skin_17, zonvex_skin_18,
        zonvex_skin_19, zonvex_skin_20, zonvex_skin_21, zonvex_skin_22, zonvex_skin_23, zonvex_skin_24,
        zonvex_skin_25, zonvex_skin_26, zonvex_skin_27, zonvex_skin_28, zonvex_skin_29, zonvex_skin_30,
        zonvex_skin_31, zonvex_skin_32, zonvex_skin_33, zonvex_skins_end};
    if (number < 1 || number > kBuiltInSkinCount) return {};
    return {starts[number - 1], starts[number]};
}

}  // namespace zonvex
