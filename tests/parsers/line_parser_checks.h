// Checks the tests of the line-based parsers share: a worked example with its exact result,
// and the robustness every parser owes to any input.
#pragma once

#include <string>
#include <string_view>

#include "parsers/xmls.h"

namespace tarnwell::test_support {

// A text and the result its parse must give; the markup is written without its "\001".
struct markup_case {
    const char* name;
    std::string source;
    bool ok;
    std::string message;
    std::string markup;
};

inline const std::string no_error = "yeah!! NO error";

void expect_result(tsparser& parser, const markup_case& c);

std::string repeated(std::string_view piece, int times);

// Deeply nested structures end in a failed result with "Error In Statement", never a crash.
void expect_nesting_fails_cleanly(tsparser& parser, const std::string& source);

// Control bytes, NUL, the sentinel character inside the text, lone CRs, invalid UTF-8,
// unterminated strings, groups and comments, and truncated structures: every parse ends with
// a markup closed by "\001" and an error length of at least 5.
void expect_any_bytes_parse(tsparser& parser);

}  // namespace tarnwell::test_support
