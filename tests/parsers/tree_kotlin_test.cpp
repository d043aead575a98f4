// Kotlin through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_kotlin.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"when_with_subject_values_ranges_types_and_else",
     "when (code) {\n"
     "    200, 204 -> ok()\n"
     "    in 500..599 -> { retry(); log(code) }\n"
     "    is Redirect -> return code.target\n"
     "    else -> fail(code)\n"
     "}",
     true, no_error,
     "<statement>1-4<switch>1-11<case/>19-29<statement>31-32<code/>31-34</statement>40-41<case/"
     ">40-53<statement>57-61<code/>57-74</statement>82-83<case/>82-95<statement>97-102<return/"
     ">97-114</statement>120-123<else/>120-126<statement>128-131<code/>128-137</statement>139-139</"
     "switch>139-139</statement>140-140"},
    {"when_without_subject_as_the_body_after_equals",
     "fun sign(x: Int): Int = when {\n"
     "    x < 0 -> -1\n"
     "    x > 0 -> 1\n"
     "    else -> 0\n"
     "}\n",
     true, no_error,
     "<statement>25-28<switch>25-28<case/>36-43<statement>45-45<code/>45-46</statement>52-52<case/"
     ">52-59<statement>61-61<code/>61-61</statement>67-70<else/>67-73<statement>75-75<code/>75-75</"
     "statement>77-77</switch>77-77</statement>79-79"},
    {"labelled_for_and_while_with_body_of_one_statement",
     "outer@ for (row in rows) {\n"
     "    while (row.next()) count++\n"
     "}",
     true, no_error,
     "<statement>1-6<for>1-24<statement>32-36<whiledo>32-49<statement>51-55<code/>51-57</"
     "statement>56-57</whiledo>56-57</statement>59-59</for>59-59</statement>60-60"},
    {"try_catch_catch_finally",
     "try {\n"
     "    connect(path)\n"
     "} catch (e: IOException) {\n"
     "    log(e)\n"
     "} catch (e: Exception) {\n"
     "    throw Wrapped(e)\n"
     "} finally {\n"
     "    close()\n"
     "}",
     true, no_error,
     "<statement>1-3<code/>11-23<except>27-48<statement>56-58<code/>56-61</statement>63-63</"
     "except>63-63<except>65-84<statement>92-96<exit/>92-107</statement>109-109</"
     "except>109-109<code/>125-131</statement>134-134"},
    {"return_with_label_inside_a_lambda_is_code_and_return_is_a_jump",
     "items.forEach { if (it.done) return@forEach }\n"
     "val total = items.sumOf { it.size }\n"
     "return total",
     true, no_error, "<statement>1-5<code/>1-81<return/>83-94</statement>95-95"},
    {"if_else_and_do_while_tested_after",
     "if (ready) start() else wait()\n"
     "do {\n"
     "    n--\n"
     "} while (n > 0)\n"
     "throw IllegalStateException()",
     true, no_error,
     "<statement>1-2<if>1-10<statement>12-16<code/>12-18</statement>20-23<statement>25-28<code/"
     ">25-30</statement>30-30</if>30-30<dowhile>32-33<statement>41-41<code/>41-43</"
     "statement>47-51</"
     "dowhile>53-59<exit/>61-89</statement>90-90"},
    {"break_continue_and_their_labelled_forms",
     "outer@ while (true) {\n"
     "    for (cell in row) {\n"
     "        when (cell.kind) {\n"
     "            Kind.Stop -> break@outer\n"
     "            Kind.Skip -> continue@outer\n"
     "            Kind.Last -> break\n"
     "            else -> continue\n"
     "        }\n"
     "    }\n"
     "}",
     true, no_error,
     "<statement>1-6<whiledo>1-19<statement>27-29<for>27-43<statement>55-58<switch>55-70<case/"
     ">86-97<statement>99-104<break/>99-109</statement>123-126<case/"
     ">123-134<statement>136-144<continue/>136-149</statement>163-166<case/"
     ">163-174<statement>176-180<break/>176-180</statement>194-197<else/"
     ">194-200<statement>202-209<continue/>202-209</statement>219-219</switch>219-219</"
     "statement>225-225</for>225-225</statement>227-227</whiledo>227-227</statement>228-228"},
    {"label_on_an_expression_and_names_that_only_begin_like_jumps",
     "done@ run { finish() }\n"
     "breakpoints.clear()\n"
     "continued = true",
     true, no_error, "<statement>1-5<label/>1-5<code/>7-59</statement>60-60"},
    {"whole_function_charts_its_block",
     "override fun close() {\n"
     "    // nothing more to send\n"
     "    when (state) {\n"
     "        State.Open -> flush()\n"
     "    }\n"
     "}\n",
     true, no_error,
     "<statement>28-50<switch>56-67<case/>79-91<statement>93-97<code/>93-99</statement>105-105</"
     "switch>105-105</statement>109-109"},
    {"nested_function_and_class_are_boxes",
     "fun helper(x: Int) = x * 2\n"
     "class Local(val v: Int)\n"
     "helper(1)",
     true, no_error, "<statement>1-3<code/>1-26<code/>28-50<code/>52-60</statement>61-61"},
    {"when_entry_missing_its_body",
     "when (x) {\n"
     "    1 ->\n"
     "}\n",
     false, "here should be Identifier", "<statement>1-4<switch>1-8<case/>16-19"},
    {"block_left_open",
     "step()\n"
     "while (more()) {\n"
     "    step()\n",
     false, "syntax error", "<statement>1-4<code/>1-6"},
    {"missing_condition",
     "val a = 1\n"
     "while () { a() }\n",
     false, "here should be Identifier", "<statement>1-3<code/>1-9"},
};

class KotlinGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(KotlinGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(kotlin_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, KotlinGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
