#include "line_parser_checks.h"

#include <gtest/gtest.h>

namespace tarnwell::test_support {

void expect_result(tsparser& parser, const markup_case& c) {
    const parser_result result = parser.parse(c.source);
    EXPECT_EQ(result.markup, c.markup + "\001");
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.message, c.message);
    EXPECT_GE(result.error_len, 5);
}

std::string repeated(std::string_view piece, int times) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

void expect_nesting_fails_cleanly(tsparser& parser, const std::string& source) {
    const parser_result result = parser.parse(source);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Error In Statement");
    ASSERT_FALSE(result.markup.empty());
    EXPECT_EQ(result.markup.back(), '\001');
}

void expect_any_bytes_parse(tsparser& parser) {
    using namespace std::string_literals;
    const std::string inputs[] = {
        ""s,
        "\0\0\0"s,
        "x = 1\0y\r\n"s,
        "\001"s,
        "x = 1\r\n\001If\r\n"s,
        "\rIf a Then\rx\rEnd If\r"s,
        "\xff\xfe\xc0\x80 = \xe2\x82\r\n"s,
        "x = \"open\r\n"s,
        "x = 'open"s,
        "f(a, (b, \"c\r\n"s,
        "f(a /* open"s,
        "a[1 /* x */ b\r\n{c ;}\r\n"s,
        "_"s,
        "&"s,
        ";"s,
        "#"s,
        "If"s,
        "End"s,
        "Exit"s,
        "Do"s,
        "Loop"s,
        "Case Else"s,
        "Select Case"s,
        "Select Case x\r\nCase"s,
        "If a Then b Else"s,
        "If a Then\r\nElseIf"s,
        "Try\r\nCatch"s,
        "DO CASE\r\nCASE"s,
        "CHOOSE CASE x\r\nCASE ELSE"s,
        "End End End Exit Exit Do"s,
        "x\t\t\v\f = 1\r\n"s,
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(testing::PrintToString(input));
        const parser_result result = parser.parse(input);
        ASSERT_FALSE(result.markup.empty());
        EXPECT_EQ(result.markup.back(), '\001');
        EXPECT_GE(result.error_len, 5);
        EXPECT_EQ(result.ok, result.message == no_error);
    }
}

}  // namespace tarnwell::test_support
