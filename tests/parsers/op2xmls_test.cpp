#include "parsers/op2xmls.h"

#include <gtest/gtest.h>

#include <string>

#include "markup_reach.h"
#include "parser_cases.h"

namespace tarnwell {
namespace {

using namespace parser_cases;

class PascalMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(PascalMarkupTest, GivesTheMarkupAndResult) {
    Topsparser parser;
    expect_markup(parser, GetParam());
}

const markup_case worked_examples[] = {
    {"if_then_else", "if a then x := 1 else y := 2;", true, no_error,
     "<statement>1-2<if>1-9<statement>11-11<code/>11-17</statement>18-21<statement>23-23"
     "<code/>23-28</statement>29-29</if>29-29</statement>30-30"},
    {"begin_end_only_change_the_depth", "begin\r\nx := 1;\r\nend;", true, no_error,
     "<statement>1-5<code/>8-13</statement>21-21"},
    {"case_with_else", "case k of 1: a; 2: b; else c; end;", true, no_error,
     "<statement>1-4<switch>1-9<case/>11-12<statement>14-14<code/>14-14</statement>15-15"
     "<case/>17-18<statement>20-20<code/>20-20</statement>21-21<else/>23-26<statement>28-28"
     "<code/>28-28</statement>31-33</switch>34-34</statement>35-35"},
    {"repeat_until", "repeat x := x + 1 until x > 9;", true, no_error,
     "<statement>1-6<dountil>1-6<statement>8-8<code/>8-18</statement>19-23</dountil>19-29"
     "</statement>31-31"},
    {"with_leaves_no_item", "with r do x := 1;", true, no_error,
     "<statement>1-9<code/>11-16</statement>18-18"},
    {"with_without_do", "with r", false, "here should be \"do\"", "<statement>1-4"},
    {"try_except", "try f; except g; end;", true, no_error,
     "<statement>1-3<code/>5-5<except>8-13<statement>15-15<code/>15-15</statement>18-20"
     "</except>21-21</statement>22-22"},
    {"numeric_label", "10: x;", true, no_error,
     "<statement>1-3<label/>1-3<code/>5-5</statement>7-7"},
    {"empty_text", "", true, no_error, "<statement>1-1</statement>1-1"},
    {"word_label_and_goto", "again: x; goto again;", true, no_error,
     "<statement>1-6<label/>1-6<code/>8-8<goto/>11-20</statement>22-22"},
    {"goto_numeric_label", "goto 10; 10: x;", true, no_error,
     "<statement>1-4<goto/>1-7<label/>10-12<code/>14-14</statement>16-16"},
    {"break_and_continue", "while a do begin break; continue end;", true, no_error,
     "<statement>1-5<whiledo>1-10<statement>18-22<break/>18-22<continue/>25-32</statement>34-36"
     "</whiledo>37-37</statement>38-38"},
    {"exit_with_its_value", "if a then Exit(False); x;", true, no_error,
     "<statement>1-2<if>1-9<statement>11-14<exit/>11-21</statement>22-22</if>22-22<code/>24-24"
     "</statement>26-26"},
    {"try_finally_stays_in_the_sequence", "try f; finally g; end;", true, no_error,
     "<statement>1-3<code/>5-16</statement>23-23"},
    {"handler_passes_over_on_do", "try f; except on E: Exception do g; end;", true, no_error,
     "<statement>1-3<code/>5-5<except>8-13<statement>15-16<code/>34-34</statement>37-39"
     "</except>40-40</statement>41-41"},
    {"nested_with_clauses", "with a do with b do x;", true, no_error,
     "<statement>1-9<code/>21-21</statement>23-23"},
    {"strings_and_comments_hide_keywords",
     "{ if } (* then *) // else\r\ns := 'a;end';\r\nt := #13#10 + $FF;", true, no_error,
     "<statement>1-6<code/>28-59</statement>61-61"},
    {"end_at_depth_zero_ends_the_parse", "x; end; y;", false, "here should be end of code",
     "<statement>1-1<code/>1-1</statement>4-6"},
    {"program_block_ends_with_end_dot", "begin x end.", true, no_error,
     "<statement>1-5<code/>7-8</statement>13-13"},
    {"until_ends_a_single_statement", "repeat if a then b until c;", true, no_error,
     "<statement>1-6<dountil>1-6<statement>8-9<if>8-16<statement>18-18<code/>18-19"
     "</statement>20-24</if>20-24</statement>20-24</dountil>20-26</statement>28-28"},
    {"finally_ends_a_structure", "try if a then b finally c end;", true, no_error,
     "<statement>1-3<if>5-13<statement>15-15<code/>15-16</statement>17-23</if>17-23"
     "<code/>25-26</statement>31-31"},
    {"try_except_as_a_branch", "if a then try f; g; except h; end else k;", true, no_error,
     "<statement>1-2<if>1-9<statement>15-15<code/>15-18<except>21-26<statement>28-28"
     "<code/>28-28</statement>31-33</except>35-38</statement>35-38<statement>40-40"
     "<code/>40-40</statement>41-41</if>41-41</statement>42-42"},
    {"try_finally_as_a_loop_body", "for i := 1 to 2 do try f; finally g; end;", true, no_error,
     "<statement>1-3<for>1-18<statement>24-24<code/>24-35</statement>38-40</for>41-41"
     "</statement>42-42"},
    {"nested_try_inside_a_try_branch", "if a then try try f finally g end; h except k end;", true,
     no_error,
     "<statement>1-2<if>1-9<statement>15-17<code/>19-37<except>38-43<statement>45-45"
     "<code/>45-46</statement>47-49</except>50-50</statement>50-50</if>50-50"
     "</statement>51-51"},
    {"unterminated_comment_is_passed_over", "x; { oops", true, no_error,
     "<statement>1-1<code/>1-1</statement>10-10"},
    {"string_cut_by_line_end", "x := 'abc\r\ny;", true, no_error,
     "<statement>1-1<code/>1-12</statement>14-14"},
    {"if_without_then", "if a; x;", false, "here should be \"then\"", "<statement>1-2<if>1-"},
    {"for_without_do", "for i := 1 to 3; x;", false, "here should be \"do\"",
     "<statement>1-3<for>1-"},
    {"case_without_of", "case k; x;", false, "here should be \"of\"", "<statement>1-4<switch>1-"},
    {"case_label_without_colon", "case k of 1 x; end;", false, "here should be \":\"",
     "<statement>1-4<switch>1-9<case/>11-"},
    {"repeat_without_until", "repeat x; end;", false, "here should be \"until\"",
     "<statement>1-6<dountil>1-6<statement>8-8<code/>8-8</statement>11-13"},
    // The marked text may end after a statement's last token: the end of the text ends it.
    {"statement_runs_into_the_end", "x := 1", true, no_error,
     "<statement>1-1<code/>1-6</statement>7-7"},
    {"loop_body_at_the_end_of_the_text", "while a do begin x end", true, no_error,
     "<statement>1-5<whiledo>1-10<statement>18-18<code/>18-19</statement>20-22"
     "</whiledo>23-23</statement>23-23"},
    {"for_body_at_the_end_of_the_text", "for i := 1 to 2 do begin x end", true, no_error,
     "<statement>1-3<for>1-18<statement>26-26<code/>26-27</statement>28-30</for>31-31"
     "</statement>31-31"},
    {"branch_at_the_end_of_the_text", "if a then x else y", true, no_error,
     "<statement>1-2<if>1-9<statement>11-11<code/>11-12</statement>13-16<statement>18-18"
     "<code/>18-18</statement>19-19</if>19-19</statement>19-19"},
    {"until_condition_at_the_end_of_the_text", "repeat x until y", true, no_error,
     "<statement>1-6<dountil>1-6<statement>8-8<code/>8-9</statement>10-14</dountil>10-16"
     "</statement>17-17"},
    {"handler_at_the_end_of_the_text", "try f; except g", true, no_error,
     "<statement>1-3<code/>5-5<except>8-13<statement>15-15<code/>15-15</statement>16-16"
     "</except>16-16</statement>16-16"},
    {"case_label_without_its_statement_at_the_end", "case k of 1:", false, "Error In Statement",
     "<statement>1-4<switch>1-9<case/>11-12<statement>13-13"
     "</statement>13-13"},
    {"end_of_text_in_a_single_statement", "if a then", false, "Error In Statement",
     "<statement>1-2<if>1-9<statement>10-10</statement>10-10"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, PascalMarkupTest,
                         testing::ValuesIn(worked_examples), case_name);

class PascalWholeTextTest : public testing::TestWithParam<const char*> {};

TEST_P(PascalWholeTextTest, ChartsToTheEnd) {
    Topsparser parser;
    expect_charts_to_the_end(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    CodeAsWritten, PascalWholeTextTest,
    testing::Values(
        "x := 1;\nasm\n  movl h,%ebx\n  jnc .Lnoerror { at the end }\n.Lnoerror:\nend ['eax'];\n"
        "y := 2;\nWriteLn(y);\n",
        "if a then\n  asm\n    nop // end\n  end\nelse\n  b := 1;\nc := 2;\n",
        "while a do\nbegin\n  asm\n    pushl %ebx\n    @@end: popl %ebx\n  end;\n  Inc(i);\nend;\n"
        "Done;\n",
        "ASM (* end *) MOV EAX, 1 END;\nExit(0);\n", "Inc(i);\nResult := i\n",
        "if a then\n  Result := 1\nelse\n  Result := 2\n", "for i := 0 to 9 do\n  Sum := Sum + i\n",
        "case k of\n  1: a := 1;\nelse\n  a := 2\nend\n",
        "try\n  f;\nexcept\n  on E: Exception do\n    g(E)\n"));

using namespace std::string_literals;

const markup_case unusual_bytes[] = {
    {"nul_bytes", "f(\0\0);\0g;"s, true, no_error, "<statement>1-1<code/>1-8</statement>10-10"},
    {"sentinel_character_inside", "f;\001g;", true, no_error,
     "<statement>1-1<code/>1-1</statement>3-3"},
    {"lone_carriage_returns", "a := 1;\rb := 2;\r", true, no_error,
     "<statement>1-1<code/>1-14</statement>17-17"},
    {"invalid_utf8", "s := \xff\xfe\xc0;", true, no_error,
     "<statement>1-1<code/>1-8</statement>10-10"},
    {"only_a_sentinel_character", "\001", true, no_error, "<statement>1-1</statement>1-1"},
    {"cut_after_a_hash", "x := #", true, no_error, "<statement>1-1<code/>1-6</statement>7-7"},
    {"cut_after_a_dollar", "x := $", true, no_error, "<statement>1-1<code/>1-6</statement>7-7"},
    {"cut_inside_a_comment", "x; (*", true, no_error, "<statement>1-1<code/>1-1</statement>6-6"},
    {"label_colon_at_the_end", "a:", true, no_error, "<statement>1-2<label/>1-2</statement>3-3"},
};

INSTANTIATE_TEST_SUITE_P(AnyBytesAreInput, PascalMarkupTest, testing::ValuesIn(unusual_bytes),
                         case_name);

TEST(PascalParser, ErrorPositionPointsPastTheOffendingToken) {
    Topsparser parser;
    // WITH without DO: the scan for DO fails at the end of the text.
    const parser_result with = parser.parse("with r");
    EXPECT_EQ(with.error_pos, 8);
    EXPECT_EQ(with.error_len, 5);
    // IF without THEN fails at the ";".
    EXPECT_EQ(parser.parse("if a; x;").error_pos, 6);
    EXPECT_EQ(parser.parse("x := 1;").error_pos, 9);
}

TEST(PascalParser, RealRoutineBody) {
    const std::string body =
        "begin\r\n"
        "  Result := 0;\r\n"
        "  if List = nil then\r\n"
        "    Exit(-1);\r\n"
        "  for I := 0 to List.Count - 1 do\r\n"
        "  begin\r\n"
        "    Item := TItem(List[I]);\r\n"
        "    case Item.Kind of\r\n"
        "      ikNone: Continue;\r\n"
        "      ikText, ikData:\r\n"
        "        begin\r\n"
        "          Inc(Result, Length(Item.Text));\r\n"
        "          if Result > Limit then Break;\r\n"
        "        end;\r\n"
        "    else\r\n"
        "      raise EListError.CreateFmt('Bad kind %d', [Ord(Item.Kind)]);\r\n"
        "    end;\r\n"
        "  end;\r\n"
        "  try\r\n"
        "    Flush(Stream)\r\n"
        "  except\r\n"
        "    on E: EStreamError do\r\n"
        "      Result := -2;\r\n"
        "  end;\r\n"
        "end;\r\n";
    Topsparser parser;
    const parser_result result = parser.parse(body);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.markup,
              "<statement>1-5<code/>10-20<if>26-43<statement>50-53<exit/>50-57</statement>58-58"
              "</if>58-58<for>63-93<statement>109-112<code/>109-130<switch>138-154"
              "<case/>163-169<statement>171-178<continue/>171-178</statement>179-179"
              "<case/>188-202<statement>230-232<code/>230-259<if>273-294<statement>296-300"
              "<break/>296-300</statement>301-301</if>301-301</statement>312-314"
              "<else/>322-325<statement>334-338<code/>334-392</statement>400-402"
              "</switch>403-403</statement>408-410</for>411-411<code/>425-441"
              "<except>442-447<statement>454-455<code/>483-494</statement>500-502"
              "</except>503-503</statement>512-512\001");
}

TEST(PascalParserLimits, DeepNestingFailsCleanlyInsteadOfOverflowing) {
    Topsparser parser;
    expect_too_deep(parser, repeated("if a then ", 100000) + "x;");
    expect_too_deep(parser, repeated("repeat ", 100000) + "x;");
    expect_too_deep(parser, repeated("case k of 1: ", 100000) + "x;");
    const parser_result fine = parser.parse(repeated("while a do ", 200) + "x;");
    EXPECT_TRUE(fine.ok) << fine.message;
}

// Look-aheads (a word's look for a ":", a WITH's look for its DO) must neither nest per token
// nor rescan what they passed.
TEST(PascalParserLimits, LookAheadsReadTheTextOnce) {
    Topsparser parser;
    const std::string words = repeated("w ", 200000) + ";";
    EXPECT_EQ(parser.parse(words).markup, one_code_run(words.size() - 1, words.size() + 1));
    // Nested WITH clauses: the innermost takes the DO, the others find none and stay WITH.
    const parser_result withs = parser.parse(repeated("with ", 100000) + "r do x;");
    EXPECT_FALSE(withs.ok);
    EXPECT_EQ(withs.message, "here should be \"do\"");
    const std::string clauses = repeated("with r do ", 100000) + "x;";
    const parser_result many = parser.parse(clauses);
    EXPECT_TRUE(many.ok);
    EXPECT_EQ(many.markup, "<statement>1-9<code/>1000001-1000001</statement>1000003-1000003\001");
    // A word looks past WITH clauses for its ":".
    const std::string labels = repeated("a with b do ", 50000) + "c: x;";
    EXPECT_EQ(parser.parse(labels).markup, one_code_run(labels.size() - 1, labels.size() + 1));
    EXPECT_EQ(parser.parse("a with b do : x;").markup,
              "<statement>1-13<label/>1-13<code/>15-15</statement>17-17\001");
}

TEST(PascalParserLimits, TenMegabytesOnOneLine) {
    const std::string line = repeated("s := s + 'text ( with ; end inside' + f(x); ", 240000);
    Topsparser parser;
    EXPECT_EQ(parser.parse(line).markup, one_code_run(line.size() - 2, line.size() + 1));
}

}  // namespace
}  // namespace tarnwell
