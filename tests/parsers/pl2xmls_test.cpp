#include "parsers/pl2xmls.h"

#include <gtest/gtest.h>

#include <string>

#include "markup_reach.h"
#include "parser_cases.h"

namespace tarnwell {
namespace {

using namespace parser_cases;

class PlsqlMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(PlsqlMarkupTest, GivesTheMarkupAndResult) {
    Tplsparser parser;
    expect_markup(parser, GetParam());
}

const markup_case worked_examples[] = {
    {"elsif_chain", "IF a > 1 THEN x := 1; ELSIF a > 0 THEN x := 2; ELSE x := 3; END IF;", true,
     no_error,
     "<statement>1-2<if>1-13<statement>15-15<code/>15-21</statement>23-27<statement>26-28"
     "<if>26-38<statement>40-40<code/>40-46</statement>48-51<statement>53-53<code/>53-59"
     "</statement>61-63</if>65-66</statement>65-66</if>65-66</statement>68-68"},
    {"loop_with_exit_when", "LOOP x := x + 1; EXIT WHEN x > 9; END LOOP;", true, no_error,
     "<statement>1-4<dountil>1-4<statement>6-6<code/>6-16<if>23-33<statement>18-21"
     "<break/>18-21</statement>18-21</if>33-33</statement>35-37</dountil>39-42"
     "</statement>44-44"},
    {"exception_handlers", "BEGIN f; EXCEPTION WHEN e1 THEN g; WHEN OTHERS THEN h; END;", true,
     no_error,
     "<statement>1-5<code/>7-8<except>10-18<statement>20-23<if>20-31<statement>33-33"
     "<code/>33-34</statement>36-39<statement>39-41<if>39-51<statement>53-53<code/>53-54"
     "</statement>56-58</if>56-58</statement>56-58</if>56-58</statement>56-58</except>56-58"
     "</statement>60-60"},
    {"label", "<<outer>>", true, no_error, "<statement>1-9<label/>1-9</statement>10-10"},
    {"empty_text", "", true, no_error, "<statement>1-1</statement>1-1"},
    {"for_loop", "FOR i IN 1..3 LOOP f(i); END LOOP;", true, no_error,
     "<statement>1-3<for>1-18<statement>20-20<code/>20-24</statement>26-28</for>30-33"
     "</statement>35-35"},
    {"while_loop", "WHILE x < 3 LOOP x := x + 1; END LOOP;", true, no_error,
     "<statement>1-5<whiledo>1-16<statement>18-18<code/>18-28</statement>30-32"
     "</whiledo>34-37</statement>39-39"},
    {"forall", "FORALL i IN 1..n DELETE FROM t WHERE id = a(i);", true, no_error,
     "<statement>1-6<for>1-17<statement>18-23<code/>18-47</statement>47-47</for>47-47"
     "</statement>48-48"},
    {"return_and_goto", "RETURN x; GOTO l;", true, no_error,
     "<statement>1-6<return/>1-9<goto/>11-17</statement>18-18"},
    {"exit_without_when", "EXIT;", true, no_error, "<statement>1-4<break/>1-4</statement>6-6"},
    {"exit_a_labelled_loop_when", "EXIT outer WHEN done;", true, no_error,
     "<statement>1-4<if>12-21<statement>1-10<break/>1-10</statement>1-10</if>21-21"
     "</statement>22-22"},
    {"dml_is_a_plain_statement", "DELETE FROM t;", true, no_error,
     "<statement>1-6<code/>1-14</statement>15-15"},
    {"routine_header_ends_before_begin", "FUNCTION f RETURN NUMBER IS\nBEGIN\n  RETURN 1;\nEND f;",
     true, no_error, "<statement>1-8<code/>1-27<return/>37-45</statement>53-53"},
    {"loop_label_after_end_loop", "LOOP EXIT; END LOOP l;", true, no_error,
     "<statement>1-4<dountil>1-4<statement>6-9<break/>6-9</statement>12-14</dountil>16-19"
     "</statement>23-23"},
    {"handler_of_an_inner_block", "BEGIN BEGIN f; EXCEPTION WHEN OTHERS THEN NULL; END; g; END;",
     true, no_error,
     "<statement>1-5<code/>13-14<except>16-24<statement>26-29<if>26-41<statement>43-46"
     "<code/>43-47</statement>49-51</if>49-51</statement>49-51</except>49-51<code/>54-55"
     "</statement>61-61"},
    {"strings_span_lines_and_double_their_quotes", "x := 'it''s\r\n;'; y;", true, no_error,
     "<statement>1-1<code/>1-19</statement>20-20"},
    {"comments_hide_keywords", "-- IF\r\n/* LOOP */ x;", true, no_error,
     "<statement>1-5<code/>19-20</statement>21-21"},
    {"statement_without_semicolon", "x := 1", false, "here should be \";\"",
     "<statement>1-1<code/>1-"},
    {"if_without_then", "IF a x; END IF;", false, "here should be \"then\"",
     "<statement>1-2<if>1-"},
    {"for_without_loop", "FOR i IN 1..3 f; END LOOP;", false, "here should be \"loop\"",
     "<statement>1-3<for>1-"},
    {"end_not_followed_by_if", "IF a THEN x; END;", false, "here should be \"end if\"",
     "<statement>1-2<if>1-9<statement>11-11<code/>11-12</statement>14-16"},
    {"forall_without_dml", "FORALL i IN 1..n x;", false,
     "here should be \"update,insert or delete \"", "<statement>1-6<for>1-"},
    {"loop_without_end_loop", "LOOP x; END;", false, "here should be \"loop\"",
     "<statement>1-4<dountil>1-4<statement>6-6<code/>6-7</statement>9-11"},
    {"for_body_runs_into_the_end", "FOR i IN 1..3 LOOP x;", false, "here should be \"end\"",
     "<statement>1-3<for>1-18<statement>20-20<code/>20-21</statement>22-22"},
    {"return_without_semicolon", "RETURN x", false, "here should be \";\"",
     "<statement>1-6<return/>1-"},
    {"exit_when_without_semicolon", "EXIT WHEN x", false, "here should be \";\"",
     "<statement>1-4<if>6-"},
    // The marked text of a block's body may end inside its exception part.
    {"exception_part_at_the_end_of_the_text", "x; EXCEPTION", true, no_error,
     "<statement>1-1<code/>1-2<except>4-12</except>13-13</statement>13-13"},
    {"handler_at_the_end_of_the_text", "x; EXCEPTION WHEN OTHERS THEN y;", true, no_error,
     "<statement>1-1<code/>1-2<except>4-12<statement>14-17<if>14-29<statement>31-31"
     "<code/>31-32</statement>33-33</if>33-33</statement>33-33</except>33-33"
     "</statement>33-33"},
    {"case_statement_is_a_selection", "CASE k WHEN 1 THEN a; WHEN 2 THEN b; ELSE c; END CASE;",
     true, no_error,
     "<statement>1-4<switch>1-6<case/>8-18<statement>20-20<code/>20-21</statement>23-26"
     "<case/>23-33<statement>35-35<code/>35-36</statement>38-41<else/>38-41<statement>43-43"
     "<code/>43-44</statement>46-48</switch>50-53</statement>55-55"},
    {"searched_case_statement", "CASE WHEN a THEN b; END CASE;", true, no_error,
     "<statement>1-4<switch>1-4<case/>6-16<statement>18-18<code/>18-19</statement>21-23"
     "</switch>25-28</statement>30-30"},
    {"case_expression_stays_in_its_statement", "v := CASE WHEN a THEN 1 ELSE 2 END; f;", true,
     no_error, "<statement>1-1<code/>1-38</statement>39-39"},
    {"case_without_end_case", "CASE k WHEN 1 THEN a; END;", false, "here should be \"case\"",
     "<statement>1-4<switch>1-6<case/>8-18<statement>20-20<code/>20-21</statement>23-25"},
    {"case_without_when", "CASE k;", false, "Error In Statement", "<statement>1-4<switch>1-"},
    {"continue_when", "CONTINUE WHEN i > 2;", true, no_error,
     "<statement>1-8<if>10-20<statement>1-8<continue/>1-8</statement>1-8</if>20-20"
     "</statement>21-21"},
    {"continue", "CONTINUE;", true, no_error, "<statement>1-8<continue/>1-8</statement>10-10"},
    {"foreach_loop", "FOREACH v IN ARRAY a LOOP f(v); END LOOP;", true, no_error,
     "<statement>1-7<for>1-25<statement>27-27<code/>27-31</statement>33-35</for>37-40"
     "</statement>42-42"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, PlsqlMarkupTest,
                         testing::ValuesIn(worked_examples), case_name);

class PlsqlWholeTextTest : public testing::TestWithParam<const char*> {};

TEST_P(PlsqlWholeTextTest, ChartsToTheEnd) {
    Tplsparser parser;
    expect_charts_to_the_end(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    CodeAsWritten, PlsqlWholeTextTest,
    testing::Values(
        "CASE x\n  WHEN 'a' THEN\n    y := 1;\n  WHEN 'b', 'c' THEN\n    y := 2;\n  ELSE\n"
        "    y := 3;\nEND CASE;\nRETURN y;\n",
        "case\n  when n > 10 then\n    raise notice 'big';\n  when n < 0 then\n    n := 0;\n"
        "end case;\nreturn n;\n",
        "FOR r IN SELECT * FROM t LOOP\n  CASE r.kind\n    WHEN 1 THEN\n      CONTINUE;\n"
        "  END CASE;\n  PERFORM f(r);\nEND LOOP;\nRETURN;\n",
        "x := 1;\nEXCEPTION\n  WHEN unique_violation THEN\n    y := 2;\n"
        "  WHEN others THEN\n    RAISE;\n",
        "FOR i IN 1..10 LOOP\n  CONTINUE WHEN i % 2 = 0;\n  IF i > 7 THEN\n    CONTINUE;\n"
        "  END IF;\n  total := total + i;\nEND LOOP;\nRETURN total;\n",
        "FOREACH v_id IN ARRAY p_ids LOOP\n  EXECUTE format('x %s', v_id);\nEND LOOP;\n"
        "v := CASE WHEN a THEN 1 ELSE 2 END;\nRETURN v;\n"));

using namespace std::string_literals;

const markup_case unusual_bytes[] = {
    {"nul_bytes", "f(\0\0);\0g;"s, true, no_error, "<statement>1-1<code/>1-9</statement>10-10"},
    {"sentinel_character_inside", "f;\001g;", true, no_error,
     "<statement>1-1<code/>1-2</statement>3-3"},
    {"lone_carriage_returns", "a := 1;\rb := 2;\r", true, no_error,
     "<statement>1-1<code/>1-15</statement>17-17"},
    {"invalid_utf8", "s := '\xff\xfe\xc0';", true, no_error,
     "<statement>1-1<code/>1-11</statement>12-12"},
    {"string_cut_by_the_end", "x := 'abc", false, "here should be \";\"",
     "<statement>1-1<code/>1-"},
    {"label_mark_at_the_end", "x := <<", false, "here should be \";\"", "<statement>1-1<code/>1-"},
    {"label_cut_by_a_line_end", "<<a\n>> x;", true, no_error,
     "<statement>1-2<code/>3-9</statement>10-10"},
};

INSTANTIATE_TEST_SUITE_P(AnyBytesAreInput, PlsqlMarkupTest, testing::ValuesIn(unusual_bytes),
                         case_name);

TEST(PlsqlParser, RealProcedure) {
    const std::string body =
        "PROCEDURE close_orders(p_day DATE) IS\n"
        "  v_count NUMBER := 0;\n"
        "BEGIN\n"
        "  <<orders>>\n"
        "  FOR r IN (SELECT id, total FROM orders WHERE day = p_day) LOOP\n"
        "    IF r.total < 0 THEN\n"
        "      RAISE invalid_total;\n"
        "    ELSIF r.total = 0 THEN\n"
        "      DELETE FROM orders WHERE id = r.id;\n"
        "    ELSE\n"
        "      UPDATE orders SET closed = 'Y' WHERE id = r.id;\n"
        "      v_count := v_count + 1;\n"
        "    END IF;\n"
        "    EXIT orders WHEN v_count > 1000;\n"
        "  END LOOP;\n"
        "  COMMIT;\n"
        "EXCEPTION\n"
        "  WHEN invalid_total THEN\n"
        "    ROLLBACK;\n"
        "    RAISE;\n"
        "END close_orders;\n";
    Tplsparser parser;
    const parser_result result = parser.parse(body);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.markup,
              "<statement>1-9<code/>1-60<label/>70-79<for>83-144<statement>150-151"
              "<if>150-168<statement>176-180<code/>176-195</statement>201-205"
              "<statement>204-206<if>204-222<statement>230-235<code/>230-264</statement>270-273"
              "<statement>281-286<code/>281-357</statement>363-365</if>367-368"
              "</statement>367-368</if>367-368<if>387-406<statement>375-385<break/>375-385"
              "</statement>375-385</if>406-406</statement>410-412</for>414-417<code/>422-428"
              "<except>430-438<statement>442-445<if>442-464<statement>470-477<code/>470-489"
              "</statement>491-493</if>491-493</statement>491-493</except>491-493"
              "</statement>509-509\001");
}

TEST(PlsqlParserLimits, DeepNestingFailsCleanlyInsteadOfOverflowing) {
    Tplsparser parser;
    expect_too_deep(parser, repeated("LOOP ", 100000) + "x;");
    expect_too_deep(parser, repeated("IF a THEN ", 100000) + "x;");
    const parser_result fine = parser.parse(repeated("LOOP ", 200) + repeated("END LOOP; ", 200));
    EXPECT_TRUE(fine.ok) << fine.message;
}

TEST(PlsqlParserLimits, RunsOfLabelMarksReadInOnePass) {
    Tplsparser parser;
    const std::string marks = "x := " + repeated("<<", 300000) + ";";
    EXPECT_EQ(parser.parse(marks).markup, one_code_run(marks.size(), marks.size() + 1));
    const std::string labels = repeated("<<a>>", 100000);
    const parser_result result = parser.parse(labels);
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.markup.ends_with("<label/>499996-500000</statement>500001-500001\001"));
}

TEST(PlsqlParserLimits, TenMegabytesOnOneLine) {
    const std::string line = repeated("s := s || 'text ( with ; END inside' || f(x); ", 230000);
    Tplsparser parser;
    EXPECT_EQ(parser.parse(line).markup, one_code_run(line.size() - 1, line.size() + 1));
}

}  // namespace
}  // namespace tarnwell
