// The user.reg reader on any file, looking up the client's value.
#include "fuzz_input.h"
#include "platform/linux/linux_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto f = zonvex::fuzz::Fields(data, size, 3);
    const zonvex::Text key = f[0].empty() ? zonvex::Text("Software\\Tencent\\CrossFire") : zonvex::Text(f[0]);
    const zonvex::Text value = f[1].empty() ? zonvex::Text("install") : zonvex::Text(f[1]);
    (void)zonvex::linux_platform::ReadUserRegString(f[2], key, value);
    return 0;
}
