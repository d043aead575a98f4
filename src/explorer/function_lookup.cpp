#include "explorer/function_lookup.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "explorer/explorer_tree.h"
#include "explorer/proc_scanner_choice.h"

namespace tarnwell {

namespace {

// A listed line "decl-begin-end|tag|name"; nothing for a line of another form.
std::optional<listed_function> read_line(std::string_view line) {
    const std::size_t position_end = line.find('|');
    if (position_end == std::string_view::npos) return std::nullopt;
    const procedure_lines lines = parse_position(line.substr(0, position_end));
    const std::string_view rest = line.substr(position_end + 1);
    const std::size_t bar = rest.find('|');
    if (lines.declaration < 0 || lines.begin < 0 || lines.end < 0 ||
        bar == std::string_view::npos) {
        return std::nullopt;
    }
    return listed_function{lines.declaration, lines.begin, lines.end,
                           std::string(rest.substr(0, bar)), std::string(rest.substr(bar + 1))};
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
    // A function starts at its name or at the line that opens its body, whichever comes first.
    const auto first_line = [](const listed_function& f) {
        return std::min(f.declaration, f.begin);
    };
    std::optional<std::size_t> innermost;
    for (std::size_t i = 0; i < functions.size(); ++i) {
        const listed_function& f = functions[i];
        if (line < first_line(f) || line > f.end) continue;
        const listed_function* inner = innermost ? &functions[*innermost] : nullptr;
        if (inner == nullptr || f.end - first_line(f) < inner->end - first_line(*inner)) {
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
