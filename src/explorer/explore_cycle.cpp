#include "explorer/explore_cycle.h"

namespace tarnwell {

bool explore_cycle::request() {
    if (busy_) return false;
    busy_ = true;
    return true;
}

void explore_cycle::abandon() {
    busy_ = false;
}

explore_cycle::scan_end explore_cycle::finish(const scan_subject& started,
                                              const scan_subject& current) {
    busy_ = false;
    scan_end end;
    end.apply_result = started == current;
    end.explore_again = !end.apply_result;
    if (selection_line_ && selection_document_ != current.document) selection_line_.reset();
    if (end.apply_result) {
        end.select_line = selection_line_;
        selection_line_.reset();
    }
    return end;
}

void explore_cycle::defer_selection(const void* document, int line) {
    selection_document_ = document;
    selection_line_ = line;
}

}  // namespace tarnwell
