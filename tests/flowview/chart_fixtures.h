// Charts for the page and picture tests: grid scripts written by hand, and charts laid out
// from C functions written here, of any length.
#pragma once

#include <string>

#include "flowview/chart_cells.h"
#include "layout/grid_script.h"
#include "layout/xmls2script.h"
#include "parsers/cpp2xmls.h"

namespace tarnwell {

// A C function body of `blocks` repeated pieces: statements, a decision with both branches,
// a loop with a break, a selection and a jump with its label.
inline std::string c_function_body(int blocks) {
    std::string text;
    for (int i = 0; i < blocks; ++i) {
        const std::string n = std::to_string(i);
        text += "total = total + " + n + ";\n";
        text += "if (total > " + n + ") {\n    down(" + n + ");\n} else {\n    up(" + n + ");\n}\n";
        text += "for (k = 0; k < " + n + "; k++) {\n    if (stop(k)) break;\n    step(k);\n}\n";
        text += "switch (mode) {\ncase 1:\n    one();\n    break;\ndefault:\n    other();\n}\n";
        text += "again" + n + ":\nif (retry()) goto again" + n + ";\n";
    }
    return text + "return total;\n";
}

// The grid script of a C text at a level code.
inline std::string c_chart_script(const std::string& text, int level) {
    Tcppsparser parser;
    txml2script engine;
    engine.markup = parser.parse(text).markup;
    engine.parser_slot = 3;
    engine.make_script(level);
    return engine.grid_script();
}

inline chart_cells c_chart(const std::string& text, int level) {
    return collect_chart_cells(*read_grid_script(c_chart_script(text, level)), text, 0);
}

// A single column of `rows` process boxes joined by arrows, from row 1: a chart that any
// row cut crosses.
inline std::string straight_script(int rows) {
    std::string script =
        "colcount4rowcount" + std::to_string(rows + 3) + "script99(100,1,p_start,1-2)";
    for (int r = 2; r < rows; ++r) {
        script += "(100," + std::to_string(r) + (r % 2 ? ",P_downarrow,1-1)" : ",P_code,1-1)");
    }
    return script + "(100," + std::to_string(rows) + ",p_end,1-1)\001";
}

}  // namespace tarnwell
