// Whether a markup charts all of its text: no significant code may be left after the last
// range the markup covers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "parsers/xmls.h"

namespace tarnwell::parser_cases {

// The largest end position of the markup's ranges.
inline std::int32_t markup_reach(std::string_view markup) {
    std::int32_t reach = 0;
    for (std::size_t dash = markup.find('-'); dash != std::string_view::npos;
         dash = markup.find('-', dash + 1)) {
        std::int32_t value = 0;
        std::size_t digit = dash + 1;
        while (digit < markup.size() && markup[digit] >= '0' && markup[digit] <= '9') {
            value = value * 10 + (markup[digit] - '0');
            ++digit;
        }
        reach = std::max(reach, value);
    }
    return reach;
}

// The 1-based position of the last character of the text that is not white space.
inline std::int32_t last_significant(std::string_view source) {
    const std::size_t last = source.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? 0 : static_cast<std::int32_t>(last) + 1;
}

// Code as it is written charts, and its markup reaches the text's last character.
inline void expect_charts_to_the_end(tsparser& parser, const std::string& source) {
    const parser_result result = parser.parse(source);
    EXPECT_TRUE(result.ok) << result.message << " at " << result.error_pos;
    EXPECT_GE(markup_reach(result.markup), last_significant(source)) << result.markup;
}

}  // namespace tarnwell::parser_cases
