#pragma once
// The whole program on the Linux platform and Qt, built with its two page addresses.
#include <functional>

#include "app/program.h"

namespace zonvex {

// Opens StartWindow and runs until the last window is gone; the exit status. `started`
// runs once StartWindow has been created (benchmarks use it to stop there).
int RunZonvex(int argc, char** argv, const std::function<void(Program&)>& started = {});

}  // namespace zonvex
