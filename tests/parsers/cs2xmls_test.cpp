#include "parsers/cs2xmls.h"

#include <gtest/gtest.h>

#include <string>

#include "parser_cases.h"

namespace tarnwell {
namespace {

using namespace parser_cases;

class CsMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(CsMarkupTest, GivesTheMarkupAndResult) {
    Tcsparser parser;
    expect_markup(parser, GetParam());
}

const markup_case cs_cases[] = {
    {"foreach_is_a_counted_loop", "foreach (var x in list) Use(x);", true, no_error,
     "<statement>1-7<for>1-23<statement>25-27<code/>25-31</statement>31-31</for>31-31"
     "</statement>32-32"},
    {"try_and_finally_blocks_merge_into_one_run", "try { A(); } finally { B(); }", true, no_error,
     "<statement>1-3<code/>7-27</statement>30-30"},
    {"catch_between_protected_and_finally_blocks",
     "try { f(); } catch (Exception e) { g(); } finally { h(); }", true, no_error,
     "<statement>1-3<code/>7-10<except>14-32<statement>36-36<code/>36-39</statement>41-41"
     "</except>41-41<code/>53-56</statement>59-59"},
    // No statement keyword ends a plain statement: it runs to the next ";".
    {"statement_without_semicolon_runs_on", "Use(x)\r\nif (a) b();", true, no_error,
     "<statement>1-3<code/>1-19</statement>20-20"},
    {"underscore_is_a_stray_character", "_name = 1;", true, no_error,
     "<statement>1-1<code/>2-10</statement>11-11"},
    {"star_is_a_stray_character", "*p = 1;", true, no_error,
     "<statement>1-1<code/>2-7</statement>8-8"},
    {"at_sign_starts_a_word", "@class = 1;", true, no_error,
     "<statement>1-6<code/>1-11</statement>12-12"},
    {"missing_semicolon_at_end", "while (x) f()", false, "here should be \";\"",
     "<statement>1-5<whiledo>1-9<statement>11-11<code/>11-"},
    // Line comments and directives end at any line end, a lone LF included.
    {"line_comment_ends_at_lf", "f(); // note\ng();", true, no_error,
     "<statement>1-1<code/>1-17</statement>18-18"},
    {"line_comment_ends_at_cr", "f(); // note\r\ng();", true, no_error,
     "<statement>1-1<code/>1-18</statement>19-19"},
    {"directive_ends_at_lf", "#region a\nb = 1;", true, no_error,
     "<statement>1-9<code/>11-16</statement>17-17"},
    // Without a "::" token the word before two colons is a label.
    {"double_colon_is_two_colons", "global::X.Y();", true, no_error,
     "<statement>1-7<label/>1-7<code/>9-14</statement>15-15"},
    {"comment_cut_short_is_passed_over", "f(); /* open", true, no_error,
     "<statement>1-1<code/>1-4</statement>13-13"},
    {"exit_is_no_keyword", "exit(1);", true, no_error, "<statement>1-4<code/>1-8</statement>9-9"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, CsMarkupTest, testing::ValuesIn(cs_cases),
                         case_name);

using namespace std::string_literals;

const markup_case cs_any_bytes[] = {
    {"nul_bytes", "f(\0\0);\0g();"s, true, no_error, "<statement>1-1<code/>1-11</statement>12-12"},
    {"sentinel_character_inside", "f();\001g();", true, no_error,
     "<statement>1-1<code/>1-4</statement>5-5"},
    {"lone_carriage_return_ends_a_line_comment", "f(); // x\rg();", true, no_error,
     "<statement>1-1<code/>1-14</statement>15-15"},
    {"invalid_utf8", "s = \xff\xfe\xc0;", true, no_error,
     "<statement>1-1<code/>1-8</statement>9-9"},
    {"only_a_sentinel_character", "\001", true, no_error, "<statement>1-1</statement>1-1"},
    {"everything_cut_short", "if (\"", false, "here should be parameter of function",
     "<statement>1-2<if>1-"},
};

INSTANTIATE_TEST_SUITE_P(AnyBytes, CsMarkupTest, testing::ValuesIn(cs_any_bytes), case_name);

TEST(CsParserLimits, DeepNestingFailsCleanlyInsteadOfOverflowing) {
    Tcsparser parser;
    expect_too_deep(parser, repeated("if (a) {\n", 100000));
    expect_too_deep(parser, "x = " + repeated("(", 100000) + "1;");
    expect_too_deep(parser, repeated("foreach (x in y) ", 100000) + "f();");
}

TEST(CsParserLimits, LongRunsParseInOnePass) {
    Tcsparser parser;
    expect_long_runs_in_one_pass(parser);
}

TEST(CsParser, MissingSemicolonFailsPastTheSentinel) {
    Tcsparser parser;
    const parser_result result = parser.parse("while (x) f()");
    EXPECT_EQ(result.error_pos, 15);
    EXPECT_EQ(result.error_len, 5);
}

TEST(CsParser, ChartsAWholeMethodBody) {
    Tcsparser parser;
    const parser_result result = parser.parse(fixture("order_total.cs"));
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(outline(result.markup),
              "<statement><code/><for><statement><if><statement><continue/></statement></if>"
              "<if><statement><code/><return/></statement></if><code/></statement></for>"
              "<switch><case/><statement><code/><break/></statement><case/><statement><code/>"
              "<break/></statement><else/><statement><break/></statement></switch><code/>"
              "<except><statement><code/></statement></except><code/><dowhile><statement>"
              "<code/></statement></dowhile><return/></statement>");
}

}  // namespace
}  // namespace tarnwell
