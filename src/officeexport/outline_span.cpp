#include "officeexport/outline_span.h"

#include <algorithm>
#include <limits>

namespace tarnwell {

outline_span span_across_band(const std::vector<outline_point>& outline, double band) {
    if (outline.size() < 3) return {};
    // A band that is no number (a text over a shape of no height) is taken as a thin one.
    const double low = 0.5 - (band >= 0 ? std::min(band, 1.0) : 0.0) / 2;
    const double high = 1 - low;
    // The narrowest place of a band of straight sides is at its edges or at a corner inside it.
    std::vector<double> heights = {low, high};
    for (const outline_point& point : outline) {
        if (point.y > low && point.y < high) heights.push_back(point.y);
    }
    outline_span span{std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max()};
    for (const double y : heights) {
        double least = std::numeric_limits<double>::max();
        double most = std::numeric_limits<double>::lowest();
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const outline_point& a = outline[i];
            const outline_point& b = outline[(i + 1) % outline.size()];
            if (y < std::min(a.y, b.y) || y > std::max(a.y, b.y)) continue;
            if (a.y == b.y) {
                least = std::min({least, a.x, b.x});
                most = std::max({most, a.x, b.x});
                continue;
            }
            const double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            least = std::min(least, x);
            most = std::max(most, x);
        }
        // A height the outline does not reach holds nothing.
        if (least > most) return {0.5, 0.5};
        span.left = std::max(span.left, least);
        span.right = std::min(span.right, most);
    }
    return span;
}

}  // namespace tarnwell
