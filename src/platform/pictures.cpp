#include "platform/pictures.h"

// ZONVEX_PICTURES is the folder the build rendered the pictures into.
#ifdef _WIN32
#define ZONVEX_READ_ONLY_DATA ".section .rdata,\"dr\"\n"
#define ZONVEX_BACK_TO_CODE ".text\n"
#else
#define ZONVEX_READ_ONLY_DATA ".section .rodata\n"
#define ZONVEX_BACK_TO_CODE ".previous\n"
#endif

asm(ZONVEX_READ_ONLY_DATA
    ".balign 16\n"
    "zonvex_pointer_rgba:\n"
    " .incbin \"" ZONVEX_PICTURES "/pointer.rgba\"\n"
    "zonvex_pointer_rgba_end:\n"
    "zonvex_group_join_rgba:\n"
    " .incbin \"" ZONVEX_PICTURES "/group_join.rgba\"\n"
    "zonvex_group_join_rgba_end:\n"
    ZONVEX_BACK_TO_CODE);

extern "C" const unsigned char zonvex_pointer_rgba[], zonvex_pointer_rgba_end[];
extern "C" const unsigned char zonvex_group_join_rgba[], zonvex_group_join_rgba_end[];

namespace zonvex {

Picture PointerPicture() { return {32, 32, {zonvex_pointer_rgba, zonvex_pointer_rgba_end}}; }
Picture GroupJoinPicture() { return {90, 22, {zonvex_group_join_rgba, zonvex_group_join_rgba_end}}; }

}  // namespace zonvex
