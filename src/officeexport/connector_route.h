// The path of a connector between two shape sides, and its form as a DrawingML connector
// (preset, rotation, flips, adjust values). Readers draw a connector exactly as stored, so the
// orthogonal path is worked out here, as an editor would when the shapes are glued.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tarnwell {

struct route_point {
    double x = 0;
    double y = 0;
    bool operator==(const route_point&) const = default;
};

// The side of a shape a connector is glued to; it leaves or enters the shape across that side.
enum class shape_side { top, left, bottom, right };

// An orthogonal path from `start` (on a side `start_side`) to `end` (on `end_side`): it leaves
// the first shape straight out of its side and enters the second straight into its side, going
// at least `stub` (less where the shapes are closer) before it turns. Collinear pieces are
// merged, so a path has 1 to 5 segments.
std::vector<route_point> orthogonal_route(route_point start, shape_side start_side, route_point end,
                                          shape_side end_side, double stub);

// A path as a connector shape: the box of its ends before rotation, the rotation in quarter
// turns clockwise, the flips, the preset and its adjust values (in 1/100000 of the box side).
struct connector_form {
    std::string preset;  // straightConnector1, bentConnector2 ... bentConnector5
    double left = 0, top = 0, width = 0, height = 0;
    int quarter_turns = 0;
    bool flip_h = false;
    bool flip_v = false;
    std::vector<long long> adjust;
};

// Nothing when the path has more than five segments, a slanted segment, or its box is too thin
// to carry the adjust values.
std::optional<connector_form> connector_form_of(const std::vector<route_point>& path);

// The path a form draws, for checks: the preset's points mapped through flips and rotation.
std::vector<route_point> path_of(const connector_form& form);

}  // namespace tarnwell
