#include "parsers/tsql2xmls.h"

#include <gtest/gtest.h>

#include <string>

#include "parser_cases.h"

namespace tarnwell {
namespace {

using namespace parser_cases;

class TsqlMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(TsqlMarkupTest, GivesTheMarkupAndResult) {
    Ttsqlsparser parser;
    expect_markup(parser, GetParam());
}

const markup_case worked_examples[] = {
    {"if_exists_else", "IF EXISTS (SELECT 1 FROM t) SELECT 1 ELSE SELECT 2", true, no_error,
     "<statement>1-2<if>1-27<statement>29-34<code/>29-36</statement>36-36<statement>43-48"
     "<code/>43-50</statement>50-50</if>50-50</statement>51-51"},
    {"while_with_block", "WHILE i < 10 BEGIN SET i = i + 1 END", true, no_error,
     "<statement>1-5<whiledo>1-12<statement>20-22<code/>20-32</statement>34-36"
     "</whiledo>34-36</statement>37-37"},
    {"update_set_is_one_statement", "UPDATE t SET a = 1 WHERE b = 2", true, no_error,
     "<statement>1-12<code/>1-30</statement>31-31"},
    {"try_catch_leaves_no_handler",
     "BEGIN TRY\r\n  SELECT 1\r\nEND TRY\r\nBEGIN CATCH\r\n  SELECT 2\r\nEND CATCH\r\n", true,
     no_error, "<statement>1-9<code/>14-55</statement>69-69"},
    {"try_catch_after_a_statement",
     "SET @a = 1\r\nBEGIN TRY\r\n  SELECT 1\r\nEND TRY\r\nBEGIN CATCH\r\n  RETURN\r\n"
     "END CATCH\r\nSELECT 3",
     true, no_error, "<statement>1-3<code/>1-33<return/>60-65<code/>79-86</statement>87-87"},
    {"statement_after_goto_is_charted", "GOTO done\r\nSELECT 1\r\ndone:\r\nRETURN", true, no_error,
     "<statement>1-4<goto/>1-9<code/>12-19<label/>22-26<return/>29-34</statement>35-35"},
    {"goto_as_a_then_branch", "IF @x = 1 GOTO done ELSE SELECT 1", true, no_error,
     "<statement>1-2<if>1-9<statement>11-14<goto/>11-19</statement>16-19<statement>26-31"
     "<code/>26-33</statement>33-33</if>33-33</statement>34-34"},
    {"break_and_continue", "WHILE 1 = 1 BEGIN IF @i > 5 BREAK ELSE CONTINUE END", true, no_error,
     "<statement>1-5<whiledo>1-11<statement>19-20<if>19-27<statement>29-33<break/>29-33"
     "</statement>29-33<statement>40-47<continue/>40-47</statement>40-47</if>40-47"
     "</statement>49-51</whiledo>49-51</statement>52-52"},
    {"blocks_in_both_branches",
     "IF @a = 1\r\nBEGIN\r\n  SET @b = 2\r\nEND\r\nELSE\r\nBEGIN\r\n  SET @b = 3\r\nEND\r\n"
     "RETURN @b",
     true, no_error,
     "<statement>1-2<if>1-9<statement>21-23<code/>21-30</statement>33-35<statement>53-55"
     "<code/>53-62</statement>65-67</if>65-67<return/>70-78</statement>79-79"},
    {"else_if_chain", "IF @a = 1 SELECT 1 ELSE IF @a = 2 SELECT 2 ELSE SELECT 3", true, no_error,
     "<statement>1-2<if>1-9<statement>11-16<code/>11-18</statement>18-18<statement>25-26"
     "<if>25-33<statement>35-40<code/>35-42</statement>42-42<statement>49-54<code/>49-56"
     "</statement>56-56</if>56-56</statement>56-56</if>56-56</statement>57-57"},
    {"case_expression_is_one_token",
     "SELECT CASE WHEN a = 1 THEN 'x' ELSE 'y' END FROM t\r\nRETURN", true, no_error,
     "<statement>1-6<code/>1-51<return/>54-59</statement>60-60"},
    {"nested_case_expressions",
     "SET @x = CASE WHEN a = 1 THEN CASE b WHEN 2 THEN 3 END ELSE 4 END\r\nRETURN", true, no_error,
     "<statement>1-3<code/>1-65<return/>68-73</statement>74-74"},
    {"case_without_end_stands_alone", "SELECT CASE WHEN a = 1 THEN 2\r\nIF @x = 1 RETURN", true,
     no_error,
     "<statement>1-6<code/>1-29<if>32-40<statement>42-47<return/>42-47</statement>42-47"
     "</if>42-47</statement>48-48"},
    {"update_without_set_stands_alone", "UPDATE STATISTICS t\r\nIF @x = 1 RETURN", true, no_error,
     "<statement>1-6<code/>1-19<if>22-30<statement>32-37<return/>32-37</statement>32-37"
     "</if>32-37</statement>38-38"},
    {"update_test_of_a_trigger", "IF UPDATE(status) BEGIN SELECT 1 END ELSE PRINT 2", true,
     no_error,
     "<statement>1-2<if>1-17<statement>25-30<code/>25-32</statement>34-36<statement>43-47"
     "<code/>43-49</statement>49-49</if>49-49</statement>50-50"},
    {"scope_qualifier_is_no_label", "GRANT SELECT ON OBJECT::dbo.t TO u", true, no_error,
     "<statement>1-5<code/>1-34</statement>35-35"},
    {"semicolons_are_passed_over", "SELECT 1;\r\nSELECT 2;", true, no_error,
     "<statement>1-6<code/>1-20</statement>21-21"},
    {"end_at_depth_zero_ends_the_parse", "SELECT 1\r\nEND\r\nSELECT 2", false,
     "here should be end of code", "<statement>1-6<code/>1-8</statement>11-13"},
    {"empty_text", "", true, no_error, "<statement>1-1</statement>1-1"},
    {"string_cut_by_the_end", "SELECT 'abc", true, no_error,
     "<statement>1-6<code/>1-11</statement>12-12"},
    {"comment_cut_by_the_end", "SELECT 1 /* x", true, no_error,
     "<statement>1-6<code/>1-13</statement>14-14"},
    {"group_cut_by_the_end", "IF (a = 1 SELECT 1", true, no_error,
     "<statement>1-2<if>1-18<statement>19-19</statement>19-19</if>19-19</statement>19-19"},
};

INSTANTIATE_TEST_SUITE_P(WorkedExamplesAndEdges, TsqlMarkupTest, testing::ValuesIn(worked_examples),
                         case_name);

using namespace std::string_literals;

const markup_case unusual_bytes[] = {
    {"nul_bytes", "EXEC f(\0\0)\0 x"s, true, no_error,
     "<statement>1-4<code/>1-13</statement>14-14"},
    {"sentinel_character_inside", "PRINT 1\001PRINT 2", true, no_error,
     "<statement>1-5<code/>1-7</statement>8-8"},
    {"lone_carriage_returns", "PRINT 1\rPRINT 2\r", true, no_error,
     "<statement>1-5<code/>1-15</statement>17-17"},
    {"invalid_utf8", "PRINT '\xff\xfe\xc0'", true, no_error,
     "<statement>1-5<code/>1-11</statement>12-12"},
    {"colon_at_the_end", "a:", true, no_error, "<statement>1-2<label/>1-2</statement>3-3"},
    {"begin_at_the_end", "BEGIN", true, no_error, "<statement>1-5</statement>6-6"},
};

INSTANTIATE_TEST_SUITE_P(AnyBytesAreInput, TsqlMarkupTest, testing::ValuesIn(unusual_bytes),
                         case_name);

TEST(TsqlParser, RealProcedure) {
    const std::string body =
        "CREATE PROCEDURE dbo.close_orders @day DATE\n"
        "AS\n"
        "BEGIN\n"
        "    SET NOCOUNT ON;\n"
        "    DECLARE @n INT = 0;\n"
        "    IF @day IS NULL\n"
        "        RETURN 1;\n"
        "    BEGIN TRY\n"
        "        BEGIN TRAN;\n"
        "        UPDATE o SET closed = 1 FROM orders o WHERE o.day = @day;\n"
        "        SET @n = @@ROWCOUNT;\n"
        "        WHILE @n > 0\n"
        "        BEGIN\n"
        "            IF @n > 1000 BREAK;\n"
        "            SET @n = @n - 1;\n"
        "        END\n"
        "        COMMIT;\n"
        "    END TRY\n"
        "    BEGIN CATCH\n"
        "        ROLLBACK;\n"
        "        RAISERROR('close failed', 16, 1);\n"
        "    END CATCH\n"
        "    SELECT CASE WHEN @n = 0 THEN 'none' ELSE 'some' END AS result;\n"
        "    RETURN 0;\n"
        "END\n";
    Ttsqlsparser parser;
    const parser_result result = parser.parse(body);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.markup,
              "<statement>1-6<code/>1-96<if>102-116<statement>126-131<return/>126-134"
              "</statement>134-134</if>134-134<code/>158-263<whiledo>273-284<statement>312-313"
              "<if>312-323<statement>325-329<break/>325-329</statement>325-329</if>325-329"
              "<code/>344-359</statement>369-371</whiledo>369-371<code/>381-556"
              "<return/>562-570</statement>576-576\001");
}

TEST(TsqlParserLimits, DeepNestingFailsCleanlyInsteadOfOverflowing) {
    Ttsqlsparser parser;
    expect_too_deep(parser, repeated("IF a ", 100000) + "RETURN");
    expect_too_deep(parser, repeated("WHILE a ", 100000) + "RETURN");
    expect_too_deep(parser, "SELECT " + repeated("(", 100000));
    const parser_result fine = parser.parse(repeated("IF a BEGIN ", 200) + repeated("END ", 200));
    EXPECT_TRUE(fine.ok) << fine.message;
}

// A word's look for its ":", a CASE's look for its END and an UPDATE's look for its SET must
// neither nest per token nor rescan what they passed.
TEST(TsqlParserLimits, LookAheadsReadTheTextOnce) {
    Ttsqlsparser parser;
    const std::string words = "x " + repeated("w ", 200000);
    EXPECT_EQ(parser.parse(words).markup, one_code_run(words.size() - 1, words.size() + 1));
    const std::string cases = "x " + repeated("CASE ", 100000) + repeated("END ", 100000);
    EXPECT_EQ(parser.parse(cases).markup, one_code_run(cases.size() - 1, cases.size() + 1));
    const std::string open_cases = "x " + repeated("CASE ", 200000);
    EXPECT_EQ(parser.parse(open_cases).markup,
              one_code_run(open_cases.size() - 1, open_cases.size() + 1));
    const std::string updates = "x " + repeated("UPDATE t ", 100000);
    EXPECT_EQ(parser.parse(updates).markup, one_code_run(updates.size() - 1, updates.size() + 1));
}

TEST(TsqlParserLimits, TenMegabytesOnOneLine) {
    const std::string line =
        "x " + repeated("PRINT 'text ( with ; END inside' + dbo.f(@x) ", 230000);
    Ttsqlsparser parser;
    EXPECT_EQ(parser.parse(line).markup, one_code_run(line.size() - 1, line.size() + 1));
}

}  // namespace
}  // namespace tarnwell
