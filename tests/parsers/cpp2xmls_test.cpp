#include "parsers/cpp2xmls.h"

#include <gtest/gtest.h>

#include <string>

#include "parser_cases.h"

namespace tarnwell {
namespace {

using namespace parser_cases;

class CppMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(CppMarkupTest, GivesTheMarkupAndResult) {
    Tcppsparser parser;
    expect_markup(parser, GetParam());
}

const markup_case worked_examples[] = {
    {"conditional_with_else",
     "x = 0;\r\nif (a > 1) {\r\n    x = 1;\r\n} else\r\n    x = 2;\r\nreturn x;\r\n", true,
     no_error,
     "<statement>1-1<code/>1-6<if>9-18<statement>27-27<code/>27-32</statement>35-35"
     "<statement>47-47<code/>47-52</statement>52-52</if>52-52<return/>55-63</statement>66-66"},
    {"selection_and_do_loop",
     "switch (k) {\r\ncase 1:\r\n    n++;\r\n    break;\r\ndefault:\r\n    n = 0;\r\n}\r\n"
     "do {\r\n    n--;\r\n} while (n > 0);\r\n",
     true, no_error,
     "<statement>1-6<switch>1-12<case/>15-21<statement>28-28<code/>28-31<break/>38-43"
     "</statement>46-52<else/>46-53<statement>60-60<code/>60-65</statement>68-68</switch>68-68"
     "<dowhile>71-72<statement>81-83<code/>81-84</statement>87-87</dowhile>89-102"
     "</statement>105-105"},
    {"empty_text", "", true, no_error, "<statement>1-1</statement>1-1"},
    {"else_if_chain_on_one_line", "if (a) x(); else if (b) y(); else z();\r\n", true, no_error,
     "<statement>1-2<if>1-6<statement>8-8<code/>8-11</statement>11-11<statement>18-19"
     "<if>18-23<statement>25-25<code/>25-28</statement>28-28<statement>35-35<code/>35-38"
     "</statement>38-38</if>38-38</statement>38-38</if>38-38</statement>41-41"},
    {"try_catch_finally",
     "try {\r\n  f();\r\n} catch (E e) {\r\n  g();\r\n} finally {\r\n  h();\r\n}\r\n", true,
     no_error,
     "<statement>1-3<code/>10-13<except>18-28<statement>35-35<code/>35-38</statement>41-41"
     "</except>41-41<code/>43-59</statement>65-65"},
    {"case_label_token", "switch (k) {\r\ncase FOO: f(); break;\r\n}", true, no_error,
     "<statement>1-6<switch>1-12<case/>15-23<statement>25-25<code/>25-28<break/>30-35"
     "</statement>38-38</switch>38-38</statement>39-39"},
    {"conditional_expression_is_plain_code", "x = a ? b : c;", true, no_error,
     "<statement>1-1<code/>1-14</statement>15-15"},
    {"empty_loop_body", "for (;;) ;", true, no_error,
     "<statement>1-3<for>1-8<statement>10-10</statement>10-10</for>10-10</statement>11-11"},
    {"statement_ended_by_if", "MACRO(x)\r\nif (a) b();", true, no_error,
     "<statement>1-5<code/>1-10<if>11-16<statement>18-18<code/>18-21</statement>21-21"
     "</if>21-21</statement>22-22"},
    {"do_until_is_no_loop", "do { f(); } until (x);", false, "here should be \"while\"",
     "<statement>1-2<dowhile>1-2<statement>6-6<code/>6-9</statement>11-11"},
    {"missing_semicolon_at_end", "while (x) f()", false, "Unexpected End Of File",
     "<statement>1-5<whiledo>1-9<statement>11-11<code/>11-"},
    {"brace_ends_the_outermost_sequence", "f();\n}\ng();", false, code_follows,
     "<statement>1-1<code/>1-4</statement>6-6"},
    {"unclosed_block", "while (x) {\nf(x);", false, "here should be \";\"",
     "<statement>1-5<whiledo>1-9<statement>13-13<code/>13-17</statement>18-18"},
    {"missing_closing_parenthesis", "if (x > 0 {", false, "here should be parameter of function",
     "<statement>1-2<if>1-"},
    {"comment_closed_at_end_of_text", "f(); /* done */", true, no_error,
     "<statement>1-1<code/>1-4</statement>16-16"},
    {"empty_selection", "switch (k) { }", true, no_error,
     "<statement>1-6<switch>1-12</switch>14-14</statement>15-15"},
    {"only_plain_statements", "a = 1;\nb = 2;\n", true, no_error,
     "<statement>1-1<code/>1-13</statement>15-15"},
    {"leading_comment_opens_the_sequence", "// note\nf();", true, no_error,
     "<statement>1-7<code/>9-12</statement>13-13"},
    {"leading_space_opens_the_sequence", "  f();", true, no_error,
     "<statement>1-2<code/>3-6</statement>7-7"},
    {"failure_inside_nested_structure", "if (a) { while (b) { c(); }", false,
     "here should be \";\"",
     "<statement>1-2<if>1-6<statement>10-14<whiledo>10-18<statement>22-22<code/>22-25"
     "</statement>27-27</whiledo>27-27</statement>28-28"},
    {"label_and_goto", "again: f(); goto again;", true, no_error,
     "<statement>1-6<label/>1-6<code/>8-11<goto/>13-23</statement>24-24"},
    {"case_without_colon", "switch (k) { case 1; }", false, "here should be \":\"",
     "<statement>1-6<switch>1-12<case/>14-"},
    {"selection_without_brace", "switch (k);", false, "here should be \"{\"",
     "<statement>1-6<switch>1-"},
    {"stray_statement_in_selection", "switch (k) { f(); }", false, "here should be \"case\"",
     "<statement>1-6<switch>1-12"},
    {"catch_without_parameter", "catch ;", false, "here should be parameter of function",
     "<statement>1-5<except>1-"},
    {"catch_with_block", "__except { f(); }", true, no_error,
     "<statement>1-8<except>1-9<statement>12-12<code/>12-15</statement>17-17</except>17-17"
     "</statement>18-18"},
    {"jump_without_semicolon", "return x", false, "here should be \";\"",
     "<statement>1-6<return/>1-"},
    {"stray_tokens_are_skipped", "::x; \"s\"; f();", true, no_error,
     "<statement>1-2<code/>3-14</statement>15-15"},
    {"unterminated_string", "f(\"abc);", false, "here should be \";\"", "<statement>1-1<code/>1-"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, CppMarkupTest, testing::ValuesIn(worked_examples),
                         case_name);

TEST(CppParser, ErrorPositionAndLengthPointAtTheOffendingToken) {
    Tcppsparser parser;
    // The group cut short by the end of the text runs from "(" up to the sentinel.
    const parser_result group = parser.parse("if (x > 0 {");
    EXPECT_EQ(group.error_len, 8);
    EXPECT_EQ(group.error_pos, 12);
    // An unclosed block fails just past the sentinel.
    const parser_result block = parser.parse("while (x) {\nf(x);");
    EXPECT_EQ(block.error_pos, 19);
    EXPECT_EQ(block.error_len, 5);
    // After a successful parse that reached the end: just past the sentinel.
    const parser_result done = parser.parse("f();");
    EXPECT_EQ(done.error_pos, 6);
}

TEST(CppParser, NothingCarriesOverBetweenParses) {
    Tcppsparser parser;
    const parser_result first = parser.parse("if (a) { while (b) { c(); }");
    EXPECT_FALSE(first.ok);
    const parser_result second = parser.parse("x = 0;\r\n");
    EXPECT_TRUE(second.ok);
    EXPECT_EQ(second.markup, std::string("<statement>1-1<code/>1-6</statement>9-9\001"));
    EXPECT_EQ(parser.parse("if (a) { while (b) { c(); }").markup, first.markup);
}

TEST(CppParserLimits, DeepNestingFailsCleanlyInsteadOfOverflowing) {
    struct deep_case {
        const char* name;
        std::string source;
    };
    const deep_case cases[] = {
        {"nested_conditionals", repeated("if (a) {\n", 100000)},
        {"nested_groups", "x = " + repeated("(", 100000) + "1;"},
        {"nested_loops_without_braces", repeated("while (a) ", 100000) + "f();"},
    };
    Tcppsparser parser;
    for (const deep_case& c : cases) {
        SCOPED_TRACE(c.name);
        expect_too_deep(parser, c.source);
    }
    // Nesting well inside the limit still parses.
    const parser_result fine =
        parser.parse(repeated("if (a) {\n", 200) + "f();" + repeated("}", 200));
    EXPECT_TRUE(fine.ok) << fine.message;
}

TEST(CppParserLimits, LongRunsParseInOnePass) {
    Tcppsparser parser;
    expect_long_runs_in_one_pass(parser);
}

TEST(CppParserLimits, AnyBytesAreInput) {
    struct bytes_case {
        const char* name;
        std::string source;
        bool ok;
        std::string markup;
    };
    using namespace std::string_literals;
    const bytes_case cases[] = {
        {"nul_bytes", "f(\0\0);\0g();"s, true, "<statement>1-1<code/>1-11</statement>12-12"},
        {"sentinel_character_inside", "f();\001g();", true,
         "<statement>1-1<code/>1-4</statement>5-5"},
        {"lone_carriage_returns", "a = 1;\rb = 2;\r", true,
         "<statement>1-1<code/>1-13</statement>15-15"},
        {"invalid_utf8", "s = \xff\xfe\xc0;", true, "<statement>1-1<code/>1-8</statement>9-9"},
        {"only_a_sentinel_character", "\001", true, "<statement>1-1</statement>1-1"},
        {"lone_backslash_cr_at_end", "f(); //\\\r", true,
         "<statement>1-1<code/>1-4</statement>10-10"},
    };
    Tcppsparser parser;
    for (const bytes_case& c : cases) {
        SCOPED_TRACE(c.name);
        const parser_result result = parser.parse(c.source);
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.markup, c.markup + "\001");
    }
}

}  // namespace
}  // namespace tarnwell
