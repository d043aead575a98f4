#include "parsers/bas2xmls.h"

#include <gtest/gtest.h>

#include "line_parser_checks.h"

namespace tarnwell {
namespace {

using test_support::markup_case;
using test_support::no_error;
using test_support::repeated;

class BasMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(BasMarkupTest, GivesTheMarkupAndResult) {
    Tbasparser parser;
    test_support::expect_result(parser, GetParam());
}

const markup_case bas_cases[] = {
    // ":" is a line end: the loop body holds one code item.
    {"for_on_one_line", "For i = 1 To 3: Print i: Next\r\n", true, no_error,
     "<statement>1-3<for>1-15<statement>15-15<code/>17-24</statement>26-29</for>26-31"
     "</statement>32-32"},
    {"one_line_if_with_else", "If a Then b = 1 Else b = 2\r\n", true, no_error,
     "<statement>1-2<if>1-9<statement>11-11<code/>11-17</statement>17-17<statement>22-22"
     "<code/>22-28</statement>27-28</if>27-28</statement>29-29"},
    {"one_line_if_ends_at_colon", "If a Then x: y\r\n", true, no_error,
     "<statement>1-2<if>1-9<statement>11-11<code/>11-12</statement>12-12</if>12-12"
     "<code/>14-16</statement>17-17"},
    {"jumps_over_the_keyword", "Print #1, x: Return\r\nExit\r\n", true, no_error,
     "<statement>1-5<code/>1-12<return/>14-19<exit/>22-25</statement>28-28"},
    {"select_on_one_line", "Select Case k: Case 1: x = 1: End Select\r\n", true, no_error,
     "<statement>1-6<switch>1-14<case/>16-22<statement>22-22<code/>24-29</statement>31-40"
     "</switch>31-40</statement>43-43"},
    {"line_numbers", "10 If a Then Goto 30\r\n20 Print x\r\n30 End\r\n", true, no_error,
     "<statement>1-1<if>4-12<statement>14-17<goto/>14-22</statement>21-22</if>21-22"
     "<code/>26-34<exit/>38-40</statement>43-43"},
    {"while_wend_and_def", "While x\r\nDEF FNA(y) = y\r\nWend\r\n", true, no_error,
     "<statement>1-5<whiledo>1-9<statement>8-9<code/>14-25</statement>26-29</whiledo>26-29"
     "</statement>32-32"},
    {"missing_final_line_end", "Print x", false, "here should be enter", "<statement>1-5<code/>1-"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, BasMarkupTest, testing::ValuesIn(bas_cases),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr std::uint8_t none = err_none;

const test_support::token_case bas_tokens[] = {
    {": x", tk_newline, 1, 1, none},   {"#1, x", tk_word, 1, 2, none},
    {"a$ = 1", tk_word, 1, 2, none},   {"n& = 1", tk_word, 1, 2, none},
    {"x: y", tk_word, 1, 1, none},     {"a-b", tk_word, 1, 1, none},
    {"End: x", tk_exit, 1, 3, none},   {"End Def", tk_exit, 1, 7, none},
    {"Return", tk_return, 1, 6, none},
};

TEST(BasParser, LexerReadsEachToken) {
    test_support::expect_tokens<Tbasparser>(bas_tokens);
}

TEST(BasParser, ChartsAWholeProgram) {
    Tbasparser parser;
    test_support::expect_program(parser, "parsers/payroll.bas",
                                 {{"<whiledo>", 2},
                                  {"<if>", 3},
                                  {"<exit/>", 2},
                                  {"<for>", 2},
                                  {"<switch>", 1},
                                  {"<case/>", 2},
                                  {"<else/>", 1},
                                  {"<dountil>", 1},
                                  {"<goto/>", 1}});
}

TEST(BasParserLimits, DeepNestingFailsCleanly) {
    Tbasparser parser;
    test_support::expect_nesting_fails_cleanly(parser, repeated("While x: ", 100000));
}

TEST(BasParserLimits, AnyBytesAreInput) {
    Tbasparser parser;
    test_support::expect_any_bytes_parse(parser);
}

}  // namespace
}  // namespace tarnwell
