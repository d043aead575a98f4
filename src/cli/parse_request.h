// Reads the input of a call, cuts the marked lines and parses them with the language's parser:
// the first half of every command that charts a source text.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_options.h"
#include "parsers/xmls.h"

namespace tarnwell::cli {

struct parse_outcome {
    parser_result result;
    std::int32_t offset = 0;  // characters before the marked region
    std::string text;         // the text the parser saw: the marked region, or the whole input
    std::string source;       // the whole input
    int parser_slot = 0;
};

parse_outcome parse_request(const cli_options& options);

// With --markup, FILE holds a markup: its text up to and including its terminator, laid out for
// the parser slot of --lang (default 3); there is no parse, so the parse fields report
// success. Otherwise the parse of the marked lines.
parse_outcome parse_request_or_markup(const cli_options& options);

}  // namespace tarnwell::cli
