// Go through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_go.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"if_with_init_else_if_else",
     "if v := f(); v > 0 {\n"
     "\tx = 1\n"
     "} else if y {\n"
     "\treturn\n"
     "} else {\n"
     "\tz()\n"
     "}",
     true, no_error,
     "<statement>1-2<if>1-18<statement>23-23<code/>23-27</"
     "statement>29-29<statement>36-37<if>36-39<statement>44-49<return/>44-49</"
     "statement>51-51<statement>61-61<code/>61-63</statement>65-65</if>65-65</statement>65-65</"
     "if>65-65</statement>66-66"},
    {"four_forms_of_for",
     "for i := 0; i < n; i++ {\n"
     "\tcontinue\n"
     "}\n"
     "for x > 0 {\n"
     "\tx--\n"
     "}\n"
     "for k, v := range m {\n"
     "\tbreak\n"
     "}\n"
     "for {\n"
     "\tgoto L\n"
     "}",
     true, no_error,
     "<statement>1-3<for>1-22<statement>27-34<continue/>27-34</statement>36-36</"
     "for>36-36<for>38-46<statement>51-51<code/>51-53</statement>55-55</"
     "for>55-55<for>57-75<statement>80-84<break/>80-84</statement>86-86</"
     "for>86-86<for>88-90<statement>95-98<goto/>95-100</statement>102-102</for>102-102</"
     "statement>103-103"},
    {"switch_with_fallthrough",
     "switch k {\n"
     "case 1, 2:\n"
     "\tn++\n"
     "\tfallthrough\n"
     "default:\n"
     "\tn = 0\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-8<case/>12-21<statement>24-24<code/>24-26<goto/>29-39</"
     "statement>41-47<else/>41-48<statement>51-51<code/>51-55</statement>57-57</switch>57-57</"
     "statement>58-58"},
    {"type_switch",
     "switch t := v.(type) {\n"
     "case int:\n"
     "\tf()\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-20<case/>24-32<statement>35-35<code/>35-37</statement>39-39</"
     "switch>39-39</statement>40-40"},
    {"select_with_default",
     "select {\n"
     "case x := <-ch:\n"
     "\tf(x)\n"
     "default:\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-6<case/>10-24<statement>27-27<code/>27-30</statement>32-38<else/"
     ">32-39<statement>41-41</statement>41-41</switch>41-41</statement>42-42"},
    {"labels_defer_go_and_labelled_break",
     "L:\n"
     "\tx := 1\n"
     "\tdefer f()\n"
     "\tgo g()\n"
     "outer:\n"
     "\tfor {\n"
     "\t\tbreak outer\n"
     "\t}",
     true, no_error,
     "<statement>1-1<label/>1-2<code/>5-29<label/>31-36<for>39-41<statement>47-51<break/>47-57</"
     "statement>60-60</for>60-60</statement>61-61"},
    {"labelled_continue_goto_and_a_comment_opening_a_block",
     "loop:\n"
     "\tfor i := range xs {\n"
     "\t\t// skip odd ones\n"
     "\t\tif i%2 == 1 {\n"
     "\t\t\tcontinue loop\n"
     "\t\t}\n"
     "\t}\n"
     "\tgoto loop",
     true, no_error,
     "<statement>1-4<label/>1-5<for>8-24<statement>49-50<if>49-59<statement>66-73<continue/>66-78</"
     "statement>82-82</if>82-82</statement>85-85</for>85-85<goto/>88-96</statement>97-97"},
    {"switch_with_init",
     "switch x := f(); x {\n"
     "case 1:\n"
     "\treturn\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-18<case/>22-28<statement>31-36<return/>31-36</statement>38-38</"
     "switch>38-38</statement>39-39"},
    {"body_statements_alone",
     "x := 1\n"
     "return x",
     true, no_error, "<statement>1-1<code/>1-6<return/>8-15</statement>16-16"},
    {"missing_operand",
     "if x > {\n"
     "}\n",
     false, "here should be Identifier", "<statement>1-2"},
    // The function framing closes the loop the text left open; that does not make it whole.
    {"body_left_open",
     "x := 1\n"
     "for {\n"
     "\tb()\n",
     false, "here should be \"}\"",
     "<statement>1-1<code/>1-6<for>8-10<statement>15-15<code/>15-17"},
    {"whole_method_charts_its_body",
     "func (q *Queue) Len() int {\n"
     "\tif q == nil {\n"
     "\t\treturn 0\n"
     "\t}\n"
     "\treturn len(q.items)\n"
     "}\n",
     true, no_error,
     "<statement>30-31<if>30-40<statement>46-51<return/>46-53</statement>56-56</if>56-56<return/"
     ">59-77</statement>81-81"},
};

class GoGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(GoGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(go_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, GoGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
