// How much of a shape's width its outline holds across the band its text takes: a rectangle
// all of it, a hexagon or a diamond less, as their sides slant in.
#pragma once

#include <vector>

namespace tarnwell {

// A point of an outline in shares of the shape's box: x from the left, y from the bottom.
struct outline_point {
    double x = 0;
    double y = 0;
};

// The part of the width inside the outline at every height of a band, in shares of the width.
struct outline_span {
    double left = 0;
    double right = 1;
    double width() const { return right > left ? right - left : 0; }
};

// The span of a closed outline of straight sides (its last point joins its first) across a band
// of `band` (a share of the height) centred on the middle. An outline of fewer than three points
// spans the whole width.
outline_span span_across_band(const std::vector<outline_point>& outline, double band);

}  // namespace tarnwell
