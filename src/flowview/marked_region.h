// The code a document charts: the lines from its begin mark to its end mark, and the
// positions that carry a place in the marked text back into the whole editor text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "workspace/bookmarks.h"

namespace tarnwell {

struct marked_region {
    std::string
        text;  // from the start of the begin line to the start of the line after the end line
    std::int32_t offset;  // the number of characters before the begin line
};

// Lines are counted from 1 and separated by LF. Empty when begin is not below end or a line
// lies past the text. An end line that is the text's last, not empty and without a line break
// gets one (CR LF when the line before it ends so), as every other end line brings its own:
// the parsers of line-oriented languages end a statement only at a line break.
std::optional<marked_region> cut_marked_lines(std::string_view text, int begin_line, int end_line);

// The marked text of a document: valid only when both marks exist and the begin mark stands
// above the end mark.
std::optional<marked_region> marked_text(std::string_view text, const bookmark_set& marks);

// The characters before the earlier of the two marked lines; 0 when a mark is missing.
// Position p of the marked text is position p + offset of the editor text.
std::int32_t marked_region_offset(std::string_view text, const bookmark_set& marks);

// Whether a line lies between the marks, both included, whichever of them stands higher.
bool between_marks(const bookmark_set& marks, int line);

// The 1-based index of the character at a column (from 0) of a line (from 1); the length of
// the text + 1 when the text is shorter.
std::int64_t character_index(std::string_view text, int column, int line);

// Line and column, both from 1, of a 1-based text position: the line is 1 + the LF characters
// before it, the column 1 + the characters after the last of them.
struct text_point {
    int line = 1;
    int column = 1;
    friend bool operator==(const text_point&, const text_point&) = default;
};
text_point point_of(std::string_view text, std::int64_t position);

}  // namespace tarnwell
