#include "parsers/perl2xmls.h"

#include <gtest/gtest.h>

#include <string>

#include "parser_cases.h"

namespace tarnwell {
namespace {

using namespace parser_cases;

class PerlMarkupTest : public testing::TestWithParam<markup_case> {};

TEST_P(PerlMarkupTest, GivesTheMarkupAndResult) {
    Tperlparser parser;
    expect_markup(parser, GetParam());
}

const markup_case modifier_and_loop_cases[] = {
    // A modifier wraps the statement before it in a one-statement conditional or loop.
    {"if_modifier", "print $x if $y;", true, no_error,
     "<statement>1-5<if>10-14<statement>1-5<code/>1-8</statement>7-8</if>15-15</statement>16-16"},
    {"unless_modifier_on_a_jump", "last unless $ok;", true, no_error,
     "<statement>1-4<if>6-15<statement>1-4<break/>1-4</statement>1-4</if>16-16"
     "</statement>17-17"},
    {"while_modifier", "$i++ while $i < 10;", true, no_error,
     "<statement>1-2<whiledo>6-18<statement>1-2<code/>1-4</statement>4-4</whiledo>19-19"
     "</statement>20-20"},
    {"until_modifier_on_die", "die \"x\" until $ok;", true, no_error,
     "<statement>1-3<untildo>9-17<statement>1-3<exit/>1-7</statement>5-7</untildo>18-18"
     "</statement>19-19"},
    {"modifier_closes_the_code_run_before_it", "f(); g() if $x; h();", true, no_error,
     "<statement>1-1<code/>1-4<if>10-14<statement>6-6<code/>6-8</statement>7-8</if>15-15"
     "<code/>17-20</statement>21-21"},
    {"labelled_loop_and_next_with_modifier", "LINE: while ($l) { next LINE if $skip; }", true,
     no_error,
     "<statement>1-5<label/>1-5<whiledo>7-16<statement>20-23<if>30-37<statement>20-23"
     "<continue/>20-28</statement>25-28</if>38-38</statement>40-40</whiledo>40-40"
     "</statement>41-41"},
    {"foreach_with_a_loop_variable", "foreach my $i ($a, $b) { f($i); }", true, no_error,
     "<statement>1-7<for>1-22<statement>26-26<code/>26-31</statement>33-33</for>33-33"
     "</statement>34-34"},
    {"until_loop", "until ($done) { step(); }", true, no_error,
     "<statement>1-5<untildo>1-13<statement>17-20<code/>17-23</statement>25-25</untildo>25-25"
     "</statement>26-26"},
    // The range of DO ends one past the keyword.
    {"do_while", "do { $n++; } while ($n < 5);", true, no_error,
     "<statement>1-2<dowhile>1-3<statement>6-7<code/>6-10</statement>12-12</dowhile>14-28"
     "</statement>29-29"},
    {"do_until", "do { f(); } until ($x);", true, no_error,
     "<statement>1-2<dountil>1-3<statement>6-6<code/>6-9</statement>11-11</dountil>13-23"
     "</statement>24-24"},
    {"do_with_an_expression_is_plain", "do $file; f();", true, no_error,
     "<statement>1-2<code/>1-14</statement>15-15"},
    {"continue_block", "while ($x) { f(); } continue { $i++; }", true, no_error,
     "<statement>1-5<whiledo>1-10<statement>14-14<code/>14-17</statement>19-19</whiledo>19-19"
     "<continue/>21-38</statement>39-39"},
    {"continue_block_with_a_nested_block", "continue { if ($x) { f(); } }", true, no_error,
     "<statement>1-8<continue/>1-29</statement>30-30"},
    // The else-branch's sequence and conditional start at the "if" inside "elsif".
    {"elsif", "if ($a) { f(); } elsif ($b) { g(); }", true, no_error,
     "<statement>1-2<if>1-7<statement>11-11<code/>11-14</statement>16-16<statement>21-22"
     "<if>21-27<statement>31-31<code/>31-34</statement>36-36</if>36-36</statement>36-36"
     "</if>36-36</statement>37-37"},
    // A block's last statement needs no ";": the "}" ends it, and a modifier's condition.
    {"last_statement_of_a_block_without_semicolon", "if ($a) { return 1 }", true, no_error,
     "<statement>1-2<if>1-7<statement>11-16<return/>11-20</statement>20-20</if>20-20"
     "</statement>21-21"},
    {"modifier_ended_by_a_closing_brace", "if ($a) { return unless $b }", true, no_error,
     "<statement>1-2<if>1-7<statement>11-16<if>18-27<statement>11-16<return/>11-16"
     "</statement>11-16</if>28-28</statement>28-28</if>28-28</statement>29-29"},
    // Blocks inside a statement belong to it, with their ";" and modifiers.
    {"eval_block_is_one_statement", "eval { f(); g() if $x; };\r\nh();", true, no_error,
     "<statement>1-4<code/>1-31</statement>32-32"},
};

INSTANTIATE_TEST_SUITE_P(ModifiersAndLoops, PerlMarkupTest,
                         testing::ValuesIn(modifier_and_loop_cases), case_name);

const markup_case quoting_cases[] = {
    // The body of a here-document is white space, whatever it holds.
    {"here_document", "print <<EOT;\r\nreturn;\r\nEOT\r\nf();\r\n", true, no_error,
     "<statement>1-5<code/>1-32</statement>35-35"},
    {"here_document_with_a_quoted_terminator", "print <<\"END\";\nif (x) {\nEND\nf();", true,
     no_error, "<statement>1-5<code/>1-32</statement>33-33"},
    // The line end is first read by the label look-ahead after "g"; it keeps the body.
    {"here_document_body_read_during_a_look_ahead", "f(<<A) . g\n}\nA\nh();", true, no_error,
     "<statement>1-1<code/>1-19</statement>20-20"},
    {"here_document_without_terminator_line", "print <<EOT;\nreturn;\n", true, no_error,
     "<statement>1-5<code/>1-12</statement>22-22"},
    {"shift_left_is_no_here_document", "$x <<$y;\nreturn;", true, no_error,
     "<statement>1-2<code/>1-8<return/>10-16</statement>17-17"},
    {"pod_block", "=head1 NAME\r\n\r\nreturn here;\r\n\r\n=cut\r\nf();\r\n", true, no_error,
     "<statement>1-1<code/>38-41</statement>44-44"},
    {"pod_block_to_the_end_of_the_text", "=pod\nreturn;\n", true, no_error,
     "<statement>1-1</statement>14-14"},
    {"statement_starting_with_a_pattern", "/x/ and f();", true, no_error,
     "<statement>1-1<code/>1-12</statement>13-13"},
    {"pattern_after_a_tilde_holds_a_brace", "if ($a) { $x =~ /}/; }", true, no_error,
     "<statement>1-2<if>1-7<statement>11-12<code/>11-20</statement>22-22</if>22-22"
     "</statement>23-23"},
    {"pattern_opening_a_group_holds_a_parenthesis", "split(/)/, $x);", true, no_error,
     "<statement>1-5<code/>1-15</statement>16-16"},
    {"substitution", "s/{/x/;", true, no_error, "<statement>1-6<code/>1-7</statement>8-8"},
    {"transliteration", "tr/a-z/A-Z/;", true, no_error,
     "<statement>1-11<code/>1-12</statement>13-13"},
    {"m_s_and_t_start_words_elsewhere", "my $s = t(m);", true, no_error,
     "<statement>1-2<code/>1-13</statement>14-14"},
    // A backslash escapes nothing inside backquotes.
    {"backquotes", "`a\\`; return;", true, no_error,
     "<statement>1-4<return/>7-13</statement>14-14"},
    {"hash_comment", "# c\nf();", true, no_error, "<statement>1-3<code/>5-8</statement>9-9"},
    {"hash_inside_a_word", "$#a = 1;", true, no_error, "<statement>1-3<code/>1-8</statement>9-9"},
};

INSTANTIATE_TEST_SUITE_P(Quoting, PerlMarkupTest, testing::ValuesIn(quoting_cases), case_name);

const markup_case failure_cases[] = {
    {"for_without_a_list", "for my $i;", false, "here should be parameter of function",
     "<statement>1-3<for>1-"},
    {"while_without_a_condition", "while $x { f(); }", false,
     "here should be parameter of function", "<statement>1-5<whiledo>1-"},
    // The loop's tag and block stay in the markup of a failed parse.
    {"do_block_without_while", "do { f(); } foo;", false, "here should be \"while\"",
     "<statement>1-2<dowhile>1-3<statement>6-6<code/>6-9</statement>11-11"},
    {"do_block_cut_short", "do { f(); ", false, "here should be \"}\"",
     "<statement>1-2<dowhile>1-3<statement>6-6<code/>6-9</statement>11-11"},
    {"statement_cut_short_by_its_group", "f(\"a)", false, "here should be \";\"", "<statement>1-1"},
    {"modifier_cut_short_by_a_string", "print $x if \"y", false, "here should be \";\"",
     "<statement>1-5<if>10-"},
    {"continue_block_cut_short", "continue { $i++;", false, "here should be \";\"",
     "<statement>1-8"},
    {"unterminated_string", "print \"abc;", false, "here should be \";\"", "<statement>1-5"},
};

INSTANTIATE_TEST_SUITE_P(Failures, PerlMarkupTest, testing::ValuesIn(failure_cases), case_name);

using namespace std::string_literals;

const markup_case perl_any_bytes[] = {
    {"nul_bytes", "f(\0\0);\0g();"s, true, no_error, "<statement>1-1<code/>1-11</statement>12-12"},
    {"sentinel_character_inside_a_here_document", "print <<A;\nx\001y\nA\n", true, no_error,
     "<statement>1-5<code/>1-10</statement>13-13"},
    {"lone_carriage_returns", "$a = 1;\r$b = 2;\r", true, no_error,
     "<statement>1-2<code/>1-15</statement>17-17"},
    {"invalid_utf8", "s = \xff\xfe\xc0;", true, no_error,
     "<statement>1-1<code/>1-8</statement>9-9"},
    {"only_a_sentinel_character", "\001", true, no_error, "<statement>1-1</statement>1-1"},
    {"pattern_cut_short", "m/abc", true, no_error, "<statement>1-5</statement>6-6"},
    {"pattern_cut_short_in_a_group", "if (/x", false, "here should be parameter of function",
     "<statement>1-2<if>1-"},
    {"backslash_and_shift_at_the_end", "f(); \\<<", true, no_error,
     "<statement>1-1<code/>1-4</statement>9-9"},
};

INSTANTIATE_TEST_SUITE_P(AnyBytes, PerlMarkupTest, testing::ValuesIn(perl_any_bytes), case_name);

TEST(PerlParserLimits, DeepNestingFailsCleanlyInsteadOfOverflowing) {
    Tperlparser parser;
    expect_too_deep(parser, repeated("if ($a) {\n", 100000));
    expect_too_deep(parser, repeated("do {\n", 100000));
    expect_too_deep(parser, "x = " + repeated("(", 100000) + "1;");
    expect_too_deep(parser, repeated("while ($a) ", 100000) + "f();");
}

TEST(PerlParserLimits, LongRunsParseInOnePass) {
    Tperlparser parser;
    expect_long_runs_in_one_pass(parser);
    // Heads of here-documents one after another, and here-documents with their bodies.
    const std::string heads = repeated("<<A ", 100000) + ";";
    EXPECT_EQ(parser.parse(heads).markup, "<statement>1-3</statement>" +
                                              std::to_string(heads.size() + 1) + "-" +
                                              std::to_string(heads.size() + 1) + "\001");
    const std::string bodies = repeated("f(<<A);\nx\nA\n", 100000);
    EXPECT_EQ(parser.parse(bodies).markup, one_code_run(bodies.size() - 5, bodies.size() + 1));
}

TEST(PerlParser, ErrorPositionFollowsTheLastTokenRead) {
    Tperlparser parser;
    EXPECT_EQ(parser.parse("for my $i;").error_pos, 11);
    // A modifier cut short fails just past the sentinel.
    EXPECT_EQ(parser.parse("print $x if $y").error_pos, 16);
}

TEST(PerlParser, ChartsAWholeSubBody) {
    Tperlparser parser;
    const parser_result result = parser.parse(fixture("log_report.pl"));
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(outline(result.markup),
              "<statement><code/><label/><whiledo><statement><code/><if><statement><continue/>"
              "</statement></if><if><statement><break/></statement></if><code/><if><statement>"
              "<code/><continue/></statement></if><if><statement><code/></statement><statement>"
              "<if><statement><code/></statement><statement><code/></statement></if>"
              "</statement></if></statement></whiledo><continue/><code/><dountil><statement>"
              "<code/></statement></dountil><return/></statement>");
}

}  // namespace
}  // namespace tarnwell
