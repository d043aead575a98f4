#include "officeexport/flowchart_text.h"

#include <gtest/gtest.h>

#include <string>

#include "layout/xmls2script.h"
#include "parsers/parser_registry.h"

namespace tarnwell {
namespace {

// The chart of C code at a level, as the text writers see it.
text_chart chart_of_c(const std::string& code, int level = 0) {
    const parser_registry parsers;
    const parser_result parsed = parsers.parser_at(parser_registry::default_slot)->parse(code);
    txml2script engine;
    engine.parser_slot = parser_registry::default_slot;
    engine.markup = parsed.markup;
    engine.make_cells(level);
    const cell_table table = cell_table::build(engine.cells(), {code, 0, -1}, 2000);
    keyword_list keywords = default_keywords();
    keywords[export_start] = "sum";
    return chart_of_table(table, keywords);
}

TEST(FlowchartText, LabelsAreQuotedForEachSyntax) {
    struct label_case {
        std::string text;
        std::string mermaid;
        std::string dot;
    };
    const label_case cases[] = {
        {"a = \"b\";", R"("a = #quot;b#quot;;")", R"("a = \"b\";")"},
        {"x[i] | y", R"("x[i] | y")", R"("x[i] | y")"},
        {"#define <T> & `t`", R"("#35;define #lt;T#gt; #amp; #96;t#96;")",
         R"("#define <T> & `t`")"},
        {"two\nlines", R"("two<br/>lines")", R"("two\nlines")"},
        {"back\\slash {}", R"("back\slash {}")", R"("back\\slash {}")"},
        {"caf\xC3\xA9", "\"caf\xC3\xA9\"", "\"caf\xC3\xA9\""},
    };
    for (const label_case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(mermaid_label(c.text), c.mermaid);
        EXPECT_EQ(dot_label(c.text), c.dot);
    }
}

TEST(FlowchartText, EachSymbolHasItsShape) {
    const std::pair<int, node_shape> cases[] = {
        {export_start, node_shape::terminal},
        {export_end, node_shape::terminal},
        {export_return, node_shape::terminal},
        {export_statements, node_shape::process},
        {export_case, node_shape::process},
        {export_label, node_shape::process},
        {export_if, node_shape::decision},
        {export_switch_head, node_shape::decision},
        {export_while_test, node_shape::decision},
        {export_until_test, node_shape::decision},
        {export_for_head, node_shape::loop},
        {export_if_collapsed, node_shape::subroutine},
        {export_sequence, node_shape::subroutine},
        {export_whiledo_collapsed, node_shape::subroutine},
        {export_break, node_shape::jump},
        {export_goto, node_shape::jump},
    };
    for (const auto& [code, shape] : cases) {
        EXPECT_EQ(shape_of_code(code), shape) << code;
        EXPECT_FALSE(folded_code(code));
    }
    EXPECT_TRUE(folded_code(export_junction));
    EXPECT_TRUE(folded_code(export_switch_end));
}

TEST(FlowchartText, AConditionalAsMermaidAndDot) {
    const text_chart chart = chart_of_c("if (a > 0) {\n  b = 1;\n}\nreturn b;\n");
    EXPECT_EQ(mermaid_flowchart(chart),
              "flowchart TD\n"
              "    n0([\"sum\"])\n"
              "    n1{\"IF<br/>1-1<br/>if (a #gt; 0)\"}\n"
              "    n2[\"Code<br/>2-2<br/>b = 1;\"]\n"
              "    n3([\"Return<br/>4-4<br/>return b;\"])\n"
              "    n0 --> n1\n"
              "    n1 -->|true| n2\n"
              "    n1 -->|false| n3\n"
              "    n2 --> n3\n");
    const std::string dot = graphviz_flowchart(chart, "a.c: sum");
    EXPECT_NE(dot.find("digraph \"a.c: sum\" {"), std::string::npos);
    EXPECT_NE(dot.find("n1 [shape=diamond, label=\"IF\\n1-1\\nif (a > 0)\"];"), std::string::npos);
    EXPECT_NE(dot.find("n1 -> n3 [label=\"false\"];"), std::string::npos);
    EXPECT_EQ(mermaid_markdown(chart), "```mermaid\n" + mermaid_flowchart(chart) + "```\n");
}

TEST(FlowchartText, TheEndStaysWhenTheFlowReachesIt) {
    const text_chart reached = chart_of_c("a = 1;\n");
    ASSERT_EQ(reached.nodes.size(), 3U);
    EXPECT_EQ(reached.nodes[2].label, "End");
    EXPECT_EQ(reached.edges.back(), (text_edge{1, 2, ""}));
    // After a return the end symbol would stand alone: it is left out.
    const text_chart returned = chart_of_c("return 1;\n");
    ASSERT_EQ(returned.nodes.size(), 2U);
    EXPECT_EQ(returned.nodes[1].label.rfind("Return", 0), 0U);
}

TEST(FlowchartText, LoopsKeepTheirBackEdgesAndJunctionsFold) {
    const text_chart chart =
        chart_of_c("while (n > 0) {\n  if (n == 3) break;\n  n--;\n}\nreturn n;\n");
    // No node stands for a junction, and the loop test is reached again from its body.
    std::size_t test = chart.nodes.size();
    for (std::size_t i = 0; i < chart.nodes.size(); ++i) {
        EXPECT_FALSE(chart.nodes[i].label.empty());
        if (chart.nodes[i].label.rfind("While", 0) == 0) test = i;
    }
    ASSERT_LT(test, chart.nodes.size());
    int into_test = 0;
    for (const text_edge& edge : chart.edges) {
        EXPECT_LT(edge.from, chart.nodes.size());
        EXPECT_LT(edge.to, chart.nodes.size());
        if (edge.to == test) ++into_test;
    }
    EXPECT_GE(into_test, 2);  // from before the loop and back from its body
}

TEST(FlowchartText, ControlBytesAndLongCodeMakeReadableLabels) {
    const std::string long_call = "f(" + std::string(300, 'x') + ");\n";
    const text_chart chart = chart_of_c("a = '\x02\x1b\x7f';\n" + long_call);
    ASSERT_GE(chart.nodes.size(), 3U);
    const std::string& code = chart.nodes[1].label;
    EXPECT_EQ(code.find('\x02'), std::string::npos);
    EXPECT_EQ(code.find('\x1b'), std::string::npos);
    EXPECT_EQ(code.find('\x7f'), std::string::npos);
    EXPECT_LE(code.size(), label_limit + 3);
    EXPECT_EQ(code.substr(code.size() - 3), "...");
}

}  // namespace
}  // namespace tarnwell
