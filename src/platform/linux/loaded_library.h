#pragma once
// Binding functions of a library opened with dlopen.
#include <dlfcn.h>

namespace zonvex::linux_platform {

// Points `function` at the library's function of that name; false when it has none.
template <typename F>
bool Bind(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace zonvex::linux_platform
