// The worked example chart (an assignment, an if with an else, a return) at all levels, as
// the grid holds it: grid columns are layout columns less the column offset 98.
#pragma once

#include <array>
#include <string_view>

namespace tarnwell {

struct example_cell {
    int column;
    int row;
    const char* name;
};

// Its grid script as the layout writes it.
inline constexpr std::string_view worked_example_script =
    "colcount6rowcount12script98(100,1,p_start,1-2)(100,2,P_code,1-6)(100,3,P_downarrow,1-6)"
    "(100,4,p_if,9-18)(99,4,p_leftdownturntruearrow,9-18)(99,5,P_code,27-32)(99,6,P_leftturn,"
    "27-32)(101,4,p_rightdownturnfalsearrow,35-35)(101,5,P_code,47-52)(101,6,P_rightturn,47-52)"
    "(100,6,p_threearrow,52-52)(100,7,P_return,55-63)(100,9,p_end,66-66)\001";

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
