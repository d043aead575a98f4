#include "parsers/php2xmls.h"

#include <gtest/gtest.h>

#include <string>

#include "parser_cases.h"

namespace tarnwell {
namespace {

using namespace parser_cases;

class PhpMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(PhpMarkupTest, GivesTheMarkupAndResult) {
    Tphpparser parser;
    expect_markup(parser, GetParam());
}

const markup_case php_cases[] = {
    // The else-branch's sequence and conditional start at the "if" inside "elseif".
    {"elseif_starts_four_characters_in", "if ($a) { f(); } elseif ($b) { g(); }", true, no_error,
     "<statement>1-2<if>1-7<statement>11-11<code/>11-14</statement>16-16<statement>22-23"
     "<if>22-28<statement>32-32<code/>32-35</statement>37-37</if>37-37</statement>37-37"
     "</if>37-37</statement>38-38"},
    {"else_if_as_two_words", "if ($a) f(); else if ($b) g();", true, no_error,
     "<statement>1-2<if>1-7<statement>9-9<code/>9-12</statement>12-12<statement>19-20"
     "<if>19-25<statement>27-27<code/>27-30</statement>30-30</if>30-30</statement>30-30"
     "</if>30-30</statement>31-31"},
    {"try_and_catch", "try { f(); } catch (Exception $e) { g(); }", true, no_error,
     "<statement>1-3<code/>7-10<except>14-33<statement>37-37<code/>37-40</statement>42-42"
     "</except>42-42</statement>43-43"},
    {"catch_needs_its_parameter", "catch { f(); }", false, "here should be parameter of function",
     "<statement>1-5<except>1-"},
    {"brace_inside_a_condition", "if ($a { f(); }", false, "here should be parameter of function",
     "<statement>1-2<if>1-"},
    // Braces that close inside the condition are part of it: a string offset, a closure.
    {"string_offset_in_a_condition", "if ($s{0} == \"+\") f();", true, no_error,
     "<statement>1-2<if>1-17<statement>19-19<code/>19-22</statement>22-22</if>22-22</statement>"
     "23-23"},
    {"closure_in_a_condition", "if (array_filter($a, function ($x) { return $x > 0; })) g();", true,
     no_error,
     "<statement>1-2<if>1-55<statement>57-57<code/>57-60</statement>60-60</if>60-60</statement>"
     "61-61"},
    {"missing_semicolon_at_end", "f()", false, "here should be \";\"", "<statement>1-1<code/>1-"},
    {"unterminated_string_in_a_call", "f(\"abc);", false, "here should be \";\"",
     "<statement>1-1<code/>1-"},
    // No statement keyword ends a plain statement: it runs to the next ";".
    {"statement_without_semicolon_runs_on", "$x = 1\r\nreturn $x;", true, no_error,
     "<statement>1-2<code/>1-18</statement>19-19"},
    {"comment_closed_at_end_of_text", "f(); /* done */", true, no_error,
     "<statement>1-1<code/>1-4</statement>16-16"},
    {"hash_comment", "# note\r\nf();", true, no_error,
     "<statement>1-6<code/>9-12</statement>13-13"},
    {"line_comment_ends_at_lf", "f(); // a\ng();", true, no_error,
     "<statement>1-1<code/>1-14</statement>15-15"},
    {"goto_and_label", "goto done; f(); done: g();", true, no_error,
     "<statement>1-4<goto/>1-10<code/>12-15<label/>17-21<code/>23-26</statement>27-27"},
    {"label_keyword_is_a_label_alone", "label: x();", true, no_error,
     "<statement>1-5<label/>1-5<code/>8-11</statement>12-12"},
    {"stray_question_marks_are_passed_over", "?? f();", true, no_error,
     "<statement>1-1<code/>4-7</statement>8-8"},
    {"selection", "switch ($k) { case 1: f(); break; default: g(); }", true, no_error,
     "<statement>1-6<switch>1-13<case/>15-21<statement>23-23<code/>23-26<break/>28-33"
     "</statement>35-41<else/>35-42<statement>44-44<code/>44-47</statement>49-49"
     "</switch>49-49</statement>50-50"},
    {"do_loop", "do { $n--; } while ($n > 0);", true, no_error,
     "<statement>1-2<dowhile>1-2<statement>6-7<code/>6-10</statement>12-12</dowhile>14-28"
     "</statement>29-29"},
    {"foreach_and_exit", "foreach ($a as $k => $v) exit;", true, no_error,
     "<statement>1-7<for>1-24<statement>26-29<exit/>26-30</statement>30-30</for>30-30"
     "</statement>31-31"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, PhpMarkupTest, testing::ValuesIn(php_cases),
                         case_name);

using namespace std::string_literals;

const markup_case php_any_bytes[] = {
    {"nul_bytes", "f(\0\0);\0g();"s, true, no_error, "<statement>1-1<code/>1-11</statement>12-12"},
    {"sentinel_character_inside", "f();\001g();", true, no_error,
     "<statement>1-1<code/>1-4</statement>5-5"},
    {"sentinel_character_inside_a_group", "f(a\001);", false, "here should be \";\"",
     "<statement>1-1<code/>1-"},
    {"lone_carriage_returns", "$a = 1;\r$b = 2;\r", true, no_error,
     "<statement>1-2<code/>1-15</statement>17-17"},
    {"invalid_utf8", "s = \xff\xfe\xc0;", true, no_error,
     "<statement>1-1<code/>1-8</statement>9-9"},
    {"only_a_sentinel_character", "\001", true, no_error, "<statement>1-1</statement>1-1"},
    {"comment_cut_short_in_a_group", "if (a /* b", false, "here should be parameter of function",
     "<statement>1-2<if>1-"},
};

INSTANTIATE_TEST_SUITE_P(AnyBytes, PhpMarkupTest, testing::ValuesIn(php_any_bytes), case_name);

TEST(PhpParserLimits, DeepNestingFailsCleanlyInsteadOfOverflowing) {
    Tphpparser parser;
    expect_too_deep(parser, repeated("if ($a) {\n", 100000));
    expect_too_deep(parser, "x = " + repeated("(", 100000) + "1;");
    expect_too_deep(parser, repeated("while ($a) ", 100000) + "f();");
}

TEST(PhpParserLimits, LongRunsParseInOnePass) {
    Tphpparser parser;
    expect_long_runs_in_one_pass(parser);
}

TEST(PhpParser, ErrorPointsAtTheGroupThatBrokeOff) {
    Tphpparser parser;
    // The group runs from "(" up to the "{" that ended it.
    const parser_result result = parser.parse("if ($abcdef { f(); }");
    EXPECT_EQ(result.error_pos, 13);
    EXPECT_EQ(result.error_len, 9);
}

TEST(PhpParser, ChartsAWholeFunctionBody) {
    Tphpparser parser;
    const parser_result result = parser.parse(fixture("shopping_cart.php"));
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(outline(result.markup),
              "<statement><code/><for><statement><if><statement><continue/></statement>"
              "<statement><if><statement><code/><continue/></statement><statement><code/>"
              "</statement></if></statement></if></statement></for><switch><case/><statement>"
              "<code/><break/></statement><case/><statement><code/><break/></statement><else/>"
              "<statement><break/></statement></switch><code/><except><statement><code/>"
              "</statement></except><whiledo><statement><code/></statement></whiledo><return/>"
              "</statement>");
}

}  // namespace
}  // namespace tarnwell
