#include "cli/function_choice.h"

#include <charconv>
#include <vector>

#include "explorer/function_lookup.h"
#include "explorer/proc_scanner_choice.h"
#include "parsers/language_table.h"

namespace tarnwell::cli {

namespace {

std::string lines_text(const listed_function& function) {
    return std::to_string(function.begin) + "-" + std::to_string(function.end);
}

// The lines a click in the code explorer charts: a scanner that lists a function from the line
// that opens its body leaves the line with its name out of the chart, when that is the same.
std::pair<int, int> marked_lines(const listed_function& function, int language) {
    const bool header_first =
        !lists_whole_definitions(language) && function.declaration == function.begin;
    return {header_first ? function.begin + 1 : function.begin, function.end};
}

// NAME#K: the name and the 1-based K; K is 0 when the name carries none.
std::pair<std::string_view, int> name_and_rank(std::string_view spec) {
    const std::size_t hash = spec.rfind('#');
    if (hash == std::string_view::npos || hash + 1 == spec.size()) return {spec, 0};
    int rank = 0;
    const auto [end, error] =
        std::from_chars(spec.data() + hash + 1, spec.data() + spec.size(), rank);
    if (error != std::errc() || end != spec.data() + spec.size() || rank < 1) return {spec, 0};
    return {spec.substr(0, hash), rank};
}

}  // namespace

std::optional<std::pair<int, int>> chosen_function_lines(const cli_options& options,
                                                         const std::string& source, int language) {
    if (options.function_name.empty() && !options.at_line) return std::nullopt;
    const std::optional<std::vector<listed_function>> functions = list_functions(language, source);
    if (!functions) {
        throw usage_error(
            "--function and --at find functions in the languages the code explorer lists "
            "(C/C++, Java, C#, Pascal and the syntax-tree languages), not " +
            std::string(language_table()[static_cast<std::size_t>(language)].short_name));
    }
    const std::string file = options.file == "-" ? std::string("(standard input)") : options.file;
    if (options.function_name.empty()) {
        const std::optional<std::size_t> at = function_at(*functions, *options.at_line);
        if (!at) {
            throw usage_error("no function holds line " + std::to_string(*options.at_line) +
                              " of " + file);
        }
        return marked_lines((*functions)[*at], language);
    }
    const auto [name, rank] = name_and_rank(options.function_name);
    const std::vector<std::size_t> found = functions_named(*functions, name);
    if (found.empty()) {
        std::string message = "no function " + std::string(name) + " in " + file;
        const std::vector<std::string> near = names_near(*functions, name);
        for (std::size_t i = 0; i < near.size(); ++i) {
            message += (i == 0 ? "; near names: " : ", ") + near[i];
        }
        throw usage_error(message);
    }
    if (rank > 0) {
        if (static_cast<std::size_t>(rank) > found.size()) {
            throw usage_error(file + " has " + std::to_string(found.size()) + " function" +
                              (found.size() == 1 ? "" : "s") + " named " + std::string(name) +
                              ", not " + std::to_string(rank));
        }
        return marked_lines((*functions)[found[static_cast<std::size_t>(rank) - 1]], language);
    }
    if (found.size() > 1) {
        std::string message = "several functions in " + file + " are named " + std::string(name);
        for (std::size_t i = 0; i < found.size(); ++i) {
            const listed_function& f = (*functions)[found[i]];
            message += (i == 0 ? ": " : ", ") + f.name + " (lines " + lines_text(f) + ")";
        }
        message += "; give its qualified name or " + std::string(name) + "#2";
        throw usage_error(message);
    }
    return marked_lines((*functions)[found.front()], language);
}

}  // namespace tarnwell::cli
