// Which characters of a text the editor's highlight range colours: a range of lines and
// columns turned into byte spans, with the selection taken out because it paints over it.
#pragma once

#include <functional>
#include <optional>
#include <vector>

namespace tarnwell {

// Lines and columns count from 1; the end column is exclusive.
struct highlight_range {
    int begin_column = 0;
    int begin_line = 0;
    int end_column = 0;
    int end_line = 0;
};

// Byte positions of the text, counted from 0; `end` is exclusive.
struct byte_span {
    long begin = 0;
    long end = 0;
    bool operator==(const byte_span&) const = default;
};

// The start of a line and the end of its last character, before the line break; nullopt
// for a line past the text.
using line_locator = std::function<std::optional<byte_span>(int line)>;

// The spans to colour: the begin line from the begin column, the lines between from their
// first to their last character, the end line up to the end column; nothing when the end
// does not lie after the begin. Columns past a line's end stop at it.
std::vector<byte_span> highlight_spans(const highlight_range& range, const line_locator& lines,
                                       byte_span selection);

}  // namespace tarnwell
