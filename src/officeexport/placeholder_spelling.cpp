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
    if (placeholder.empty()) return found;
    for (std::size_t at = 0; at + placeholder.size() <= text.size(); ++at) {
        const std::string_view piece = text.substr(at, placeholder.size());
        if (!same_ignoring_case(piece, placeholder)) continue;
        if (std::find(found.begin(), found.end(), piece) == found.end()) {
            found.emplace_back(piece);
        }
        at += placeholder.size() - 1;
    }
    return found;
}

}  // namespace tarnwell
