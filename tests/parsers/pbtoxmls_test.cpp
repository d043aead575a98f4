#include "parsers/pbtoxmls.h"

#include <gtest/gtest.h>

#include "line_parser_checks.h"

namespace tarnwell {
namespace {

using test_support::markup_case;
using test_support::no_error;
using test_support::repeated;

class PbMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(PbMarkupTest, GivesTheMarkupAndResult) {
    Tpbsparser parser;
    test_support::expect_result(parser, GetParam());
}

const markup_case pb_cases[] = {
    {"one_line_if_with_else", "IF a THEN b = 1 ELSE b = 2\r\n", true, no_error,
     "<statement>1-2<if>1-9<statement>11-11<code/>11-17</statement>17-17<statement>22-22"
     "<code/>22-28</statement>27-28</if>27-28</statement>29-29"},
    {"choose_case", "CHOOSE CASE k\r\nCASE 1\r\nx = 1\r\nCASE ELSE\r\nx = 2\r\nEND CHOOSE\r\n",
     true, no_error,
     "<statement>1-11<switch>1-15<case/>16-23<statement>22-23<code/>24-30</statement>31-39"
     "<else/>31-39<statement>40-41<code/>42-48</statement>49-58</switch>49-58"
     "</statement>61-61"},
    {"embedded_sql_across_lines", "SELECT name INTO :n FROM emp\r\nWHERE id = 1;\r\n", true,
     no_error, "<statement>1-6<code/>1-43</statement>46-46"},
    {"do_loop_until", "DO\r\nx = x + 1\r\nLOOP UNTIL x > 9\r\n", true, no_error,
     "<statement>1-2<dountil>1-3<statement>3-4<code/>5-15</statement>16-25</dountil>16-33"
     "</statement>34-34"},
    {"do_closed_by_plain_loop", "DO\r\nx = x + 1\r\nLOOP\r\n", false, "here should be \"loop\"",
     "<statement>1-2<dowhile>1-3<statement>3-4<code/>5-15</statement>16-19"},
    {"halt_close", "HALT CLOSE\r\n", true, no_error, "<statement>1-10<exit/>1-10</statement>13-13"},
    {"continuation_inside_a_group", "f(a, &\r\nb)\r\n", true, no_error,
     "<statement>1-1<code/>1-12</statement>13-13"},
    // The comment is passed over in place: the IF after it keeps its true positions.
    {"comment_inside_a_group_keeps_positions",
     "f(a /* note */, b)\r\nIF x THEN\r\ny = 1\r\nEND IF\r\n", true, no_error,
     "<statement>1-1<code/>1-20<if>21-29<statement>30-31<code/>32-38</statement>39-44"
     "</if>39-44</statement>47-47"},
    {"comment_closed_at_end_of_text", "x = 1\r\n/* c */", true, no_error,
     "<statement>1-1<code/>1-7</statement>15-15"},
    {"try_catch_and_end_event",
     "TRY\r\na()\r\nCATCH (Exception e)\r\nb()\r\nEND TRY\r\nEND EVENT\r\n", true, no_error,
     "<statement>1-3<code/>6-10<except>11-31<statement>30-31<code/>32-36</statement>37-43"
     "</except>37-36<exit/>46-54</statement>57-57"},
    {"for_step_with_exit_and_continue",
     "FOR i = 1 TO 10 STEP 2\r\nIF i > 5 THEN EXIT\r\nIF i = 3 THEN CONTINUE\r\nNEXT\r\n", true,
     no_error,
     "<statement>1-3<for>1-24<statement>23-24<if>25-37<statement>39-42<break/>39-42"
     "</statement>43-44</if>43-44<if>45-57<statement>59-66<continue/>59-66</statement>67-68"
     "</if>67-68</statement>69-72</for>69-72</statement>75-75"},
    {"loops_tested_first", "DO WHILE a\r\nx++\r\nLOOP\r\nDO UNTIL b\r\ny--\r\nLOOP\r\n", true,
     no_error,
     "<statement>1-8<whiledo>1-12<statement>11-12<code/>13-17</statement>18-21"
     "</whiledo>18-21<untildo>24-35<statement>34-35<code/>36-40</statement>41-44"
     "</untildo>41-44</statement>47-47"},
    {"statement_keywords_and_scope_operator",
     "CALL super::create\r\nPOST f()\r\nDESTROY lnv\r\nCONSTANT int C = 1\r\n", true, no_error,
     "<statement>1-4<code/>1-63</statement>64-64"},
    {"label_goto_and_return", "retry:\r\nIF a THEN GOTO retry\r\nRETURN 1\r\n", true, no_error,
     "<statement>1-6<label/>1-6<if>9-17<statement>19-22<goto/>19-30</statement>29-30"
     "</if>29-30<return/>31-40</statement>41-41"},
    {"else_if_chain", "IF a THEN\r\nx\r\nELSEIF b THEN\r\ny\r\nELSE\r\nz\r\nEND IF\r\n", true,
     no_error,
     "<statement>1-2<if>1-9<statement>10-11<code/>12-14</statement>15-20<statement>19-21"
     "<if>19-27<statement>28-29<code/>30-32</statement>33-36<statement>37-38<code/>39-41"
     "</statement>42-47</if>42-47</statement>42-47</if>42-47</statement>50-50"},
    {"tilde_escapes_a_quote", "x = \"a~\"b\"; y = 1\r\n", true, no_error,
     "<statement>1-1<code/>1-19</statement>20-20"},
    {"array_word_and_brace_group", "a[i].b = {1, 2}\r\nc[1 = 2\r\n", true, no_error,
     "<statement>1-5<code/>1-17</statement>27-27"},
    {"sql_without_semicolon", "DELETE FROM emp\r\n", false, "here should be \";\"",
     "<statement>1-6<code/>1-"},
    {"line_comment_on_the_last_line", "x = 1 // done", false, "here should be enter",
     "<statement>1-1<code/>1-"},
    {"choose_without_case", "CHOOSE CASE k\r\nx = 1\r\nEND CHOOSE\r\n", false,
     "here should be \"case\"", "<statement>1-11<switch>1-15"},
    // The group cut short by the line end swallows THEN.
    {"unclosed_group_in_a_condition", "IF f(a THEN\r\n", false, "here should be \"then\"",
     "<statement>1-2<if>1-"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, PbMarkupTest, testing::ValuesIn(pb_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using pb = Tpbsparser;
constexpr std::uint8_t none = err_none;

const test_support::token_case pb_tokens[] = {
    {"+= 1", pb::tk_plus_assign, 1, 2, none},
    {"++", pb::tk_increment, 1, 2, none},
    {"+1", pb::tk_plus, 1, 1, none},
    {"-=", pb::tk_minus_assign, 1, 2, none},
    {"--", pb::tk_decrement, 1, 2, none},
    {"-1", pb::tk_dash, 1, 1, none},
    {"*=", pb::tk_star_assign, 1, 2, none},
    {"*", pb::tk_star, 1, 1, none},
    {"^=", pb::tk_caret_assign, 1, 2, none},
    {"^", pb::tk_caret, 1, 1, none},
    {"/=", pb::tk_slash_assign, 1, 2, none},
    {"/ 2", pb::tk_slash, 1, 1, none},
    {"/* c */x", tk_comment, 1, 7, none},
    {"/* c", tk_bad_comment, 1, 4, 14},
    {"// c\r\n", tk_comment, 1, 4, none},
    {"// c", tk_bad_comment, 1, 4, 10},
    {"12.5.3", pb::tk_real, 1, 4, none},
    {"12 ", pb::tk_integer, 1, 2, none},
    {">=", pb::tk_greater_equal, 1, 2, none},
    {"> ", pb::tk_greater, 1, 1, none},
    {"<=", pb::tk_less_equal, 1, 2, none},
    {"<>", pb::tk_not_equal, 1, 2, none},
    {"< ", pb::tk_less, 1, 1, none},
    {", ", pb::tk_comma, 1, 1, none},
    {". ", pb::tk_dot, 1, 1, none},
    {": ", tk_colon, 1, 1, none},
    {"= ", pb::tk_equal, 1, 1, none},
    {"; ", tk_semicolon, 1, 1, none},
    {"!", Tvbsparser::tk_bad_char, 1, 1, 32},
    {"&  \r\nx", tk_space, 1, 5, none},
    {"[a, &\r\nb]", pb::tk_brackets, 1, 9, none},
    {"[a\r\n]", pb::tk_bad_bracket, 1, 2, 18},
    {"{a /* } */}", pb::tk_braces, 1, 11, none},
    {"{a;}", pb::tk_bad_brace, 1, 2, 20},
    {"(a(b)c)", tk_parens, 1, 7, none},
    {"(a /* ) */ b)", tk_parens, 1, 13, none},
    {"(a\r\n)", tk_bad_group, 1, 2, 19},
    // A comment that breaks a group off is the token left.
    {"(a /* c", tk_bad_comment, 4, 4, 14},
    {"\"a~\"b\"", tk_string, 1, 6, none},
    {"'a\r\n'", Tvbsparser::tk_bad_string, 1, 2, 17},
    {"a[1].b", tk_word, 1, 5, none},
    {"a[1\r\n]", pb::tk_bad_bracket, 1, 3, 18},
    {"lbl: x", tk_label, 1, 4, none},
    {"a::b = 1", tk_word, 1, 4, none},
    {"CHOOSE CASE k", Tvbsparser::tk_choose_case, 1, 11, none},
    {"CHOOSE CASE ELSE", tk_select, 1, 6, none},
    {"END CHOOSE\r\n", tk_endcase, 1, 10, none},
    {"END CHOOSE CASE ELSE", tk_endcase, 1, 10, none},
    {"END CHOOSE CASE x", tk_end, 1, 3, none},
    {"END IF", tk_endif, 1, 6, none},
    {"END TRY", Tvbsparser::tk_end_try, 1, 7, none},
    {"END EVENT", tk_exit, 1, 9, none},
    {"END FUNCTION", tk_end, 1, 3, none},
    {"HALT\r\n", tk_exit, 1, 4, none},
    {"HALT /* now */ CLOSE", tk_exit, 1, 20, none},
    {"DO WHILE", Tvbsparser::tk_do_while, 1, 8, none},
    {"DO UNTIL", Tvbsparser::tk_do_until, 1, 8, none},
    {"LOOP WHILE", Tvbsparser::tk_loop_while, 1, 10, none},
    {"LOOP\r\n", tk_loop, 1, 4, none},
    {"CASE ELSE", tk_otherwise, 1, 9, none},
    {"CASE 1", tk_case, 1, 4, none},
};

TEST(PbParser, LexerReadsEachToken) {
    test_support::expect_tokens<Tpbsparser>(pb_tokens);
}

TEST(PbParser, ChartsAWholeScript) {
    Tpbsparser parser;
    test_support::expect_program(parser, "parsers/w_orders.pb",
                                 {{"<if>", 9},
                                  {"<for>", 1},
                                  {"<switch>", 1},
                                  {"<case/>", 2},
                                  {"<else/>", 1},
                                  {"<return/>", 7},
                                  {"<continue/>", 1},
                                  {"<break/>", 2},
                                  {"<dountil>", 1},
                                  {"<except>", 1},
                                  {"<goto/>", 1},
                                  {"<whiledo>", 1},
                                  {"<label/>", 1}});
}

TEST(PbParserLimits, DeepNestingFailsCleanly) {
    Tpbsparser parser;
    test_support::expect_nesting_fails_cleanly(parser, repeated("DO\r\n", 100000));
    test_support::expect_nesting_fails_cleanly(parser, "x = " + repeated("(", 100000) + "1\r\n");
    test_support::expect_nesting_fails_cleanly(parser, repeated("IF a THEN ", 100000) + "x\r\n");
}

TEST(PbParserLimits, AnyBytesAreInput) {
    Tpbsparser parser;
    test_support::expect_any_bytes_parse(parser);
}

TEST(PbParserLimits, TenMegabytesOnOneLine) {
    const std::string line = repeated("a[i] = b + c(d, e) ; ", 500000) + "\r\n";
    Tpbsparser parser;
    const parser_result result = parser.parse(line);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.markup, "<statement>1-4<code/>1-" + std::to_string(line.size() - 3) +
                                 "</statement>" + std::to_string(line.size() + 1) + "-" +
                                 std::to_string(line.size() + 1) + "\001");
}

}  // namespace
}  // namespace tarnwell
