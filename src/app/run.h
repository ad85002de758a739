#pragma once
// The whole program on the platform it was built for, with its two page addresses.
#include <functional>

#include "program/program.h"

namespace zonvex {

// Opens StartWindow and runs until the last window is gone; the exit status. `started`
// runs once StartWindow has been created (benchmarks use it to stop there).
int RunZonvex(int argc, char** argv, const std::function<void(Program&)>& started = {});

}  // namespace zonvex
