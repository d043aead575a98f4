// tarnwell-cli render to Mermaid and Graphviz text, for one function of every language:
// Graphviz's dot accepts each .dot, and each .mmd has the form Mermaid reads.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "render_cli.h"

namespace tarnwell {
namespace {

std::string text_of(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The node and edge lines of a flowchart, each of the form the writer promises: a node is an
// id, an opening bracket, a quoted label without a bare quote or line break, the matching
// bracket; an edge joins two nodes defined before or after it. Empty when all is well.
std::string mermaid_problems(const std::string& text) {
    static const std::regex node(
        R"re(    (n\d+)(\(\[|\{\{|\[\[|\[|\{|\()"[^"\n]*"(\]\)|\}\}|\]\]|\]|\}|\)))re");
    static const std::regex edge(R"re(    (n\d+) -->(\|true\||\|false\|)? (n\d+))re");
    static const std::set<std::pair<std::string, std::string>> pairs = {
        {"([", "])"}, {"{{", "}}"}, {"[[", "]]"}, {"[", "]"}, {"{", "}"}, {"(", ")"}};
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != "flowchart TD") return "no header";
    std::set<std::string> nodes;
    std::vector<std::pair<std::string, std::string>> edges;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, m, node)) {
            if (!pairs.count({m[2], m[3]})) return "mismatched brackets: " + line;
            nodes.insert(m[1]);
        } else if (std::regex_match(line, m, edge)) {
            edges.emplace_back(m[1], m[3]);
        } else {
            return "not a node or an edge: " + line;
        }
    }
    for (const auto& [from, to] : edges) {
        if (!nodes.count(from) || !nodes.count(to)) return "edge to nowhere: " + from + " " + to;
    }
    return nodes.size() >= 2 ? "" : "fewer than two nodes";
}

TEST(RenderText, EveryLanguageGivesMermaidAndDot) {
    struct function_case {
        std::string arguments;  // the file and what to mark in it
    };
    const std::string data = TARNWELL_TEST_DATA;
    const function_case cases[] = {
        {"--lines 19-36 --function indexOfLargestEven " TARNWELL_SAMPLE},
        {data + "/cli/example.c"},
        {data + "/officeexport/wordcount.c"},
        {data + "/officeexport/bisect.pas"},
        {data + "/officeexport/tally.vb"},
        {data + "/parsers/order_total.cs"},
        {data + "/parsers/shopping_cart.php"},
        {data + "/parsers/log_report.pl"},
        {data + "/parsers/payroll.bas"},
        {data + "/parsers/order_report.vbs"},
        {data + "/parsers/invoices.prg"},
        {data + "/parsers/w_orders.pb"},
    };
    const bool have_dot = std::system("command -v dot >/dev/null 2>&1") == 0;
    QTemporaryDir dir;
    int index = 0;
    for (const function_case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string base = dir.filePath(QString::number(index++)).toStdString();
        // A file that parses with an error still gets the chart of what was read.
        const int mermaid = render("-o " + base + ".mmd " + c.arguments);
        ASSERT_TRUE(mermaid == 0 || mermaid == 1);
        ASSERT_TRUE(render("-o " + base + ".dot " + c.arguments) == mermaid);
        EXPECT_EQ(mermaid_problems(text_of(base + ".mmd")), "");
        if (have_dot) {
            EXPECT_EQ(std::system(("dot -Tsvg " + base + ".dot -o " + base + ".svg").c_str()), 0);
            EXPECT_NE(text_of(base + ".svg").find("<svg"), std::string::npos);
        }
    }
    if (!have_dot) GTEST_SKIP() << "Graphviz's dot is not installed";
}

TEST(RenderText, MarkdownWrapsMermaidOnly) {
    QTemporaryDir dir;
    const std::string example = TARNWELL_TEST_DATA "/cli/example.c";
    const std::string fenced = dir.filePath("f.mmd").toStdString();
    ASSERT_EQ(render("--markdown -o " + fenced + " " + example), 0);
    const std::string text = text_of(fenced);
    EXPECT_EQ(text.rfind("```mermaid\nflowchart TD\n", 0), 0U);
    EXPECT_EQ(text.substr(text.size() - 4), "```\n");
    EXPECT_EQ(render("--markdown -o " + dir.filePath("f.dot").toStdString() + " " + example), 2);
    EXPECT_EQ(render("-o " + dir.filePath("f.txt").toStdString() + " " + example), 2);
}

}  // namespace
}  // namespace tarnwell
