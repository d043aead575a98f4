// What the syntax-tree reader does the same way in every language: empty and comment-only
// texts, errors, nesting without end, line ends, and that no statement of a body is left out.
#include "parsers/tree2xmls.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "parser_cases.h"
#include "parsers/tree_bash.h"
#include "parsers/tree_go.h"
#include "parsers/tree_python.h"
#include "parsers/tree_ruby.h"
#include "parsers/tree_rust.h"
#include "parsers/tree_swift.h"
#include "parsers/tree_syntax.h"
#include "parsers/tree_typescript.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

// A snippet read by the grammar of its language.
struct grammar_case {
    const tree_grammar& grammar;
    markup_case snippet;
};

void expect_each(const std::vector<grammar_case>& cases) {
    for (const grammar_case& c : cases) {
        SCOPED_TRACE(std::string(c.grammar.name) + ": " + c.snippet.name);
        Ttreesparser parser(c.grammar);
        parser_cases::expect_markup(parser, c.snippet);
    }
}

TEST(TreeReader, EmptyAndCommentOnlyTextsGiveAnEmptySequence) {
    expect_each({
        {python_grammar(), {"empty", "", true, no_error, "<statement>1-1</statement>1-1"}},
        {python_grammar(),
         {"comment", "# only a note\n", true, no_error, "<statement>1-13</statement>15-15"}},
        {python_grammar(),
         {"blank lines", "\n\n", true, no_error, "<statement>3-3</statement>3-3"}},
        {typescript_grammar(),
         {"comments", "/* a */\n// b\n", true, no_error, "<statement>1-7</statement>14-14"}},
        {go_grammar(), {"empty", "", true, no_error, "<statement>1-1</statement>1-1"}},
        {go_grammar(), {"comment", "// note\n", true, no_error, "<statement>1-7</statement>9-9"}},
        {rust_grammar(),
         {"comments", "/* a */ // b", true, no_error, "<statement>1-7</statement>13-13"}},
        {ruby_grammar(), {"empty", "", true, no_error, "<statement>1-1</statement>1-1"}},
        {ruby_grammar(), {"comment", "# note\n", true, no_error, "<statement>1-6</statement>8-8"}},
        {bash_grammar(),
         {"comments", "#!/bin/sh\n# note\n", true, no_error, "<statement>1-9</statement>18-18"}},
        {swift_grammar(),
         {"comments", "/* a */\n// b\n", true, no_error, "<statement>1-7</statement>14-14"}},
    });
}

TEST(TreeReader, AnErrorIsReportedAtItsNodeWithTheChartBeforeIt) {
    struct error_case {
        const tree_grammar& grammar;
        std::string source;
        std::string message;
        std::int32_t error_pos;  // 0-based: the editor highlights from it
        std::string markup;      // without the closing "\001"
    };
    const error_case cases[] = {
        {python_grammar(), "x = 1\ny = 2\nif x >:\n    y = 1\n", "syntax error", 17,
         "<statement>1-1<code/>1-11"},
        // A function whose header is broken is not charted by its body.
        {python_grammar(), "def f(:\n    pass\n", "here should be \")\"", 6, "<statement>1-3"},
        // The block left out after a header is the error, where the block should begin.
        {python_grammar(), "while a:\nb()\n", "syntax error", 8, "<statement>1-5<whiledo>1-8"},
        {typescript_grammar(), "f();\nif (a {\n  g();\n}\n", "here should be \")\"", 10,
         "<statement>1-1<code/>1-4"},
        // The missing brace stands where the text ends; the class framing would close the
        // block with its own brace, and is not taken for it.
        {typescript_grammar(), "while (a) {\n  b();\n", "here should be \"}\"", 18,
         "<statement>1-5<whiledo>1-9<statement>15-15<code/>15-18"},
        {go_grammar(), "x := 1\nfor i := 0; i < ; i++ {\n}\n", "here should be Identifier", 22,
         "<statement>1-1<code/>1-6"},
        {go_grammar(), "x := 1\nfor {\n\tb()\n", "here should be \"}\"", 17,
         "<statement>1-1<code/>1-6<for>8-10<statement>15-15<code/>15-17"},
        {rust_grammar(), "let a = 1;\nmatch a {\n    1 => f(),\n    2 =>\n}\n",
         "here should be Identifier", 43,
         "<statement>1-3<code/>1-10<switch>12-18<case/>26-29<statement>31-31<code/>31-33</"
         "statement>40-40<case/>40-43"},
        {bash_grammar(), "x=1\nfor i in a b; do\n  y\n", "syntax error", 24,
         "<statement>1-1<code/>1-3<for>5-17<statement>24-24<code/>24-24"},
        // A test left out after the body: the walk stops before the test.
        {swift_grammar(), "f()\nrepeat {\n  g()\n} while\n", "syntax error", 26,
         "<statement>1-1<code/>1-3<dowhile>5-10<statement>16-16<code/>16-18</statement>20-20"},
        // The end of a protected block left out: the handlers before it are charted, the
        // outermost sequence is not closed.
        {ruby_grammar(), "a\nbegin\n  b\nrescue\n  c\n", "syntax error", 22,
         "<statement>1-1<code/>1-11<except>13-18<statement>22-22<code/>22-22</statement>22-22</"
         "except>22-22"},
    };
    for (const error_case& c : cases) {
        SCOPED_TRACE(c.source);
        Ttreesparser parser(c.grammar);
        const parser_result result = parser.parse(c.source);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(result.error_pos, c.error_pos);
        EXPECT_GE(result.error_len, 5);
        EXPECT_EQ(result.markup, c.markup + "\001");
    }
}

// Nesting deeper than the reader follows ends with "Error In Statement" at the statement where
// it gave up, after a markup of everything above it; an else-if chain nests as deep as it is
// long.
TEST(TreeReader, NestingPastTheLimitEndsAtAConditional) {
    const int depth = 5000;
    struct deep_case {
        const tree_grammar& grammar;
        std::string source;
    };
    const deep_case cases[] = {
        {typescript_grammar(),
         parser_cases::repeated("if (a) {\n", depth) + "f();\n" + std::string(depth, '}')},
        {typescript_grammar(), parser_cases::repeated("if (a) f(); else ", depth) + "g();\n"},
        {go_grammar(),
         "func f() {\n" + parser_cases::repeated("if a {\n", depth) + std::string(depth + 1, '}')},
        {rust_grammar(), parser_cases::repeated("if a { f(); } else ", depth) + "{ g(); }"},
        {ruby_grammar(), parser_cases::repeated("if a\n", depth) + "f()\n" +
                             parser_cases::repeated("end\n", depth)},
        {swift_grammar(), parser_cases::repeated("if a {\n", depth) + "f()\n" +
                              parser_cases::repeated("}\n", depth)},
    };
    for (const deep_case& c : cases) {
        SCOPED_TRACE(std::string(c.grammar.name) + ": " + c.source.substr(0, 20));
        Ttreesparser parser(c.grammar);
        const parser_result result = parser.parse(c.source);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, "Error In Statement");
        EXPECT_TRUE(parser_cases::outline(result.markup).starts_with("<statement><if><statement>"));
        EXPECT_EQ(result.markup.back(), '\001');
        // The highlight starts on a statement of the innermost level charted.
        ASSERT_GT(result.error_pos, 0);
        const std::string_view at =
            std::string_view(c.source).substr(static_cast<std::size_t>(result.error_pos), 3);
        EXPECT_TRUE(at.starts_with("if") || at == "f()") << at;
    }
}

// Python's grammar gives up on indentation this deep before the reader's limit is reached.
TEST(TreeReader, IndentationTooDeepForTheGrammarIsASyntaxError) {
    std::string python;
    for (int depth = 0; depth < 600; ++depth) {
        python += std::string(static_cast<std::size_t>(depth), ' ') + "if a:\n";
    }
    python += std::string(600, ' ') + "pass\n";
    Ttreesparser parser(python_grammar());
    const parser_result result = parser.parse(python);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "syntax error");
    EXPECT_EQ(result.markup, "<statement>1-2\001");
}

TEST(TreeReader, CarriageReturnsCountInThePositions) {
    expect_each({
        {python_grammar(),
         {"crlf", "if a:\r\n    b()\r\nc()\r\n", true, no_error,
          "<statement>1-2<if>1-5<statement>12-12<code/>12-14</statement>14-14</if>14-14"
          "<code/>17-19</statement>22-22"}},
        {python_grammar(),
         {"indented crlf", "    if a:\r\n        b()\r\n    c()\r\n", true, no_error,
          "<statement>5-6<if>5-9<statement>20-20<code/>20-22</statement>22-22</if>22-22"
          "<code/>29-31</statement>34-34"}},
        {typescript_grammar(),
         {"crlf", "if (a) {\r\n  b();\r\n}\r\n", true, no_error,
          "<statement>1-2<if>1-6<statement>13-13<code/>13-16</statement>19-19</if>19-19"
          "</statement>22-22"}},
        {go_grammar(),
         {"crlf", "if a {\r\n\tb()\r\n}\r\nc()\r\n", true, no_error,
          "<statement>1-2<if>1-4<statement>10-10<code/>10-12</statement>15-15</if>15-15"
          "<code/>18-20</statement>23-23"}},
        {rust_grammar(),
         {"crlf", "if a {\r\n    b();\r\n}\r\n", true, no_error,
          "<statement>1-2<if>1-4<statement>13-13<code/>13-16</statement>19-19</if>19-19"
          "</statement>22-22"}},
        {ruby_grammar(),
         {"crlf", "if a\r\n  b\r\nend\r\n", true, no_error,
          "<statement>1-2<if>1-4<statement>9-9<code/>9-9</statement>9-9</if>12-14"
          "</statement>17-17"}},
        {bash_grammar(),
         {"crlf", "if a; then\r\n  b\r\nfi\r\n", true, no_error,
          "<statement>1-2<if>1-10<statement>15-15<code/>15-15</statement>18-19</if>18-19"
          "</statement>22-22"}},
        {swift_grammar(),
         {"crlf", "guard a else {\r\n  return\r\n}\r\n", true, no_error,
          "<statement>1-5<if>1-12<statement>12-12</statement>12-12<statement>19-24<return/>19-24"
          "</statement>27-27</if>27-27</statement>30-30"}},
    });
}

std::string read_fixture(const std::string& name) {
    std::ifstream in(std::string(TARNWELL_TEST_DATA) + "/tree/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The byte offset of the start of a 1-based line.
std::size_t line_start(const std::string& text, int line) {
    std::size_t offset = 0;
    for (int l = 1; l < line && offset != std::string::npos; ++l) {
        offset = text.find('\n', offset);
        if (offset != std::string::npos) ++offset;
    }
    return offset == std::string::npos ? text.size() : offset;
}

// Every name and literal of a marked body stands inside an item of its chart: a success never
// leaves code out.
TEST(TreeReader, EveryNameAndLiteralOfABodyIsCharted) {
    struct body_case {
        const char* file;
        const tree_grammar& grammar;
        int first_line;
        int last_line;
    };
    const body_case cases[] = {
        {"account.py", python_grammar(), 7, 29}, {"shapes.ts", typescript_grammar(), 7, 30},
        {"panel.tsx", tsx_grammar(), 4, 19},     {"queue.go", go_grammar(), 6, 30},
        {"stack.rs", rust_grammar(), 5, 21},     {"ledger.rb", ruby_grammar(), 6, 34},
        {"backup.sh", bash_grammar(), 5, 34},    {"inventory.swift", swift_grammar(), 8, 37},
    };
    const std::regex range("<[^>]+>(\\d+)-(\\d+)");
    for (const body_case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = read_fixture(c.file);
        ASSERT_FALSE(file.empty());
        const std::size_t from = line_start(file, c.first_line);
        const std::size_t to = line_start(file, c.last_line + 1);
        const std::string body = file.substr(from, to - from);
        Ttreesparser parser(c.grammar);
        const parser_result result = parser.parse(body);
        ASSERT_TRUE(result.ok) << result.message;
        // The items inside the outermost sequence, which closes at the end of the text anyway.
        const std::string inside = result.markup.substr(0, result.markup.rfind("</statement>"));
        std::vector<std::pair<long, long>> ranges;
        for (auto it = std::sregex_iterator(inside.begin(), inside.end(), range);
             it != std::sregex_iterator(); ++it) {
            ranges.emplace_back(std::stol((*it)[1]), std::stol((*it)[2]));
        }

        syntax_tree_parser trees(c.grammar);
        const syntax_tree tree = trees.parse(file);
        std::vector<TSNode> pending{ts_tree_root_node(tree.get())};
        int leaves = 0;
        while (!pending.empty()) {
            const TSNode node = pending.back();
            pending.pop_back();
            const std::uint32_t start = ts_node_start_byte(node);
            if (ts_node_end_byte(node) <= from || start >= to) continue;
            const std::string_view type = ts_node_type(node);
            if (type.find("comment") != std::string_view::npos) continue;
            if (ts_node_child_count(node) > 0) {
                for (std::uint32_t i = 0; i < ts_node_child_count(node); ++i) {
                    pending.push_back(ts_node_child(node, i));
                }
                continue;
            }
            if (!ts_node_is_named(node) || start < from) continue;
            ++leaves;
            const long pos = static_cast<long>(start - from) + 1;
            bool covered = false;
            for (const auto& [first, last] : ranges)
                covered = covered || (first <= pos && pos <= last);
            EXPECT_TRUE(covered) << "not charted: " << node_text(node, file) << " at " << pos;
        }
        EXPECT_GT(leaves, 20);
    }
}

}  // namespace
}  // namespace tarnwell
