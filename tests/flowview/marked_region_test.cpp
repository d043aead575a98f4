#include "flowview/marked_region.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

bookmark_set marks_on(int begin_line, int end_line) {
    bookmark_set marks;
    marks[begin_mark] = bookmark_pos{1, begin_line};
    marks[end_mark] = bookmark_pos{1, end_line};
    return marks;
}

// Twelve lines; line n starts at 0-based index 10 * (n - 1): "line nn..\n".
std::string numbered_lines() {
    std::string text;
    for (int n = 1; n <= 12; ++n)
        text += "line " + std::string(n < 10 ? "0" : "") + std::to_string(n) + "..\n";
    return text;
}

TEST(MarkedText, RunsFromTheBeginLineToTheStartOfTheLineAfterTheEndLine) {
    const std::string text = numbered_lines();
    const auto region = marked_text(text, marks_on(3, 5));
    ASSERT_TRUE(region);
    EXPECT_EQ(region->text, "line 03..\nline 04..\nline 05..\n");
    EXPECT_EQ(region->offset, 20);
    // The last line without a break runs to the end of the text and gets the break the other
    // lines end with.
    const auto to_end = marked_text("a\nb\nc", marks_on(2, 3));
    ASSERT_TRUE(to_end);
    EXPECT_EQ(to_end->text, "b\nc\n");
    const auto to_end_cr_lf = marked_text("a\r\nb\r\nc", marks_on(2, 3));
    ASSERT_TRUE(to_end_cr_lf);
    EXPECT_EQ(to_end_cr_lf->text, "b\r\nc\r\n");
    // An empty last line adds nothing: the break before it ends the line above.
    const auto to_empty_end = marked_text("a\nb\n", marks_on(1, 3));
    ASSERT_TRUE(to_empty_end);
    EXPECT_EQ(to_empty_end->text, "a\nb\n");
}

TEST(MarkedText, IsValidOnlyWithBothMarksTheBeginAboveTheEnd) {
    const std::string text = numbered_lines();
    struct invalid_case {
        const char* what;
        bookmark_set marks;
    };
    bookmark_set begin_only;
    begin_only[begin_mark] = bookmark_pos{1, 3};
    bookmark_set end_only;
    end_only[end_mark] = bookmark_pos{1, 9};
    const invalid_case cases[] = {
        {"one line", marks_on(3, 3)},    {"end above begin", marks_on(9, 3)},
        {"line zero", marks_on(0, 3)},   {"past the text", marks_on(3, 40)},
        {"begin mark only", begin_only}, {"end mark only", end_only},
        {"no marks", bookmark_set{}},
    };
    for (const invalid_case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(marked_text(text, c.marks));
    }
}

TEST(MarkedRegionOffset, CountsTheCharactersBeforeTheEarlierMarkedLine) {
    // Line 3 starts at editor position 41: positions of the marked text move by 40.
    const std::string text = std::string(38, 'x') + "\n" + "\n" + "    a = 1;\n" + "b\n";
    EXPECT_EQ(marked_region_offset(text, marks_on(3, 4)), 40);
    EXPECT_EQ(marked_region_offset(text, marks_on(4, 3)), 40);
    EXPECT_EQ(marked_region_offset(text, marks_on(3, 3)), 40);
    bookmark_set begin_only;
    begin_only[begin_mark] = bookmark_pos{1, 3};
    EXPECT_EQ(marked_region_offset(text, begin_only), 0);
}

TEST(BetweenMarks, TakesTheLinesFromTheHigherToTheLowerMark) {
    const bookmark_set reversed = marks_on(40, 20);
    EXPECT_TRUE(between_marks(reversed, 30));
    EXPECT_TRUE(between_marks(reversed, 20));
    EXPECT_TRUE(between_marks(reversed, 40));
    EXPECT_FALSE(between_marks(reversed, 19));
    EXPECT_FALSE(between_marks(reversed, 41));
    EXPECT_TRUE(between_marks(marks_on(7, 7), 7));
    bookmark_set end_only;
    end_only[end_mark] = bookmark_pos{1, 30};
    EXPECT_FALSE(between_marks(end_only, 30));
}

TEST(CharacterIndex, CountsColumnsFromZeroAndStopsAfterTheText) {
    const std::string text = "ab\ncde\r\nf";
    EXPECT_EQ(character_index(text, 0, 1), 1);
    EXPECT_EQ(character_index(text, 2, 2), 6);
    EXPECT_EQ(character_index(text, 0, 3), 9);
    EXPECT_EQ(character_index(text, 5, 3), 10);  // past the end: length + 1
    EXPECT_EQ(character_index(text, 0, 9), 10);  // no such line
}

TEST(PointOf, GivesTheLineAndColumnOfAPosition) {
    const std::string text = "ab\ncde\r\nf";
    struct point_case {
        std::int64_t position;
        text_point point;
    };
    const point_case cases[] = {
        {1, {1, 1}}, {3, {1, 3}},  {4, {2, 1}},
        {7, {2, 4}}, {9, {3, 1}},  {10, {3, 2}},   // just after the text
        {0, {1, 1}}, {-5, {1, 1}}, {500, {3, 2}},  // outside the text: cut to it
    };
    for (const point_case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(point_of(text, c.position), c.point);
    }
    // Each position maps back through the character index of its line and column.
    for (std::int64_t p = 1; p <= static_cast<std::int64_t>(text.size()); ++p) {
        const text_point at = point_of(text, p);
        EXPECT_EQ(character_index(text, at.column - 1, at.line), p);
    }
}

}  // namespace
}  // namespace tarnwell
