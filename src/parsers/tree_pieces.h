// A long source text cut into pieces that parse apart, so that several threads can share the
// parse of one file. A cut falls only before a line that starts in the first column after an
// empty line, where a top-level definition starts in code as people write it. A cut can still
// land inside a construct (a string or a block written without indentation); the piece before
// it then ends in the middle of something and parses with an error, so a caller that finds an
// error in any piece parses the text whole instead.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnwell {

struct text_piece {
    std::string_view text;
    // The 0-based line of the whole text that the piece starts on.
    int first_row = 0;
};

// At most `count` pieces of about equal size, in order, together the whole text; one piece when
// no line qualifies for a cut.
std::vector<text_piece> cut_into_pieces(std::string_view text, std::size_t count);

// Where the empty line that ends a piece followed by another starts. A token of the piece's
// tree that reaches past it runs on over the cut: a heredoc or string whose grammar lets it
// end with the text, and which the piece's tree therefore holds without an error.
std::size_t start_of_closing_empty_line(std::string_view piece);

}  // namespace tarnwell
