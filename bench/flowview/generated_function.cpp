// Writes the generated C function of the flowchart benchmarks to standard output, so that
// scripts can chart the same function with tarnwell-cli: generated_function LINES.
#include <cstdlib>
#include <iostream>

#include "generated_source.h"

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::atoi(argv[1]) : 0;
    if (lines < 1) {
        std::cerr << "usage: generated_function LINES\n";
        return 2;
    }
    std::cout << "void longest()\r\n{\r\n"
              << tarnwell::bench::generated_cpp_function(lines) << "}\r\n";
    return 0;
}
