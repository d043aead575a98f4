#include "workspace/print_settings.h"

#include <gtest/gtest.h>

#include "workspace/preview_zoom.h"
#include "workspace/print_macros.h"
#include "workspace/print_pagination.h"

namespace tarnwell {
namespace {

constexpr double a4_width = 210;
constexpr double a4_height = 297;
using fields = std::array<std::string, margin_field_count>;

TEST(PrintSettings, StartWithTheDefaultMarginsHeaderAndFooter) {
    const print_settings s = default_print_settings();
    EXPECT_EQ(s.margins.mm, (std::array<double, 10>{25, 15, 25, 25, 0, 15, 15, 0.5, 2, 2}));
    EXPECT_EQ(s.text_font, (print_font{"MS Sans Serif", 8}));
    EXPECT_EQ(s.header_frame, (print_frame{false, true, true, 0x000000, 0xC0C0C0}));
    EXPECT_EQ(s.footer_frame, (print_frame{true, false, false, 0x000000, 0xC0C0C0}));
    const print_font six{"Arial", 6};
    ASSERT_EQ(s.header.size(), 4u);
    EXPECT_EQ(s.header[1], (print_text_item{1, print_alignment::right,
                                            "Page: $PAGENUM$ of $PAGECOUNT$", print_font{}}));
    EXPECT_EQ(s.header[3], (print_text_item{2, print_alignment::right,
                                            "Print Date: $DATE$. Time: $TIME$", six}));
    ASSERT_EQ(s.footer.size(), 2u);
    EXPECT_EQ(s.footer[1], (print_text_item{1, print_alignment::left, "Printed by Tarnwell", six}));
}

TEST(PrintSettings, MarginsShowInEveryUnitAndReadBack) {
    struct unit_case {
        margin_unit unit;
        double mm;
        std::string shown;
    };
    const unit_case cases[] = {
        {margin_unit::mm, 25, "25"},        {margin_unit::mm, 0.5, "0.5"},
        {margin_unit::cm, 25, "2.5"},       {margin_unit::inches, 25.4, "1"},
        {margin_unit::inches, 15, "0.591"}, {margin_unit::thousandths_of_inches, 25.4, "1000"},
        {margin_unit::cm, 0, "0"},
    };
    for (const unit_case& c : cases) {
        EXPECT_EQ(margin_text(c.mm, c.unit), c.shown) << c.mm;
        EXPECT_NEAR(margin_in_mm(std::stod(c.shown), c.unit), c.mm, 0.02) << c.shown;
    }
}

TEST(PrintSettings, MarginWriteBackStopsAtTheFirstFieldThatIsNoNumber) {
    struct write_case {
        const char* name;
        fields texts;
        margin_unit unit;
        std::optional<int> failed;
        std::array<double, 10> after;
    };
    const std::array<double, 10> before = {25, 15, 25, 25, 0, 15, 15, 0.5, 2, 2};
    const write_case cases[] = {
        {"all numbers",
         {"10", "10", "20", "20", "1", "12", "12", "1", "3", "3"},
         margin_unit::mm,
         std::nullopt,
         {10, 10, 20, 20, 1, 12, 12, 1, 3, 3}},
        {"in centimetres",
         {"1", "1.5", "2", "2", "0", "1", "1", "0.1", "0.2", "0.2"},
         margin_unit::cm,
         std::nullopt,
         {10, 15, 20, 20, 0, 10, 10, 1, 2, 2}},
        {"letters in the top field",
         {"10", "11", "abc", "20", "1", "12", "12", "1", "3", "3"},
         margin_unit::mm,
         2,
         {10, 11, 25, 25, 0, 15, 15, 0.5, 2, 2}},
        {"an empty field",
         {"10", "", "20", "20", "1", "12", "12", "1", "3", "3"},
         margin_unit::mm,
         1,
         {10, 15, 25, 25, 0, 15, 15, 0.5, 2, 2}},
        {"a negative margin",
         {"-5", "10", "20", "20", "1", "12", "12", "1", "3", "3"},
         margin_unit::mm,
         0,
         before},
        {"a number with a tail",
         {"10", "10", "20", "20", "1", "12", "12", "1", "3", "3mm"},
         margin_unit::mm,
         9,
         {10, 10, 20, 20, 1, 12, 12, 1, 3, 2}},
        {"no room across the page",
         {"100", "100", "20", "20", "10", "12", "12", "1", "3", "3"},
         margin_unit::mm,
         margin_field_count,
         before},
        {"no room down the page",
         {"10", "10", "150", "147", "0", "12", "12", "1", "3", "3"},
         margin_unit::mm,
         margin_field_count,
         before},
        {"no room in inches",
         {"5", "4", "1", "1", "0", "1", "1", "0", "0", "0"},
         margin_unit::inches,
         margin_field_count,
         before},
    };
    for (const write_case& c : cases) {
        print_margins margins;
        EXPECT_EQ(write_margins(margins, c.texts, c.unit, a4_width, a4_height), c.failed) << c.name;
        for (int i = 0; i < margin_field_count; ++i) {
            EXPECT_NEAR(margins.mm[i], c.after[i], 1e-9) << c.name << " field " << i;
        }
    }
}

TEST(PrintMacros, ExpandInOnePass) {
    const print_macro_values values{3, 12, "$PAGECOUNT$.c", "2026-12-10", "14:05"};
    const std::pair<const char*, const char*> cases[] = {
        {"Page: $PAGENUM$ of $PAGECOUNT$", "Page: 3 of 12"},
        {"$TITLE$", "$PAGECOUNT$.c"},
        {"Print Date: $DATE$. Time: $TIME$", "Print Date: 2026-12-10. Time: 14:05"},
        {"$DATETIME$|$TIMEDATE$", "2026-12-10 14:05|14:05 2026-12-10"},
        {"$pagenum$/$PageCount$", "3/12"},
        {"cost $5 $PAGENUM$", "cost $5 3"},
        {"$$PAGENUM$$", "$3$"},
        {"$UNKNOWN$ $", "$UNKNOWN$ $"},
        {"no macros", "no macros"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(expand_print_macros(text, values), expected) << text;
    }
}

TEST(PrintPagination, LinesBreakIntoRows) {
    struct rows_case {
        const char* name;
        std::string text;
        double width;
        bool wrap;
        std::vector<print_row> rows;
    };
    const rows_case cases[] = {
        {"empty text", "", 10, true, {{1, 0, 0, true}}},
        {"line breaks of every kind",
         "ab\r\ncd\ref\n",
         10,
         true,
         {{1, 0, 2, true}, {2, 4, 6, true}, {3, 7, 9, true}}},
        {"empty lines", "\n\nx", 10, true, {{1, 0, 0, true}, {2, 1, 1, true}, {3, 2, 3, true}}},
        {"a long line wraps",
         "abcdefg",
         3,
         true,
         {{1, 0, 3, true}, {1, 3, 6, false}, {1, 6, 7, false}}},
        {"without wrap it stays one row", "abcdefg", 3, false, {{1, 0, 7, true}}},
        {"a row holds at least one character",
         "abc",
         0.5,
         true,
         {{1, 0, 1, true}, {1, 1, 2, false}, {1, 2, 3, false}}},
        {"a character is never split", "a\xC3\xA9z", 2, true, {{1, 0, 3, true}, {1, 3, 4, false}}},
    };
    for (const rows_case& c : cases) {
        std::vector<double> widths(c.text.size(), 1.0);
        for (std::size_t i = 0; i < c.text.size(); ++i) {
            if ((static_cast<unsigned char>(c.text[i]) & 0xC0) == 0x80) widths[i] = 0;
        }
        EXPECT_EQ(print_rows(c.text, widths, c.width, c.wrap), c.rows) << c.name;
    }
}

TEST(PrintPagination, RowsFillPages) {
    EXPECT_EQ(rows_per_page(100, 10), 10);
    EXPECT_EQ(rows_per_page(99.9, 10), 9);
    EXPECT_EQ(rows_per_page(9, 10), 0);
    EXPECT_EQ(rows_per_page(-5, 10), 0);
    EXPECT_EQ(rows_per_page(100, 0), 0);
    EXPECT_EQ(paginate(25, 10), (std::vector<print_page>{{0, 10}, {10, 10}, {20, 5}}));
    EXPECT_EQ(paginate(20, 10), (std::vector<print_page>{{0, 10}, {10, 10}}));
    EXPECT_EQ(paginate(0, 10), (std::vector<print_page>{{0, 0}}));
    EXPECT_EQ(paginate(5, 0), std::vector<print_page>{});
}

TEST(PrintPagination, TabsExpandToTheirColumns) {
    std::string text = "\ta\tb\n12345678\tc\xC3\xA9\td";
    std::vector<std::uint8_t> styles(text.size(), 1);
    styles[0] = 2;
    expand_tabs(text, styles, 4);
    EXPECT_EQ(text, "    a   b\n12345678    c\xC3\xA9  d");
    ASSERT_EQ(styles.size(), text.size());
    EXPECT_EQ(styles[0], 2);
    EXPECT_EQ(styles[3], 2);
    EXPECT_EQ(styles[4], 1);
}

TEST(PreviewZoom, ClicksOnThePageZoomWithinTheirLimits) {
    struct click_case {
        preview_zoom now;
        int shown;
        bool left;
        preview_zoom after;
    };
    using enum zoom_mode;
    const click_case cases[] = {
        {{whole_page, 100}, 37, true, {percent, 100}},
        {{whole_page, 100}, 37, false, {percent, 25}},
        {{page_width, 100}, 120, true, {percent, 240}},
        {{page_width, 100}, 120, false, {percent, 60}},
        {{percent, 300}, 300, true, {percent, 400}},
        {{percent, 400}, 400, true, {percent, 400}},
        {{percent, 30}, 30, false, {percent, 25}},
        {{percent, 25}, 25, false, {percent, 25}},
        {{percent, 100}, 100, false, {percent, 50}},
        {{percent, 50}, 50, true, {percent, 100}},
    };
    for (const click_case& c : cases) {
        EXPECT_EQ(zoom_after_click(c.now, c.shown, c.left), c.after)
            << static_cast<int>(c.now.mode) << " " << c.shown << " " << c.left;
    }
}

}  // namespace
}  // namespace tarnwell
