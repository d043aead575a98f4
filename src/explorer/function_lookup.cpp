#include "explorer/function_lookup.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <utility>

#include "explorer/proc_scanner_choice.h"

namespace tarnwell {

namespace {

// A listed line "decl-begin-end|tag|name"; nothing for a line of another form.
std::optional<listed_function> read_line(std::string_view line) {
    listed_function function;
    for (int* number : {&function.declaration, &function.begin, &function.end}) {
        const auto [next, error] = std::from_chars(line.data(), line.data() + line.size(), *number);
        if (error != std::errc() || next == line.data() + line.size()) return std::nullopt;
        line.remove_prefix(static_cast<std::size_t>(next - line.data()) + 1);
    }
    const std::size_t bar = line.find('|');
    if (bar == std::string_view::npos) return std::nullopt;
    function.tag = line.substr(0, bar);
    function.name = line.substr(bar + 1);
    return function;
}

// A name with each "::" written as ".", as the languages that qualify with "::" (C++, Rust)
// and those that qualify with "." are matched alike.
std::string dotted(std::string_view name) {
    std::string result;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.substr(i, 2) == "::") {
            result += '.';
            ++i;
        } else {
            result += name[i];
        }
    }
    return result;
}

std::size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::optional<std::vector<listed_function>> list_functions(int language, std::string text) {
    const std::unique_ptr<TKestrinProcLexer> scanner = make_proc_scanner(language);
    if (!scanner) return std::nullopt;
    scanner->set_source_text(std::move(text));
    scanner->run();
    return read_listing(scanner->result_text());
}

std::vector<listed_function> read_listing(std::string_view result_text) {
    std::vector<listed_function> functions;
    while (!result_text.empty()) {
        const std::size_t end = std::min(result_text.find("\r\n"), result_text.size());
        if (std::optional<listed_function> function = read_line(result_text.substr(0, end))) {
            functions.push_back(std::move(*function));
        }
        result_text.remove_prefix(std::min(end + 2, result_text.size()));
    }
    return functions;
}

std::vector<std::size_t> functions_named(const std::vector<listed_function>& functions,
                                         std::string_view name) {
    const std::string wanted = dotted(name);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < functions.size(); ++i) {
        const std::string listed = dotted(functions[i].name);
        if (listed == wanted || (listed.size() > wanted.size() && listed.ends_with(wanted) &&
                                 listed[listed.size() - wanted.size() - 1] == '.')) {
            found.push_back(i);
        }
    }
    return found;
}

std::optional<std::size_t> function_at(const std::vector<listed_function>& functions, int line) {
    std::optional<std::size_t> innermost;
    for (std::size_t i = 0; i < functions.size(); ++i) {
        const listed_function& f = functions[i];
        const int first = std::min(f.declaration, f.begin);
        if (line < first || line > f.end) continue;
        if (!innermost ||
            f.end - first < functions[*innermost].end - std::min(functions[*innermost].declaration,
                                                                 functions[*innermost].begin)) {
            innermost = i;
        }
    }
    return innermost;
}

std::vector<std::string> names_near(const std::vector<listed_function>& functions,
                                    std::string_view name, std::size_t most) {
    const std::string wanted = dotted(name);
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (const listed_function& function : functions) {
        const std::string listed = dotted(function.name);
        const std::size_t dot = listed.rfind('.');
        const std::string_view own = dot == std::string::npos
                                         ? std::string_view(listed)
                                         : std::string_view(listed).substr(dot + 1);
        const std::size_t distance =
            std::min(edit_distance(wanted, listed), edit_distance(wanted, own));
        if (std::none_of(ranked.begin(), ranked.end(),
                         [&](const auto& r) { return r.second == function.name; })) {
            ranked.emplace_back(distance, function.name);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < ranked.size() && i < most; ++i) names.push_back(ranked[i].second);
    return names;
}

}  // namespace tarnwell
