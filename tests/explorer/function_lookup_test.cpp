#include "explorer/function_lookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwell {
namespace {

constexpr int python = 16;
constexpr int rust = 20;

std::vector<std::string> names_of(const std::vector<listed_function>& functions,
                                  const std::vector<std::size_t>& found) {
    std::vector<std::string> names;
    for (const std::size_t i : found) names.push_back(functions[i].name);
    return names;
}

TEST(FunctionLookup, ANameMatchesItselfOrItsLastScopesInEitherNotation) {
    const auto functions = list_functions(rust,
                                          "mod store {\n"
                                          "    impl Stack {\n"
                                          "        fn push(&mut self) {}\n"
                                          "    }\n"
                                          "}\n"
                                          "fn push() {}\n"
                                          "fn mypush() {}\n");
    ASSERT_TRUE(functions);
    const struct {
        const char* name;
        std::vector<std::string> found;
    } cases[] = {
        {"push", {"store::Stack::push", "push"}},
        {"Stack::push", {"store::Stack::push"}},
        {"Stack.push", {"store::Stack::push"}},
        {"store::Stack::push", {"store::Stack::push"}},
        {"tack::push", {}},  // a scope matches whole
        {"ush", {}},
        {"mypush", {"mypush"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(names_of(*functions, functions_named(*functions, c.name)), c.found) << c.name;
    }
}

TEST(FunctionLookup, ALineChoosesTheInnermostFunctionAroundIt) {
    const auto functions = list_functions(python,
                                          "def outer():\n"      // 1
                                          "    x = 1\n"         // 2
                                          "    def inner():\n"  // 3
                                          "        return 2\n"  // 4
                                          "    return inner\n"  // 5
                                          "\n"                  // 6
                                          "def other():\n"      // 7
                                          "    pass\n");        // 8
    ASSERT_TRUE(functions);
    const struct {
        int line;
        const char* name;  // empty: no function holds the line
    } cases[] = {{1, "outer"}, {2, "outer"}, {4, "outer.inner"}, {5, "outer"}, {6, ""},
                 {8, "other"}, {9, ""}};
    for (const auto& c : cases) {
        const auto at = function_at(*functions, c.line);
        EXPECT_EQ(at ? (*functions)[*at].name : std::string(), c.name) << c.line;
    }
}

TEST(FunctionLookup, NearNamesComeNearestFirstWithoutRepeats) {
    const auto functions = list_functions(python,
                                          "def withdraw(): pass\n"
                                          "def deposit(): pass\n"
                                          "def withdraw(): pass\n"
                                          "class Account:\n"
                                          "    def withhold(self): pass\n");
    ASSERT_TRUE(functions);
    EXPECT_EQ(names_near(*functions, "withdrew"),
              (std::vector<std::string>{"withdraw", "Account.withhold", "deposit"}));
    EXPECT_EQ(names_near(*functions, "withdrew", 1), std::vector<std::string>{"withdraw"});
}

TEST(FunctionLookup, ALanguageWithoutAFunctionListHasNone) {
    EXPECT_FALSE(list_functions(9, "function f() {}\n"));  // JavaScript
    EXPECT_EQ(list_functions(python, "")->size(), 0U);
}

}  // namespace
}  // namespace tarnwell
