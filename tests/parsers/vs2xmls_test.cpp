#include "parsers/vs2xmls.h"

#include <gtest/gtest.h>

#include "line_parser_checks.h"
#include "markup_reach.h"

namespace tarnwell {
namespace {

using test_support::markup_case;
using test_support::no_error;
using test_support::repeated;

class VsMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(VsMarkupTest, GivesTheMarkupAndResult) {
    Tvsparser parser;
    test_support::expect_result(parser, GetParam());
}

const markup_case vs_cases[] = {
    // The protected block and the finally block stay in the outer sequence; the handler's
    // closing range ends one before it starts.
    {"try_catch_finally",
     "Try\r\na()\r\nCatch ex As Exception\r\nb()\r\nFinally\r\nc()\r\nEnd Try\r\n", true, no_error,
     "<statement>1-3<code/>6-10<except>11-33<statement>32-33<code/>34-38</statement>39-45"
     "</except>39-38<code/>48-52</statement>62-62"},
    {"nested_try_exit_try_and_return",
     "Try\r\nTry\r\na()\r\nCatch\r\nb()\r\nEnd Try\r\nCatch e As Exception\r\nExit Try\r\n"
     "End Try\r\nReturn x\r\n",
     true, no_error,
     "<statement>1-3<code/>11-15<except>16-22<statement>21-22<code/>23-27</statement>28-34"
     "</except>28-27<except>37-58<statement>57-58<goto/>59-68</statement>69-75</except>69-68"
     "<return/>78-87</statement>88-88"},
    {"catch_outside_try_ends_the_text", "x = 1\r\nCatch\r\ny = 2\r\n", false,
     "here should be end of code", "<statement>1-1<code/>1-7</statement>8-12"},
    {"handler_running_to_the_end", "Try\r\na()\r\nCatch\r\nb()\r\n", true, no_error,
     "<statement>1-3<code/>6-10<except>11-17<statement>16-17<code/>18-22</statement>23-23"
     "</except>23-22</statement>23-23"},
    {"end_while_and_exit_over_the_token",
     "While x > 0\r\nx -= 1\r\nIf x = 5 Then Exit While\r\nEnd While\r\n", true, no_error,
     "<statement>1-5<whiledo>1-13<statement>12-13<code/>14-21<if>22-34<statement>36-45"
     "<exit/>36-45</statement>46-47</if>46-47</statement>48-56</whiledo>48-56"
     "</statement>59-59"},
    {"generic_types_are_one_word", "Dim m As Dictionary<String,Int>\r\nExit Sub\r\n", true,
     no_error, "<statement>1-3<code/>1-33<exit/>34-41</statement>44-44"},
    // WEND is no keyword here: the loop runs to the end of the text.
    {"wend_is_a_plain_word", "While x\r\ny\r\nWend\r\n", false, "",
     "<statement>1-5<whiledo>1-9<statement>8-9<code/>10-18</statement>19-19"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, VsMarkupTest, testing::ValuesIn(vs_cases),
                         [](const auto& info) { return std::string(info.param.name); });

class VsWholeTextTest : public testing::TestWithParam<const char*> {};

TEST_P(VsWholeTextTest, ChartsToTheEnd) {
    Tvsparser parser;
    parser_cases::expect_charts_to_the_end(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    CodeAsWritten, VsWholeTextTest,
    testing::Values("_count = 0\r\nIf _stop Then\r\n  _count += 1\r\nEnd If\r\nReturn _count\r\n",
                    "Dim _c As Integer = 0\nDo\n  _c += 1\n  If _c >= 5 Then Exit Do\nLoop\n"
                    "Return _c\n",
                    "total = Sum(a, _\n            b) ' joined\nIf total > _limit Then _\n"
                    "  Return 0\n_c = 0\n",
                    "x = f(a, _ ' carried over\n      b)\n_y = x\n"));

constexpr std::uint8_t none = err_none;

const test_support::token_case vs_tokens[] = {
    {"End While", tk_wend, 1, 9, none},
    {"End Try", Tvbsparser::tk_end_try, 1, 7, none},
    {"Exit Try", tk_goto, 1, 8, none},
    {"End Sub", tk_exit, 1, 7, none},
    {"Exit While", tk_exit, 1, 10, none},
    {"List<Of>", tk_word, 1, 8, none},
    {"Catch", tk_handler, 1, 5, none},
    {"Finally", tk_finally, 1, 7, none},
    {"Return", tk_return, 1, 6, none},
    // "_" continues a line only before blanks, a comment or the line break.
    {"_count = 0", tk_word, 1, 6, none},
    {"_stop:", tk_label, 1, 6, none},
    {"_ \r\nx", tk_space, 1, 4, none},
    {"_ ' why\r\nx", tk_space, 1, 9, none},
    {"_", tk_space, 1, 1, none},
};

TEST(VsParser, LexerReadsEachToken) {
    test_support::expect_tokens<Tvsparser>(vs_tokens);
}

TEST(VsParser, ChartsAWholeFunction) {
    Tvsparser parser;
    test_support::expect_program(parser, "parsers/ledger.vb",
                                 {{"<if>", 5},
                                  {"<for>", 1},
                                  {"<switch>", 1},
                                  {"<case/>", 3},
                                  {"<else/>", 1},
                                  {"<except>", 3},
                                  {"<goto/>", 1},
                                  {"<return/>", 3},
                                  {"<whiledo>", 1},
                                  {"<dountil>", 1},
                                  {"<break/>", 1},
                                  {"<exit/>", 1}});
}

TEST(VsParserLimits, DeepNestingFailsCleanly) {
    Tvsparser parser;
    test_support::expect_nesting_fails_cleanly(parser,
                                               repeated("Try\r\nCatch\r\n", 100000) + "x\r\n");
}

TEST(VsParserLimits, AnyBytesAreInput) {
    Tvsparser parser;
    test_support::expect_any_bytes_parse(parser);
}

}  // namespace
}  // namespace tarnwell
