#include "parsers/foxpro2xmls.h"

#include <gtest/gtest.h>

#include "line_parser_checks.h"
#include "markup_reach.h"

namespace tarnwell {
namespace {

using test_support::markup_case;
using test_support::no_error;
using test_support::repeated;

class FoxproMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(FoxproMarkupTest, GivesTheMarkupAndResult) {
    Tfoxproparser parser;
    test_support::expect_result(parser, GetParam());
}

const markup_case foxpro_cases[] = {
    {"if_else_endif", "IF x > 1\r\ny = 2\r\nELSE\r\ny = 3\r\nENDIF\r\n", true, no_error,
     "<statement>1-2<if>1-10<statement>9-10<code/>11-17</statement>18-21<statement>22-23"
     "<code/>24-30</statement>31-35</if>36-37</statement>38-38"},
    {"do_while_enddo", "DO WHILE .T.\r\nn = n + 1\r\nENDDO\r\n", true, no_error,
     "<statement>1-8<whiledo>1-14<statement>13-14<code/>15-25</statement>26-30"
     "</whiledo>26-30</statement>33-33"},
    {"do_of_a_procedure_is_code", "DO myproc\r\n", true, no_error,
     "<statement>1-3<code/>1-11</statement>12-12"},
    {"do_case", "DO CASE\r\nCASE a\r\nx = 1\r\nOTHERWISE\r\nx = 2\r\nENDCASE\r\n", true, no_error,
     "<statement>1-7<switch>1-9<case/>10-17<statement>16-17<code/>18-24</statement>25-33"
     "<else/>25-33<statement>34-35<code/>36-42</statement>43-49</switch>43-49"
     "</statement>52-52"},
    {"star_after_an_operand_is_a_comment_to_the_line_end", "x = a * b\r\n", true, no_error,
     "<statement>1-1<code/>1-11</statement>12-12"},
    {"scan_with_exit_loop_and_return",
     "SCAN FOR a > 1\r\nIF b\r\nEXIT\r\nENDIF\r\nLOOP\r\nENDSCAN\r\nRETURN x\r\n", true, no_error,
     "<statement>1-4<for>1-16<statement>15-16<if>17-22<statement>21-22<break/>23-26"
     "</statement>29-33</if>34-35<continue/>36-39</statement>42-48</for>42-50"
     "<return/>51-60</statement>61-61"},
    {"else_on_the_line_of_its_statement", "IF a\r\nx = 1\r\nELSE y = 2\r\nENDIF\r\n", true,
     no_error,
     "<statement>1-2<if>1-6<statement>5-6<code/>7-13</statement>14-17<statement>19-19"
     "<code/>19-25</statement>26-30</if>31-32</statement>33-33"},
    // The ";" at the end of the comment line carries the comment over the IF line.
    {"comment_continued_over_a_line", "* note ;\r\nIF x\r\ny = 1\r\n", true, no_error,
     "<statement>1-14<code/>17-23</statement>24-24"},
    {"continued_statement_and_print", "z = f(a, ;\r\n b)\r\n? \"it\"\"s\" && says\r\n", true,
     no_error, "<statement>1-1<code/>1-36</statement>37-37"},
    {"endfunc_ends_the_text", "x = 1\r\nENDFUNC\r\ny = 2\r\n", false, "here should be end of code",
     "<statement>1-1<code/>1-7</statement>8-14"},
    {"if_without_endif", "IF a\r\nx = 1\r\n", false, "here should be \"end if\"",
     "<statement>1-2<if>1-6<statement>5-6<code/>7-13</statement>14-14"},
    {"for_without_endfor", "FOR i = 1 TO 3\r\nx = i\r\n", false, "here should be \"next\"",
     "<statement>1-3<for>1-16<statement>15-16<code/>17-23</statement>24-24"},
    {"do_case_without_case", "DO CASE\r\nx = 1\r\nENDCASE\r\n", false, "here should be \"case\"",
     "<statement>1-7<switch>1-9"},
    {"do_case_without_endcase", "DO CASE\r\nCASE a\r\nx = 1\r\n", false,
     "here should be \"end choose\"",
     "<statement>1-7<switch>1-9<case/>10-17<statement>16-17<code/>18-24</statement>25-25"},
    {"otherwise_not_alone_on_its_line", "DO CASE\r\nCASE a\r\nx = 1\r\nOTHERWISE x\r\nENDCASE\r\n",
     false, "here should be enter",
     "<statement>1-7<switch>1-9<case/>10-17<statement>16-17<code/>18-24</statement>25-33"
     "<else/>25-33"},
    {"do_while_without_enddo_has_no_message", "DO WHILE a\r\nx = 1\r\n", false, "",
     "<statement>1-8<whiledo>1-12<statement>11-12<code/>13-19</statement>20-20"},
    {"for_closed_by_next_with_a_scope_inside",
     "FOR i = 1 TO 3\r\nREPLACE a WITH b NEXT 5\r\nNEXT\r\n", true, no_error,
     "<statement>1-3<for>1-16<statement>15-16<code/>17-41</statement>42-45</for>42-47"
     "</statement>48-48"},
    {"next_on_a_continued_line_is_a_scope", "FOR i = 1 TO 3\r\nx = a ;\r\n NEXT\r\nENDFOR\r\n",
     true, no_error,
     "<statement>1-3<for>1-16<statement>15-16<code/>17-32</statement>33-38</for>33-40"
     "</statement>41-41"},
    {"text_not_at_a_statement_start_opens_no_block", "x = 1\r\ny = x text\r\nendtext\r\n", true,
     no_error, "<statement>1-1<code/>1-28</statement>29-29"},
    {"missing_final_line_end", "x = 1", false, "here should be enter", "<statement>1-1<code/>1-"},
    {"nul_and_sentinel_character", std::string("x = 1\0\r\n\001IF\r\n", 12), true, no_error,
     "<statement>1-1<code/>1-8</statement>9-9"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, FoxproMarkupTest, testing::ValuesIn(foxpro_cases),
                         [](const auto& info) { return std::string(info.param.name); });

class FoxproWholeTextTest : public testing::TestWithParam<const char*> {};

TEST_P(FoxproWholeTextTest, ChartsToTheEnd) {
    Tfoxproparser parser;
    parser_cases::expect_charts_to_the_end(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    CodeAsWritten, FoxproWholeTextTest,
    testing::Values("FOR i = 1 TO 10\r\n  x = x + i\r\nNEXT\r\n? x\r\n",
                    "FOR i = 1 TO 3\n  FOR j = 1 TO 3\n    REPLACE a WITH i * j NEXT 1\n  next j\n"
                    "ENDFOR\nRETURN x\n",
                    "TEXT TO lcHtml NOSHOW TEXTMERGE\n  <p>IF <<x>></p>\n  DO CASE\nENDTEXT\n"
                    "RETURN lcHtml\n",
                    "IF lShow\n  TEXT\n    ENDIF is only text here\n  ENDTEXT\nENDIF\n"
                    "text = 1\n"));

using vb = Tvbsparser;
constexpr std::uint8_t none = err_none;

const test_support::token_case foxpro_tokens[] = {
    {"DO WHILE .T.", vb::tk_do_while, 1, 8, none},
    {"DO  CASE", tk_select, 1, 8, none},
    {"DO  myproc", tk_word, 1, 4, none},
    {"DO && run it\r\n", tk_word, 1, 12, none},
    {"* a ;\r\nb\r\n", tk_comment, 1, 8, none},
    {"* a ; b\r\n", tk_comment, 1, 7, none},
    {"&& a\r\n", tk_comment, 1, 4, none},
    {"#define X\r\n", tk_comment, 1, 9, none},
    {"& x", vb::tk_bad_char, 1, 1, none},
    {"! x", vb::tk_bad_char, 1, 1, 32},
    {"? x", tk_word, 1, 1, none},
    {"= x", tk_word, 1, 1, none},
    {"; more\r\nx", tk_space, 1, 8, none},
    {"'a''b'", tk_string, 1, 6, none},
    {"\"ab\r\n", vb::tk_bad_string, 1, 3, 17},
    {"m.x:y", tk_word, 1, 5, none},
    {"_screen", tk_word, 1, 7, none},
    {"ENDSCAN", tk_next, 1, 7, none},
    {"ENDFUNC", tk_function, 1, 7, none},
    {"RETU", tk_return, 1, 4, none},
    // NEXT closes a FOR only where a statement starts; elsewhere it is a scope clause.
    {"NEXT", tk_next, 1, 4, none},
    // TEXT ... ENDTEXT is one word over its lines; TEXT as a name is a word of its own.
    {"TEXT\r\nIF a\r\n  endtext\r\nx", tk_word, 1, 21, none},
    {"text to c noshow\nFOR\nENDTEXT", tk_word, 1, 28, none},
    {"TEXT\r\nENDTEXTS\r\n", tk_word, 1, 4, none},
    {"text = 1", tk_word, 1, 4, none},
};

TEST(FoxproParser, LexerReadsEachToken) {
    test_support::expect_tokens<Tfoxproparser>(foxpro_tokens);
}

TEST(FoxproParser, ChartsAWholeProgram) {
    Tfoxproparser parser;
    test_support::expect_program(parser, "parsers/invoices.prg",
                                 {{"<if>", 8},
                                  {"<for>", 2},
                                  {"<switch>", 1},
                                  {"<case/>", 3},
                                  {"<else/>", 1},
                                  {"<whiledo>", 1},
                                  {"<return/>", 2},
                                  {"<continue/>", 1},
                                  {"<break/>", 3}});
}

TEST(FoxproParserLimits, DeepNestingFailsCleanly) {
    Tfoxproparser parser;
    test_support::expect_nesting_fails_cleanly(parser, repeated("DO WHILE a\r\n", 100000));
    test_support::expect_nesting_fails_cleanly(parser, repeated("DO CASE\r\nCASE a\r\n", 100000));
}

TEST(FoxproParserLimits, LongChainsParseInOnePass) {
    Tfoxproparser parser;
    const parser_result chain = parser.parse(repeated("DO ", 200000) + "\r\n");
    EXPECT_TRUE(chain.ok);
    EXPECT_EQ(chain.markup, "<statement>1-3<code/>1-600002</statement>600003-600003\001");
}

TEST(FoxproParserLimits, AnyBytesAreInput) {
    Tfoxproparser parser;
    test_support::expect_any_bytes_parse(parser);
}

TEST(FoxproParserLimits, TenMegabytesOnOneLine) {
    const std::string line = repeated("a = b + c(d) ", 800000) + "\r\n";
    Tfoxproparser parser;
    const parser_result result = parser.parse(line);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.markup, "<statement>1-1<code/>1-" + std::to_string(line.size()) +
                                 "</statement>" + std::to_string(line.size() + 1) + "-" +
                                 std::to_string(line.size() + 1) + "\001");
}

}  // namespace
}  // namespace tarnwell
