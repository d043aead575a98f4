#include "workspace/bookmarks.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

bookmark_set with(std::initializer_list<std::pair<int, bookmark_pos>> marks) {
    bookmark_set set;
    for (const auto& [n, pos] : marks) set[static_cast<std::size_t>(n)] = pos;
    return set;
}

TEST(Bookmarks, GutterClickRules) {
    struct click_case {
        const char* what;
        bookmark_set before;
        int line;
        bookmark_set after;
    };
    bookmark_set all_free_used;
    for (int n = 0; n < 8; ++n) all_free_used[static_cast<std::size_t>(n)] = bookmark_pos{1, n + 1};
    const click_case cases[] = {
        {"an empty line gets the lowest free bookmark at column 1",
         with({{0, {4, 2}}, {2, {1, 3}}}), 7, with({{0, {4, 2}}, {1, {1, 7}}, {2, {1, 3}}})},
        {"a line with a free bookmark loses it", with({{3, {5, 7}}}), 7, with({})},
        {"a line with only the begin mark keeps it and gets nothing", with({{8, {1, 7}}}), 7,
         with({{8, {1, 7}}})},
        {"free bookmarks go, the end mark stays", with({{1, {1, 7}}, {9, {2, 7}}}), 7,
         with({{9, {2, 7}}})},
        {"with 0 to 7 in use elsewhere nothing is added", all_free_used, 20, all_free_used},
    };
    for (const click_case& c : cases) {
        EXPECT_EQ(after_gutter_click(c.before, c.line), c.after) << c.what;
    }
}

TEST(Bookmarks, ToggleSetsMovesAndClears) {
    const bookmark_pos caret{3, 5};
    EXPECT_EQ(after_toggle(with({}), 2, caret), with({{2, caret}}));
    EXPECT_EQ(after_toggle(with({{2, {1, 5}}}), 2, caret), with({}));
    EXPECT_EQ(after_toggle(with({{2, {1, 9}}}), 2, caret), with({{2, caret}}));
    EXPECT_EQ(after_toggle(with({{8, {1, 9}}}), 8, caret), with({{8, caret}}));
    EXPECT_EQ(after_toggle(with({}), 10, caret), with({}));
}

}  // namespace
}  // namespace tarnwell
