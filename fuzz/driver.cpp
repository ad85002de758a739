// Runs a fuzz target's LLVMFuzzerTestOneInput once on each file named on the command line,
// or on standard input when none is, which is how afl-fuzz hands over its inputs.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Run(std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()));
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 2;
        }
        Run(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    }
    return 0;
}
