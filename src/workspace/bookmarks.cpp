#include "workspace/bookmarks.h"

namespace tarnwell {

bookmark_set after_toggle(bookmark_set marks, int n, bookmark_pos caret) {
    if (n < 0 || n >= bookmark_count) return marks;
    auto& mark = marks[static_cast<std::size_t>(n)];
    if (mark) {
        const bool on_caret_line = mark->line == caret.line;
        mark.reset();
        if (on_caret_line) return marks;
    }
    mark = caret;
    return marks;
}

bookmark_set after_gutter_click(bookmark_set marks, int line) {
    bool had_bookmark = false;
    for (int n = 0; n < bookmark_count; ++n) {
        auto& mark = marks[static_cast<std::size_t>(n)];
        if (mark && mark->line == line) {
            had_bookmark = true;
            if (n < begin_mark) mark.reset();
        }
    }
    if (had_bookmark) return marks;
    for (int n = 0; n < begin_mark; ++n) {
        auto& mark = marks[static_cast<std::size_t>(n)];
        if (!mark) {
            mark = bookmark_pos{1, line};
            break;
        }
    }
    return marks;
}

}  // namespace tarnwell
