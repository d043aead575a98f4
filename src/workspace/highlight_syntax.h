// The highlighting rules of the languages that the editor component has no lexer for
// (Basic dialects, FoxPro, PowerBuilder and the general highlighter), and the scanner that
// styles a text by them.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwell {

enum syntax_style : std::uint8_t {
    style_plain = 0,
    style_comment,
    style_keyword,
    style_string,
    style_number,
    style_preprocessor,
    style_operator,
};
inline constexpr int syntax_style_count = 7;

struct highlight_syntax {
    // Lower case and sorted; words match without regard to letter case.
    std::vector<std::string_view> keywords;
    // Comments that run to the end of the line. A marker made of letters ("rem") counts
    // only as a whole word.
    std::vector<std::string_view> line_comments;
    // Line comments that count only as the first thing on a line ("*" in FoxPro).
    std::vector<std::string_view> leading_comments;
    std::vector<std::pair<std::string_view, std::string_view>> block_comments;
    std::string_view quotes;  // each opens a string that the same character closes
    // Takes the next character into the string; 0 when a doubled quote stands for itself.
    char escape = 0;
    bool hash_directives = false;  // "#" first on a line starts a directive line
    std::string_view word_extra;   // characters besides letters, digits and "_" in words
};

// The rules of a highlighter named in the language table's highlighter column; nullptr for
// the highlighters the editor component brings itself.
const highlight_syntax* custom_syntax(std::string_view highlighter);

// Styles the whole lines of `text`, which starts at the start of a line, one style byte per
// text byte into `styles`. `state` is what the line before left open (0: nothing, k: block
// comment k - 1); `line_states` gets the state at the end of every line the text holds, the
// last one even without a line break. Returns the state at the end of the text.
int style_text(std::string_view text, const highlight_syntax& syntax, int state,
               std::vector<std::uint8_t>& styles, std::vector<int>& line_states);

}  // namespace tarnwell
