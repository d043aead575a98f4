// What the language parser tests share: a worked example with its exact result, the checks
// of one, and texts built by repetition for the limits.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>

#include "parsers/xmls.h"

namespace tarnwell::parser_cases {

struct markup_case {
    const char* name;
    std::string source;
    bool ok;
    std::string message;
    std::string markup;  // without the closing "\001"
};

// Failures name the case rather than dump its bytes.
inline void PrintTo(const markup_case& c, std::ostream* os) {
    *os << c.name;
}

inline const std::string no_error = "yeah!! NO error";
// The outermost sequence closed before the end of the marked code.
inline const std::string code_follows = "here should be end of code";

inline std::string case_name(const testing::TestParamInfo<markup_case>& info) {
    return info.param.name;
}

inline void expect_markup(tsparser& parser, const markup_case& c) {
    const parser_result result = parser.parse(c.source);
    EXPECT_EQ(result.markup, c.markup + "\001");
    EXPECT_EQ(result.ok, c.ok);
    EXPECT_EQ(result.message, c.message);
    EXPECT_GE(result.error_len, 5);
}

inline std::string repeated(std::string_view piece, int times) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Nesting far past the parser's limit ends the parse with a failure and a closed markup.
inline void expect_too_deep(tsparser& parser, const std::string& source) {
    const parser_result result = parser.parse(source);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Error In Statement");
    ASSERT_FALSE(result.markup.empty());
    EXPECT_EQ(result.markup.back(), '\001');
}

// The markup of a text that is one run of plain statements ending at `end`.
inline std::string one_code_run(std::size_t end, std::size_t sentinel) {
    return "<statement>1-1<code/>1-" + std::to_string(end) + "</statement>" +
           std::to_string(sentinel) + "-" + std::to_string(sentinel) + "\001";
}

// Long runs that every brace language reads as one run of plain statements, each in one
// pass: words that each look ahead at the next, calls nested in calls, and 10 MB of calls
// with long strings on one line.
inline void expect_long_runs_in_one_pass(tsparser& parser) {
    const std::string words = repeated("w ", 200000) + ";";
    EXPECT_EQ(parser.parse(words).markup, one_code_run(words.size(), words.size() + 1));
    const std::string calls = "x = " + repeated("f(", 500) + "y" + std::string(500, ')') + ";";
    EXPECT_EQ(parser.parse(calls).markup, one_code_run(calls.size(), calls.size() + 1));
    const std::string statement = "a = c(\"" + std::string(250, 'x') + "\"); ";
    const std::string line =
        repeated(statement, static_cast<int>(10'000'000 / statement.size()) + 1);
    const parser_result result = parser.parse(line);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.markup, one_code_run(line.size() - 1, line.size() + 1));
}

// A function body written as a programmer would, from tests/data/parsers.
inline std::string fixture(std::string_view name) {
    std::ifstream file(std::string(TARNWELL_TEST_DATA "/parsers/") + std::string(name),
                       std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The tags of a markup in their order, without ranges: the shape the chart is drawn from.
inline std::string outline(std::string_view markup) {
    std::string tags;
    bool in_tag = false;
    for (char c : markup) {
        in_tag = c == '<' || (in_tag && c != '>');
        if (in_tag || c == '>') tags += c;
    }
    return tags;
}

}  // namespace tarnwell::parser_cases
