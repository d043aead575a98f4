// The worked example chart (an assignment, an if with an else, a return) at all levels, as
// the grid holds it: grid columns are layout columns less the column offset 98.
#pragma once

#include <array>

namespace tarnwell {

struct example_cell {
    int column;
    int row;
    const char* name;
};

inline constexpr std::array<example_cell, 13> worked_example_cells{{
    {2, 1, "p_start"},
    {2, 2, "P_code"},
    {2, 3, "P_downarrow"},
    {2, 4, "p_if"},
    {1, 4, "p_leftdownturntruearrow"},
    {1, 5, "P_code"},
    {1, 6, "P_leftturn"},
    {3, 4, "p_rightdownturnfalsearrow"},
    {3, 5, "P_code"},
    {3, 6, "P_rightturn"},
    {2, 6, "p_threearrow"},
    {2, 7, "P_return"},
    {2, 9, "p_end"},
}};

}  // namespace tarnwell
