#include "parsers/vb2xmls.h"

#include <gtest/gtest.h>

#include "line_parser_checks.h"

namespace tarnwell {
namespace {

using test_support::markup_case;
using test_support::no_error;
using test_support::repeated;

class VbMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(VbMarkupTest, GivesTheMarkupAndResult) {
    Tvbsparser parser;
    test_support::expect_result(parser, GetParam());
}

const markup_case vb_cases[] = {
    {"else_if_chain", "If a Then\r\nx = 1\r\nElseIf b Then\r\ny = 2\r\nElse\r\nz = 3\r\nEnd If\r\n",
     true, no_error,
     "<statement>1-2<if>1-9<statement>10-11<code/>12-18</statement>19-24<statement>23-25"
     "<if>23-31<statement>32-33<code/>34-40</statement>41-44<statement>45-46<code/>47-53"
     "</statement>54-59</if>54-59</statement>54-59</if>54-59</statement>62-62"},
    {"one_line_if_with_else", "If a Then b = 1 Else b = 2\r\n", true, no_error,
     "<statement>1-2<if>1-9<statement>11-11<code/>11-17</statement>17-17<statement>22-22"
     "<code/>22-28</statement>27-28</if>27-28</statement>29-29"},
    {"do_loop_until", "Do\r\nx = x + 1\r\nLoop Until x > 9\r\n", true, no_error,
     "<statement>1-2<dountil>1-3<statement>3-4<code/>5-15</statement>16-25</dountil>16-33"
     "</statement>34-34"},
    {"do_loop_plain_and_while", "Do\r\nx\r\nLoop\r\nDo\r\ny\r\nLoop While y\r\n", true, no_error,
     "<statement>1-2<dowhile>1-3<statement>3-4<code/>5-7</statement>8-11</dowhile>8-13"
     "<dowhile>14-16<statement>16-17<code/>18-20</statement>21-30</dowhile>21-34"
     "</statement>35-35"},
    // A DO loop that fails keeps what was written before it, the loop left open.
    {"do_closed_by_wend_keeps_the_markup_before_it", "x = 1\r\nDo\r\ny = 2\r\nWend\r\n", false,
     "here should be \"loop\"",
     "<statement>1-1<code/>1-7<dowhile>8-10<statement>10-11<code/>12-18</statement>19-22"},
    {"exits", "Exit Do\r\nExit Sub\r\nEnd Sub\r\nEnd\r\n", true, no_error,
     "<statement>1-7<break/>1-7<exit/>10-19<exit/>20-28<exit/>29-33</statement>34-34"},
    {"while_closed_by_loop_has_no_message", "While x\r\nx = x - 1\r\nLoop\r\n", false, "",
     "<statement>1-5<whiledo>1-9<statement>8-9<code/>10-20</statement>21-24"},
    {"missing_final_line_end", "x = 1", false, "here should be enter", "<statement>1-1<code/>1-"},
    {"if_without_then", "If a\r\nx = 1\r\n", false, "here should be \"then\"",
     "<statement>1-2<if>1-"},
    {"block_if_without_end_if", "If a Then\r\nx = 1\r\n", false, "here should be \"end if\"",
     "<statement>1-2<if>1-9<statement>10-11<code/>12-18</statement>19-19"},
    {"else_if_then_without_line_end", "If a Then\r\nx = 1\r\nElseIf b Then y = 2\r\nEnd If\r\n",
     false, "here should be enter",
     "<statement>1-2<if>1-9<statement>10-11<code/>12-18</statement>19-24<statement>23-25"
     "<if>23-31"},
    {"else_on_the_line_of_its_statements", "If a Then\r\nx\r\nElse y\r\nz\r\nEnd If\r\n", true,
     no_error,
     "<statement>1-2<if>1-9<statement>10-11<code/>12-14</statement>15-18<statement>20-20"
     "<code/>20-25</statement>26-31</if>26-31</statement>34-34"},
    {"for_with_one_line_exit", "For i = 1 To 10\r\nIf a(i) Then Exit For\r\nNext i\r\n", true,
     no_error,
     "<statement>1-3<for>1-17<statement>16-17<if>18-29<statement>31-38<break/>31-38"
     "</statement>39-40</if>39-40</statement>41-44</for>41-48</statement>49-49"},
    {"for_without_next", "For i = 1 To 10\r\nx = i\r\n", false, "here should be \"next\"",
     "<statement>1-3<for>1-17<statement>16-17<code/>18-24</statement>25-25"},
    {"select_case", "Select Case k\r\nCase 1\r\nx = 1\r\nCase Else\r\nx = 2\r\nEnd Select\r\n",
     true, no_error,
     "<statement>1-6<switch>1-15<case/>16-23<statement>22-23<code/>24-30</statement>31-39"
     "<else/>31-39<statement>40-41<code/>42-48</statement>49-58</switch>49-58"
     "</statement>61-61"},
    {"select_without_case", "Select Case k\r\nx = 1\r\nEnd Select\r\n", false,
     "here should be \"case\"", "<statement>1-6<switch>1-15"},
    {"select_without_end", "Select Case k\r\nCase 1\r\nx = 1\r\n", false,
     "here should be \"end choose\"",
     "<statement>1-6<switch>1-15<case/>16-23<statement>22-23<code/>24-30</statement>31-31"},
    {"loops_tested_first",
     "Do While a\r\nx\r\nLoop\r\nDo Until b\r\ny\r\nLoop\r\nWhile c\r\nz\r\nWend\r\n", true,
     no_error,
     "<statement>1-8<whiledo>1-12<statement>11-12<code/>13-15</statement>16-19"
     "</whiledo>16-19<untildo>22-33<statement>32-33<code/>34-36</statement>37-40"
     "</untildo>37-40<whiledo>43-51<statement>50-51<code/>52-54</statement>55-58"
     "</whiledo>55-58</statement>61-61"},
    {"do_while_closed_by_wend", "Do While a\r\nx\r\nWend\r\n", false, "here should be \"loop\"",
     "<statement>1-8<whiledo>1-12<statement>11-12<code/>13-15</statement>16-19"},
    {"do_not_on_its_own_line", "Do x\r\n", false, "here should be enter", "<statement>1-2"},
    {"label_and_goto", "x = 1\r\nRetry:\r\nGoTo Retry\r\n", true, no_error,
     "<statement>1-1<code/>1-7<label/>8-13<goto/>16-27</statement>28-28"},
    {"leading_label_is_passed_over", "Retry:\r\nx = 1\r\nGoTo Retry\r\n", true, no_error,
     "<statement>1-6<code/>9-15<goto/>16-27</statement>28-28"},
    {"stray_closer_ends_the_text", "x = 1\r\nNext\r\ny = 2\r\n", false,
     "here should be end of code", "<statement>1-1<code/>1-7</statement>8-11"},
    {"one_line_if_ends_at_separator", "If a Then x = 1: y = 2\r\n", true, no_error,
     "<statement>1-2<if>1-9<statement>11-11<code/>11-16</statement>16-16</if>16-16"
     "<code/>18-24</statement>25-25"},
    // The ELSE belongs to the first IF whose look-ahead finds it.
    {"nested_one_line_ifs", "If a Then If b Then x Else y\r\n", true, no_error,
     "<statement>1-2<if>1-9<statement>11-12<if>11-19<statement>21-21<code/>21-23"
     "</statement>23-23</if>23-23</statement>23-23<statement>28-28<code/>28-30"
     "</statement>29-30</if>29-30</statement>31-31"},
    {"then_part_not_ending_at_else", "If a Then Next Else x\r\n", false, "Error In Statement",
     "<statement>1-2<if>1-9<statement>11-14</statement>11-14"},
    {"one_line_if_at_end_of_text", "If a Then x", false, "Unexpected End Of File",
     "<statement>1-2<if>1-9"},
    {"continuations_rem_and_quit", "x = 1 + _\r\n  2 REM sum _\r\n  more\r\nWScript.Quit\r\n", true,
     no_error, "<statement>1-1<code/>1-34<exit/>35-48</statement>49-49"},
    {"comment_carried_over_line_end", "x = 1 ' note _ \r\n  still note\r\ny = 2\r\n", true,
     no_error, "<statement>1-1<code/>1-38</statement>39-39"},
    // An LF ends a directive as a CR does, so "#End If" does not become END IF.
    {"directives_with_lf_line_ends", "#If DEBUG Then\nx = 1\n#End If\ny = 2\n", true, no_error,
     "<statement>1-14<code/>16-35</statement>36-36"},
    {"doubled_quotes_and_open_string", "x = \"a\"\":b\"\r\ny = \"open\r\n", true, no_error,
     "<statement>1-1<code/>1-24</statement>25-25"},
    // Keywords that take in the next token chain: the first END reaches to "x".
    {"end_chain_is_one_word", "End End End x\r\n", true, no_error,
     "<statement>1-13<code/>1-15</statement>16-16"},
    {"exit_before_do_while", "Exit Do While\r\n", true, no_error,
     "<statement>1-13<exit/>1-15</statement>16-16"},
    {"stop_does_not_combine", "Stop x\r\n", true, no_error,
     "<statement>1-4<exit/>1-8</statement>9-9"},
    {"empty_text", "", true, no_error, "<statement>1-1</statement>1-1"},
    {"nul_and_sentinel_character", std::string("x = 1\0y\r\n\001If\r\n", 13), true, no_error,
     "<statement>1-1<code/>1-9</statement>10-10"},
    {"lone_carriage_returns", "If a Then\rx = 1\rEnd If\r", true, no_error,
     "<statement>1-2<if>1-9<statement>10-10<code/>11-16</statement>17-22</if>17-22"
     "</statement>24-24"},
    {"invalid_utf8", "x = \xff\xfe\xc0\r\n", true, no_error,
     "<statement>1-1<code/>1-9</statement>10-10"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, VbMarkupTest, testing::ValuesIn(vb_cases),
                         [](const auto& info) { return std::string(info.param.name); });

using vb = Tvbsparser;
constexpr std::uint8_t none = err_none;

const test_support::token_case vb_tokens[] = {
    {"End Sub", tk_exit, 1, 7, none},
    {"End Function", tk_exit, 1, 12, none},
    {"End\r\n", tk_exit, 1, 3, none},
    {"End : x", tk_exit, 1, 3, none},
    {"End: x", tk_label, 1, 4, none},
    {"End", tk_exit, 1, 3, err_unexpected_eof},
    {"End If", tk_endif, 1, 6, none},
    {"End _\r\n  Select", tk_endcase, 1, 15, none},
    {"End x", tk_word, 1, 5, none},
    {"End End x:", tk_word, 1, 10, none},
    {"End While", tk_word, 1, 9, none},
    {"Exit For", tk_break, 1, 8, none},
    {"Exit Do\r\n", tk_break, 1, 7, none},
    {"Exit Do Until", tk_exit, 1, 13, none},
    {"Exit Sub", tk_exit, 1, 8, none},
    {"Exit\r\n", tk_exit, 1, 4, none},
    {"Stop Do", tk_exit, 1, 4, none},
    {"Case Else", tk_otherwise, 1, 9, none},
    // The look-ahead reads the "1", which this lexer calls a syntax error.
    {"Case 1", tk_case, 1, 4, 32},
    {"Do While", vb::tk_do_while, 1, 8, none},
    {"Do Until", vb::tk_do_until, 1, 8, none},
    {"Do\r\n", tk_do, 1, 2, none},
    {"Loop While", vb::tk_loop_while, 1, 10, none},
    {"Loop Until", vb::tk_loop_until, 1, 10, none},
    {"Loop\r\n", tk_loop, 1, 4, none},
    {"Rem a _\r\nb\r\n", tk_comment, 1, 10, none},
    {"' a _ \t\nb\r\n", tk_comment, 1, 9, none},
    {"' a _ b\r\n", tk_comment, 1, 7, none},
    {"WScript.Quit", tk_quit, 1, 12, none},
    {"again: x", tk_label, 1, 6, none},
    {"a::b", tk_word, 1, 4, none},
    {"[my var]", tk_word, 1, 3, none},
    {"x$ = 1", tk_word, 1, 2, none},
    {"_ x\r\ny", tk_space, 1, 5, none},
    {"_", tk_space, 1, 1, none},
    {"#1/1/2000# x", tk_directive, 1, 10, none},
    {"#If x\ny", tk_directive, 1, 5, none},
    {":", tk_semicolon, 1, 1, none},
    {"\r\n\r\n", tk_newline, 1, 2, none},
    {"\n\r", tk_newline, 1, 2, none},
    {"\r x", tk_newline, 1, 1, none},
    {"\"a\"\"b\"", tk_string, 1, 6, none},
    {"\"ab\r\n\"", vb::tk_bad_string, 1, 3, 17},
    {"1", vb::tk_bad_char, 1, 1, 32},
    {"(", vb::tk_bad_char, 1, 1, 32},
    {"\001", tk_eof, 1, 1, err_unexpected_eof},
};

TEST(VbParser, LexerReadsEachToken) {
    test_support::expect_tokens<Tvbsparser>(vb_tokens);
}

TEST(VbParser, NothingCarriesOverBetweenParses) {
    // A one-line IF turns its ELSE into a separator while it parses and remembers where its
    // look-ahead stopped; neither may leak into the next parse, where the same positions hold
    // other text.
    const std::string first = "If a Then x = 1 + 2 + 3: y\r\n";
    const std::string second = "If a Then b Else c = 1 + 2\r\n";
    Tvbsparser fresh;
    const parser_result expected = fresh.parse(second);
    Tvbsparser parser;
    EXPECT_TRUE(parser.parse(first).ok);
    EXPECT_EQ(parser.parse(second).markup, expected.markup);
    EXPECT_NE(expected.markup.find("<statement>18-18"), std::string::npos) << expected.markup;
}

TEST(VbParser, ChartsWholePrograms) {
    Tvbsparser parser;
    test_support::expect_program(parser, "parsers/order_report.vbs",
                                 {{"<if>", 8},
                                  {"<for>", 1},
                                  {"<untildo>", 1},
                                  {"<switch>", 1},
                                  {"<case/>", 2},
                                  {"<else/>", 1},
                                  {"<dowhile>", 1},
                                  {"<whiledo>", 1},
                                  {"<exit/>", 3},
                                  {"<break/>", 1}});
    test_support::expect_program(parser, "parsers/inventory.cls",
                                 {{"<if>", 5},
                                  {"<switch>", 1},
                                  {"<case/>", 2},
                                  {"<else/>", 1},
                                  {"<for>", 1},
                                  {"<whiledo>", 1},
                                  {"<exit/>", 4},
                                  {"<break/>", 1},
                                  {"<label/>", 1},
                                  {"<goto/>", 1}});
}

TEST(VbParserLimits, DeepNestingFailsCleanly) {
    Tvbsparser parser;
    test_support::expect_nesting_fails_cleanly(parser, repeated("If a Then\r\n", 100000));
    test_support::expect_nesting_fails_cleanly(parser, repeated("Do\r\n", 100000));
    test_support::expect_nesting_fails_cleanly(parser, repeated("If a Then ", 100000) + "x\r\n");
    const parser_result fine =
        parser.parse(repeated("For i = 1 To 2\r\n", 300) + "x\r\n" + repeated("Next\r\n", 300));
    EXPECT_TRUE(fine.ok) << fine.message;
}

TEST(VbParserLimits, LongChainsParseInOnePass) {
    Tvbsparser parser;
    const std::string ends = repeated("End ", 200000) + "x\r\n";
    const parser_result chain = parser.parse(ends);
    EXPECT_TRUE(chain.ok);
    EXPECT_EQ(chain.markup, "<statement>1-800001<code/>1-800003</statement>800004-800004\001");
    const std::string else_ifs =
        "If a Then\r\n" + repeated("ElseIf b Then\r\n", 50000) + "End If\r\n";
    EXPECT_TRUE(parser.parse(else_ifs).ok);
}

TEST(VbParserLimits, AnyBytesAreInput) {
    Tvbsparser parser;
    test_support::expect_any_bytes_parse(parser);
}

TEST(VbParserLimits, TenMegabytesOnOneLine) {
    const std::string line = repeated("a = b + c(d) : ", 700000) + "\r\n";
    Tvbsparser parser;
    const parser_result result = parser.parse(line);
    EXPECT_TRUE(result.ok);
    // The run ends at the last ":" (the blank and line end after it belong to no statement).
    EXPECT_EQ(result.markup, "<statement>1-1<code/>1-" + std::to_string(line.size() - 3) +
                                 "</statement>" + std::to_string(line.size() + 1) + "-" +
                                 std::to_string(line.size() + 1) + "\001");
}

}  // namespace
}  // namespace tarnwell
