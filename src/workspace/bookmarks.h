// The ten numbered bookmarks of an editor and the rules of the bookmark commands and the
// gutter. Numbers 0 to 7 are free bookmarks; 8 is the begin mark and 9 the end mark of the
// code to be charted.
#pragma once

#include <array>
#include <optional>

namespace tarnwell {

// A bookmark position; column and line count from 1.
struct bookmark_pos {
    int column = 1;
    int line = 1;
    bool operator==(const bookmark_pos&) const = default;
};

inline constexpr int bookmark_count = 10;
inline constexpr int begin_mark = 8;
inline constexpr int end_mark = 9;

using bookmark_set = std::array<std::optional<bookmark_pos>, bookmark_count>;

// Toggle bookmark n at the caret: a bookmark set on the caret line is cleared; one set
// elsewhere moves to the caret; an unset one is set there.
bookmark_set after_toggle(bookmark_set marks, int n, bookmark_pos caret);

// A click in the gutter on a line: the free bookmarks on it are cleared (the begin and end
// marks stay); a line that carried no bookmark at all gets the lowest free number, at
// column 1, while one is left.
bookmark_set after_gutter_click(bookmark_set marks, int line);

}  // namespace tarnwell
