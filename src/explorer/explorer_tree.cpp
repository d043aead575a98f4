#include "explorer/explorer_tree.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tarnwell {

namespace {

// One number of a position text, with its minus sign; -1 when the field holds no number.
// The text is left after the field and its separating "-".
int read_line_number(std::string_view& text) {
    const std::size_t digits = text.starts_with('-') ? 1 : 0;
    int value = -1;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [next, error] = std::from_chars(first, last, value);
    std::size_t used = static_cast<std::size_t>(next - first);
    if (error != std::errc() || used <= digits) {
        value = -1;
        used = std::min(text.find('-', digits), text.size());
    }
    text.remove_prefix(used);
    if (text.starts_with('-')) text.remove_prefix(1);
    return value;
}

bool less_by_name(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

procedure_lines parse_position(std::string_view position) {
    procedure_lines lines;
    lines.declaration = read_line_number(position);
    lines.begin = read_line_number(position);
    lines.end = read_line_number(position);
    return lines;
}

void explorer_tree::build_roots(int language_kind, const TCodeExplorerProperties& properties) {
    roots_.clear();
    entries_.clear();
    category_roots_.fill(std::nullopt);
    const std::string order =
        properties.CategoryOrder.empty() ? default_category_order() : properties.CategoryOrder;
    for (const std::string_view entry : split_category_order(order)) {
        const std::optional<int> category = category_of_name(entry);
        if (!category || !category_shown_for(*category, language_kind) ||
            !properties.CategoryVisible[static_cast<std::size_t>(*category)]) {
            continue;
        }
        category_roots_[static_cast<std::size_t>(*category)] = roots_.size();
        roots_.push_back({std::string(entry), *category, false, {}});
    }
}

void explorer_tree::clear_procedures() {
    for (explorer_root& root : roots_) root.children.clear();
    entries_.clear();
}

void explorer_tree::add_result(std::string_view result_text,
                               const TCodeExplorerProperties& properties) {
    while (!result_text.empty()) {
        const std::size_t end = result_text.find_first_of("\r\n");
        add_procedure(result_text.substr(0, end));
        if (end == std::string_view::npos) break;
        const bool crlf = result_text.substr(end, 2) == "\r\n";
        result_text.remove_prefix(end + (crlf ? 2 : 1));
    }
    for (explorer_root& root : roots_) {
        root.expanded = properties.CategoryExpanded[static_cast<std::size_t>(root.category)];
        if (!properties.AlphaSort) continue;
        std::stable_sort(root.children.begin(), root.children.end(),
                         [this](std::size_t a, std::size_t b) {
                             return less_by_name(entries_[a].name, entries_[b].name);
                         });
    }
}

bool explorer_tree::add_procedure(std::string_view line) {
    const std::size_t first_bar = line.find('|');
    if (first_bar == std::string_view::npos) return false;
    const std::string_view rest = line.substr(first_bar + 1);
    const std::size_t second_bar = rest.find('|');
    const std::string_view tag = rest.substr(0, second_bar);
    const std::string_view name =
        second_bar == std::string_view::npos ? std::string_view() : rest.substr(second_bar + 1);
    const std::optional<int> category = category_of_tag(tag);
    if (!category) return false;
    const std::optional<std::size_t> root = category_roots_[static_cast<std::size_t>(*category)];
    if (!root) return false;
    roots_[*root].children.push_back(entries_.size());
    entries_.push_back({std::string(line.substr(0, first_bar)), std::string(name), *category});
    return true;
}

std::optional<std::size_t> explorer_tree::category_root(int category) const {
    if (category < 0 || category >= category_count) return std::nullopt;
    return category_roots_[static_cast<std::size_t>(category)];
}

std::size_t explorer_tree::node_count() const {
    std::size_t count = roots_.size();
    for (const explorer_root& root : roots_) count += root.children.size();
    return count;
}

std::optional<node_ref> explorer_tree::node_at(std::size_t absolute_index) const {
    std::size_t index = absolute_index;
    for (std::size_t r = 0; r < roots_.size(); ++r) {
        if (index == 0) return node_ref{r, std::nullopt};
        --index;
        if (index < roots_[r].children.size()) return node_ref{r, index};
        index -= roots_[r].children.size();
    }
    return std::nullopt;
}

std::optional<std::size_t> explorer_tree::absolute_index(node_ref node) const {
    if (node.root >= roots_.size()) return std::nullopt;
    if (node.child && *node.child >= roots_[node.root].children.size()) return std::nullopt;
    std::size_t index = 0;
    for (std::size_t r = 0; r < node.root; ++r) index += 1 + roots_[r].children.size();
    return node.child ? index + 1 + *node.child : index;
}

std::optional<node_ref> explorer_tree::node_of_entry(std::size_t entry) const {
    for (std::size_t r = 0; r < roots_.size(); ++r) {
        const std::vector<std::size_t>& children = roots_[r].children;
        const auto found = std::find(children.begin(), children.end(), entry);
        if (found != children.end()) {
            return node_ref{r, static_cast<std::size_t>(found - children.begin())};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> explorer_tree::entry_of(node_ref node) const {
    if (node.root >= roots_.size() || !node.child) return std::nullopt;
    const std::vector<std::size_t>& children = roots_[node.root].children;
    if (*node.child >= children.size()) return std::nullopt;
    return children[*node.child];
}

std::optional<std::size_t> explorer_tree::procedure_at_line(int line) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const procedure_lines lines = parse_position(entries_[i].position);
        if (lines.declaration <= line && line <= lines.end) return i;
    }
    return std::nullopt;
}

}  // namespace tarnwell
