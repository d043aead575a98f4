#include "officeexport/placeholder_spelling.h"

#include <algorithm>

namespace tarnwell {

namespace {

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowered(x) == lowered(y);
           });
}

}  // namespace

std::vector<std::string> placeholder_spellings(std::string_view text,
                                               std::string_view placeholder) {
    std::vector<std::string> found;
    for (std::size_t at = find_placeholder(text, placeholder); at != std::string_view::npos;
         at = find_placeholder(text, placeholder, at + placeholder.size())) {
        const std::string_view piece = text.substr(at, placeholder.size());
        if (std::find(found.begin(), found.end(), piece) == found.end()) {
            found.emplace_back(piece);
        }
    }
    return found;
}

std::size_t find_placeholder(std::string_view text, std::string_view placeholder,
                             std::size_t from) {
    if (placeholder.empty()) return std::string_view::npos;
    for (std::size_t at = from; at + placeholder.size() <= text.size(); ++at) {
        if (same_ignoring_case(text.substr(at, placeholder.size()), placeholder)) return at;
    }
    return std::string_view::npos;
}

}  // namespace tarnwell
