// The registry reader on any file, looking up the client's value and expanding it with the
// variables the same file defines (as system.reg and user.reg).
#include "fuzz_input.h"
#include "platform/linux/linux_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace lp = zonvex::linux_platform;
    auto f = zonvex::fuzz::Fields(data, size, 3);
    std::string_view key = f[0].empty() ? std::string_view("Software\\Tencent\\CrossFire") : f[0];
    std::string_view value = f[1].empty() ? std::string_view("install") : f[1];
    if (auto found = lp::ReadRegString(f[2], key, value); found && found->expandable)
        (void)lp::ExpandVariables(found->data, lp::PrefixVariables(f[2], f[2]));
    return 0;
}
