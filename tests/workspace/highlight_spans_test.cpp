#include "workspace/highlight_spans.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnwell {
namespace {

// Lines of a text separated by LF, located as the editor locates them.
line_locator lines_of(const std::string& text) {
    return [text](int line) -> std::optional<byte_span> {
        long start = 0;
        for (int n = 1; n < line; ++n) {
            const std::size_t lf = text.find('\n', static_cast<std::size_t>(start));
            if (lf == std::string::npos) return std::nullopt;
            start = static_cast<long>(lf) + 1;
        }
        const std::size_t lf = text.find('\n', static_cast<std::size_t>(start));
        return byte_span{start, lf == std::string::npos ? static_cast<long>(text.size())
                                                        : static_cast<long>(lf)};
    };
}

// Twelve lines "line01\n" ... "line12\n", each 7 bytes with its break.
std::string twelve_lines() {
    std::string text;
    for (int n = 1; n <= 12; ++n)
        text += "line" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "\n";
    return text;
}

TEST(HighlightSpans, PaintsFromBeginColumnToEndColumn) {
    // From (5, 10) to (3, 12): line 10 from column 5, all of line 11, line 12 up to column 2.
    const std::string text = twelve_lines();
    const std::vector<byte_span> spans = highlight_spans({5, 10, 3, 12}, lines_of(text), {0, 0});
    const long line10 = 9 * 7, line11 = 10 * 7, line12 = 11 * 7;
    EXPECT_EQ(spans, (std::vector<byte_span>{
                         {line10 + 4, line10 + 6}, {line11, line11 + 6}, {line12, line12 + 2}}));
    EXPECT_EQ(text.substr(static_cast<std::size_t>(line12), 2), "li");
}

TEST(HighlightSpans, SelectionPaintsOverTheHighlight) {
    const std::string text = twelve_lines();
    const long line11 = 10 * 7;
    const std::vector<byte_span> spans =
        highlight_spans({5, 10, 3, 12}, lines_of(text), {line11 + 1, line11 + 3});
    EXPECT_EQ(spans, (std::vector<byte_span>{{9 * 7 + 4, 9 * 7 + 6},
                                             {line11, line11 + 1},
                                             {line11 + 3, line11 + 6},
                                             {11 * 7, 11 * 7 + 2}}));
}

TEST(HighlightSpans, RangesThatDoNotRunForwardPaintNothing) {
    const std::string text = twelve_lines();
    const highlight_range empty_ranges[] = {
        {3, 2, 3, 2},  // end equals begin
        {4, 2, 3, 2},  // end column before begin column
        {1, 5, 1, 4},  // end line before begin line
        {0, 0, 0, 0},  // never set
    };
    for (const highlight_range& range : empty_ranges) {
        EXPECT_TRUE(highlight_spans(range, lines_of(text), {0, 0}).empty())
            << range.begin_column << "," << range.begin_line;
    }
}

TEST(HighlightSpans, ColumnsAndLinesPastTheTextStopAtIt) {
    const std::string text = "ab\ncdef";
    EXPECT_EQ(highlight_spans({2, 1, 99, 9}, lines_of(text), {0, 0}),
              (std::vector<byte_span>{{1, 2}, {3, 7}}));
    EXPECT_EQ(highlight_spans({9, 1, 2, 2}, lines_of(text), {0, 0}),
              (std::vector<byte_span>{{3, 4}}));
}

}  // namespace
}  // namespace tarnwell
