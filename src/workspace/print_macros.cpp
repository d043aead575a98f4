#include "workspace/print_macros.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace tarnwell {

namespace {

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

std::optional<std::string> macro_value(std::string_view name, const print_macro_values& v) {
    if (same_name(name, "PAGENUM")) return std::to_string(v.page_number);
    if (same_name(name, "PAGECOUNT")) return std::to_string(v.page_count);
    if (same_name(name, "TITLE")) return v.title;
    if (same_name(name, "DATE")) return v.date;
    if (same_name(name, "TIME")) return v.time;
    if (same_name(name, "DATETIME")) return v.date + ' ' + v.time;
    if (same_name(name, "TIMEDATE")) return v.time + ' ' + v.date;
    return std::nullopt;
}

}  // namespace

std::string expand_print_macros(std::string_view text, const print_macro_values& values) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('$', pos);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find('$', open + 1);
        if (close == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        if (const auto value = macro_value(text.substr(open + 1, close - open - 1), values)) {
            out += *value;
            pos = close + 1;
        } else {
            // The closing "$" may open the next macro.
            out += '$';
            pos = open + 1;
        }
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace tarnwell
