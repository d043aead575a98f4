// What the language parser tests share: a table row of worked examples and the checks every
// parser's result must pass.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "parsers/xmls.h"

namespace tarnwell::testing_support {

inline const std::string no_error = "yeah!! NO error";

struct markup_case {
    const char* name;
    std::string source;
    bool ok;
    std::string message;
    std::string markup;  // without the closing "\001"
};

inline std::string case_name(const ::testing::TestParamInfo<markup_case>& info) {
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

// Nesting far past the limit ends in a failed result, never in a stack overflow.
inline void expect_nesting_refused(tsparser& parser, const std::string& source) {
    const parser_result result = parser.parse(source);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Error In Statement");
    ASSERT_FALSE(result.markup.empty());
    EXPECT_EQ(result.markup.back(), '\001');
}

// A text that parses to one run of plain statements, from its first character to `last`,
// in a sequence whose first token ends at `first_token_end` and which the sentinel closes.
inline void expect_one_code_item(tsparser& parser, const std::string& text,
                                 std::size_t first_token_end, std::size_t last) {
    const parser_result result = parser.parse(text);
    EXPECT_TRUE(result.ok) << result.message;
    const std::string sentinel = std::to_string(text.size() + 1);
    EXPECT_EQ(result.markup, "<statement>1-" + std::to_string(first_token_end) + "<code/>1-" +
                                 std::to_string(last) + "</statement>" + sentinel + "-" + sentinel +
                                 "\001");
}

}  // namespace tarnwell::testing_support
