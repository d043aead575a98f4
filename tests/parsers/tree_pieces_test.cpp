// The cuts that let a long text be parsed in pieces on several threads.
#include "parsers/tree_pieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tarnwell {
namespace {

std::vector<std::string> texts_of(const std::vector<text_piece>& pieces) {
    std::vector<std::string> texts;
    for (const text_piece& piece : pieces) texts.emplace_back(piece.text);
    return texts;
}

TEST(TreePieces, CutsOnlyBeforeALineInTheFirstColumnAfterAnEmptyLine) {
    const struct {
        const char* name;
        std::string text;
        std::size_t count;
        std::vector<std::string> pieces;
    } cases[] = {
        {"even", "a\n\nb\n\nc\n", 3, {"a\n\n", "b\n\n", "c\n"}},
        {"blanks_count_as_empty", "a\n \t\nb\n", 2, {"a\n \t\n", "b\n"}},
        {"indented_line_is_no_cut", "a\n\n  b\n\n  c\n", 2, {"a\n\n  b\n\n  c\n"}},
        {"closing_bracket_is_no_cut", "a = [\n\n]\n", 2, {"a = [\n\n]\n"}},
        {"no_empty_line",
         "def f():\n    pass\ndef g():\n    pass\n",
         2,
         {"def f():\n    pass\ndef g():\n    pass\n"}},
        // Half the text falls between the decorator and its definition.
        {"decorator_stays_with_its_definition",
         "aaaaaaa\n\n@d\ndef f():\n",
         2,
         {"aaaaaaa\n\n@d\ndef f():\n"}},
        {"fewer_cuts_than_asked", "a\n\nb\n", 4, {"a\n\n", "b\n"}},
        {"one_piece_asked", "a\n\nb\n", 1, {"a\n\nb\n"}},
        {"empty_text", "", 3, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<text_piece> pieces = cut_into_pieces(c.text, c.count);
        EXPECT_EQ(texts_of(pieces), c.pieces);
        // Each piece starts on the line of the whole text that its first character is on.
        std::size_t offset = 0;
        for (const text_piece& piece : pieces) {
            const auto lines_before = std::count(c.text.begin(), c.text.begin() + offset, '\n');
            EXPECT_EQ(piece.first_row, lines_before);
            offset += piece.text.size();
        }
    }
}

}  // namespace
}  // namespace tarnwell
