// A large, plausible C source text made up for the scanner benchmarks.
#pragma once

#include <string>

namespace tarnwell {

struct generated_c_source {
    std::string text;
    int functions = 0;  // function definitions in the text
};

// At least `lines` lines of C (LF line ends) in repeating, slightly varied units: comments,
// directives, type definitions, initialisers and function definitions with nested blocks.
// The same count always gives the same text.
generated_c_source generate_c_source(int lines);

}  // namespace tarnwell
