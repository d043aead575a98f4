#include "explorer/explorer_options.h"

#include <algorithm>
#include <string_view>

namespace tarnwell {

std::vector<category_option> load_category_options(const TCodeExplorerProperties& properties) {
    std::vector<category_option> list;
    for (const explorer_category& category : explorer_categories()) {
        list.push_back({std::string(category.display_name), true, false});
    }
    std::size_t position = 0;
    for (const std::string_view entry : split_category_order(properties.CategoryOrder)) {
        const auto found = std::find_if(list.begin(), list.end(),
                                        [entry](const auto& item) { return item.name == entry; });
        if (found != list.end()) {
            const auto from = static_cast<std::size_t>(found - list.begin());
            const std::size_t to = std::min(position, list.size() - 1);
            category_option moved = std::move(list[from]);
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(from));
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(to), std::move(moved));
        }
        ++position;
    }
    for (category_option& item : list) {
        if (const std::optional<int> category = category_of_name(item.name)) {
            const auto i = static_cast<std::size_t>(*category);
            item.visible = properties.CategoryVisible[i];
            item.expanded = properties.CategoryExpanded[i];
        }
    }
    return list;
}

void save_category_options(std::span<const category_option> list,
                           TCodeExplorerProperties& properties) {
    std::string order;
    for (const category_option& item : list) {
        if (!order.empty()) order += ';';
        order += item.name;
        if (const std::optional<int> category = category_of_name(item.name)) {
            const auto i = static_cast<std::size_t>(*category);
            properties.CategoryVisible[i] = item.visible;
            properties.CategoryExpanded[i] = item.expanded;
        }
    }
    properties.CategoryOrder = order;
}

}  // namespace tarnwell
