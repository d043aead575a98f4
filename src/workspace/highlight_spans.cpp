#include "workspace/highlight_spans.h"

#include <algorithm>

namespace tarnwell {

namespace {

void add_outside_selection(std::vector<byte_span>& spans, byte_span span, byte_span selection) {
    if (span.begin >= span.end) return;
    if (selection.begin >= selection.end || selection.end <= span.begin ||
        selection.begin >= span.end) {
        spans.push_back(span);
        return;
    }
    if (span.begin < selection.begin) spans.push_back({span.begin, selection.begin});
    if (selection.end < span.end) spans.push_back({selection.end, span.end});
}

}  // namespace

std::vector<byte_span> highlight_spans(const highlight_range& range, const line_locator& lines,
                                       byte_span selection) {
    std::vector<byte_span> spans;
    const bool ends_after_begin =
        range.end_line > range.begin_line ||
        (range.end_line == range.begin_line && range.end_column > range.begin_column);
    if (range.begin_line < 1 || !ends_after_begin) return spans;
    for (int line = range.begin_line; line <= range.end_line; ++line) {
        const std::optional<byte_span> extent = lines(line);
        if (!extent) break;
        byte_span span = *extent;
        if (line == range.begin_line) {
            span.begin = std::min(extent->end, extent->begin + std::max(range.begin_column, 1) - 1);
        }
        if (line == range.end_line) {
            span.end = std::min(extent->end, extent->begin + std::max(range.end_column, 1) - 1);
        }
        add_outside_selection(spans, span, selection);
    }
    return spans;
}

}  // namespace tarnwell
