#include "officeexport/outline_span.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarnwell {
namespace {

TEST(OutlineSpan, TheWidthInsideTheSidesAcrossTheTextsBand) {
    const std::vector<outline_point> rectangle = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
    const std::vector<outline_point> hexagon = {{0.15, 0}, {0.85, 0}, {1, 0.5}, {0.85, 1},
                                                {0.15, 1}, {0, 0.5},  {0.15, 0}};
    const std::vector<outline_point> diamond = {{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}};
    // Narrower at the bottom than at the top: its narrowest place in the band is the band's
    // lower edge.
    const std::vector<outline_point> funnel = {{0.4, 0}, {0.6, 0}, {1, 1}, {0, 1}};
    struct row {
        const char* name;
        const std::vector<outline_point>* outline;
        double band;
        double left;
        double right;
    };
    const row rows[] = {
        {"rectangle", &rectangle, 0.8, 0, 1},
        {"hexagon, a band a fifth of its height", &hexagon, 0.2, 0.03, 0.97},
        {"hexagon, its whole height", &hexagon, 1, 0.15, 0.85},
        {"diamond, half its height", &diamond, 0.5, 0.25, 0.75},
        {"diamond, a thin band", &diamond, 0, 0, 1},
        {"diamond, a band that is no number", &diamond, std::nan(""), 0, 1},
        {"diamond, a band higher than the shape", &diamond, 3, 0.5, 0.5},
        {"funnel", &funnel, 0.5, 0.3, 0.7},
    };
    for (const row& r : rows) {
        const outline_span span = span_across_band(*r.outline, r.band);
        EXPECT_NEAR(span.left, r.left, 1e-9) << r.name;
        EXPECT_NEAR(span.right, r.right, 1e-9) << r.name;
    }
    EXPECT_EQ(span_across_band({{0, 0}, {1, 1}}, 0.5).width(), 1) << "no outline: the whole width";
    // An outline that stops short of the band holds no text.
    EXPECT_EQ(span_across_band({{0, 0}, {1, 0}, {0.5, 0.3}}, 0.5).width(), 0);
}

}  // namespace
}  // namespace tarnwell
