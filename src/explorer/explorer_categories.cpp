#include "explorer/explorer_categories.h"

namespace tarnwell {

namespace {

constexpr std::array<explorer_category, category_count> categories{{
    {"macro", "Macros"},
    {"void", "Functions"},
    {"sub", "Subroutines"},
    {"task", "Tasks"},
    {"proc", "Procedures"},
    {"cons", "Constructors"},
    {"des", "Destructors"},
}};

}  // namespace

const std::array<explorer_category, category_count>& explorer_categories() {
    return categories;
}

bool category_shown_for(int category, int language_kind) {
    const bool scanned =
        language_kind == 2 || language_kind == 3 || language_kind == 4 || language_kind == 5;
    switch (category) {
        case 1:
            return language_kind == 0 || scanned;
        case 2:
        case 3:
            return language_kind == 0;
        case 4:
        case 5:
        case 6:
            return scanned;
        default:
            return false;
    }
}

std::string default_category_order() {
    std::string order;
    for (const explorer_category& category : categories) {
        if (!order.empty()) order += ';';
        order += category.display_name;
    }
    return order;
}

std::vector<std::string_view> split_category_order(std::string_view order) {
    std::vector<std::string_view> entries;
    if (order.empty()) return entries;
    for (;;) {
        const std::size_t end = order.find(';');
        entries.push_back(order.substr(0, end));
        if (end == std::string_view::npos) return entries;
        order.remove_prefix(end + 1);
    }
}

std::optional<int> category_of_name(std::string_view display_name) {
    for (int i = 0; i < category_count; ++i) {
        if (categories[static_cast<std::size_t>(i)].display_name == display_name) return i;
    }
    return std::nullopt;
}

std::optional<int> category_of_tag(std::string_view tag) {
    for (int i = 0; i < category_count; ++i) {
        if (categories[static_cast<std::size_t>(i)].tag == tag) return i;
    }
    return std::nullopt;
}

}  // namespace tarnwell
