#include "explorer/explorer_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwell {
namespace {

std::vector<std::string> names_of(const std::vector<category_option>& list) {
    std::vector<std::string> names;
    for (const category_option& item : list) names.push_back(item.name);
    return names;
}

TEST(ExplorerOptions, TheListFollowsTheStoredOrder) {
    struct order_case {
        std::string order;
        std::vector<std::string> names;
    };
    const order_case cases[] = {
        {"",
         {"Macros", "Functions", "Subroutines", "Tasks", "Procedures", "Constructors",
          "Destructors"}},
        {"Destructors;Constructors",
         {"Destructors", "Constructors", "Macros", "Functions", "Subroutines", "Tasks",
          "Procedures"}},
        // An entry that names nothing still takes its place in the count.
        {"Nothing;Tasks",
         {"Macros", "Tasks", "Functions", "Subroutines", "Procedures", "Constructors",
          "Destructors"}},
        // A name listed twice ends where its last entry puts it.
        {"Tasks;Tasks",
         {"Macros", "Tasks", "Functions", "Subroutines", "Procedures", "Constructors",
          "Destructors"}},
        // Places past the end of the list put the item last.
        {"a;b;c;d;e;f;g;h;i;Macros",
         {"Functions", "Subroutines", "Tasks", "Procedures", "Constructors", "Destructors",
          "Macros"}},
    };
    for (const order_case& c : cases) {
        SCOPED_TRACE(c.order);
        TCodeExplorerProperties properties;
        properties.CategoryOrder = c.order;
        EXPECT_EQ(names_of(load_category_options(properties)), c.names);
    }
}

TEST(ExplorerOptions, ChecksAndStatesGoToTheirCategoriesWhateverTheOrder) {
    TCodeExplorerProperties properties;
    properties.CategoryOrder = "Procedures;Functions";
    properties.CategoryVisible[4] = false;
    properties.CategoryExpanded[1] = true;
    const std::vector<category_option> list = load_category_options(properties);
    EXPECT_EQ(list[0], (category_option{"Procedures", false, false}));
    EXPECT_EQ(list[1], (category_option{"Functions", true, true}));
    EXPECT_EQ(list[2], (category_option{"Macros", true, false}));
}

TEST(ExplorerOptions, SavingAndLoadingAgainGivesTheSameList) {
    std::vector<category_option> list = load_category_options(TCodeExplorerProperties{});
    std::swap(list[0], list[6]);
    list[3].visible = false;
    list[5].expanded = true;
    TCodeExplorerProperties properties;
    properties.AlphaSort = true;
    save_category_options(list, properties);
    EXPECT_EQ(properties.CategoryOrder,
              "Destructors;Functions;Subroutines;Tasks;Procedures;Constructors;Macros");
    EXPECT_FALSE(properties.CategoryVisible[3]);
    EXPECT_TRUE(properties.CategoryExpanded[5]);
    EXPECT_TRUE(properties.AlphaSort);
    EXPECT_EQ(load_category_options(properties), list);
}

}  // namespace
}  // namespace tarnwell
