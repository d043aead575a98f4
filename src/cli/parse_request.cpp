#include "cli/parse_request.h"

#include <string>

#include "cli/function_choice.h"
#include "flowview/marked_region.h"
#include "parsers/language_table.h"
#include "parsers/parser_registry.h"

namespace tarnwell::cli {

parse_outcome parse_request(const cli_options& options) {
    const std::string source = read_input(options.file);
    const int language = language_of(options, source);
    if (language == language_general) {
        throw usage_error("no language is chosen for " + options.file +
                          ": name one with --lang (tarnwell-cli languages lists them)");
    }
    parse_outcome outcome;
    outcome.parser_slot = parser_slot_of_language(language);
    if (outcome.parser_slot == 0) outcome.parser_slot = parser_registry::default_slot;

    static const parser_registry registry;
    tsparser* parser = registry.parser_at(outcome.parser_slot);
    if (parser == nullptr) {
        throw usage_error(
            "no parser charts " +
            std::string(language_table()[static_cast<std::size_t>(language)].short_name) + " yet");
    }
    const std::optional<std::pair<int, int>> lines =
        options.lines ? options.lines : chosen_function_lines(options, source, language);
    if (lines) {
        const auto region = cut_marked_lines(source, lines->first, lines->second);
        if (!region) {
            throw usage_error("--lines " + std::to_string(lines->first) + "-" +
                              std::to_string(lines->second) + " lies past the end of " +
                              options.file);
        }
        outcome.result = parser->parse(region->text);
        outcome.offset = region->offset;
        outcome.text = region->text;
    } else {
        outcome.result = parser->parse(source);
        outcome.text = source;
    }
    outcome.source = source;
    return outcome;
}

parse_outcome parse_request_or_markup(const cli_options& options) {
    if (!options.markup) return parse_request(options);
    if (options.lines || !options.function_name.empty() || options.at_line) {
        throw usage_error(
            "--lines, --function and --at mark source lines; they do not go with "
            "--markup");
    }
    const std::string text = read_input(options.file);
    parse_outcome outcome;
    outcome.result.ok = true;
    outcome.result.markup = text.substr(0, text.find('\001') + 1);
    if (outcome.result.markup.empty()) outcome.result.markup = text;
    if (options.language) outcome.parser_slot = parser_slot_of_language(*options.language);
    if (outcome.parser_slot == 0) outcome.parser_slot = parser_registry::default_slot;
    return outcome;
}

}  // namespace tarnwell::cli
