// Writes the generated C text of the benchmarks to a file, for comparisons with other tools;
// prints the number of function definitions in it.
#include <charconv>
#include <fstream>
#include <iostream>
#include <string_view>

#include "c_source_generator.h"

int main(int argc, char** argv) {
    int lines = 0;
    const std::string_view count = argc == 3 ? argv[2] : "";
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), lines);
    if (argc != 3 || error != std::errc() || end != count.data() + count.size() || lines < 1) {
        std::cerr << "usage: explorer_make_c_source OUT.c LINES\n";
        return 2;
    }
    const tarnwell::generated_c_source source = tarnwell::generate_c_source(lines);
    std::ofstream out(argv[1], std::ios::binary);
    out << source.text;
    if (!out.flush()) {
        std::cerr << "explorer_make_c_source: cannot write " << argv[1] << '\n';
        return 2;
    }
    std::cout << source.functions << '\n';
    return 0;
}
