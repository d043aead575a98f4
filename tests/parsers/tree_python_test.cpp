// Python through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_python.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"if_elif_else",
     "if a:\n"
     "    x = 1\n"
     "elif b:\n"
     "    y = 2\n"
     "else:\n"
     "    return 3",
     true, no_error,
     "<statement>1-2<if>1-5<statement>11-11<code/>11-15</"
     "statement>15-15<statement>17-20<if>17-23<statement>29-29<code/>29-33</"
     "statement>33-33<statement>45-50<return/>45-52</statement>52-52</if>52-52</statement>52-52</"
     "if>52-52</statement>53-53"},
    {"for_else",
     "for i in r:\n"
     "    break\n"
     "else:\n"
     "    f()",
     true, no_error,
     "<statement>1-3<for>1-11<statement>17-21<break/>17-21</statement>17-21</"
     "for>17-21<if>23-27<statement>33-33<code/>33-35</statement>35-35</if>35-35</statement>36-36"},
    {"while_else",
     "while x:\n"
     "    x -= 1\n"
     "else:\n"
     "    pass",
     true, no_error,
     "<statement>1-5<whiledo>1-8<statement>14-14<code/>14-19</statement>19-19</"
     "whiledo>19-19<if>21-25<statement>31-34<code/>31-34</statement>31-34</if>31-34</"
     "statement>35-35"},
    {"try_except_else_finally",
     "try:\n"
     "    a()\n"
     "except E as e:\n"
     "    raise\n"
     "else:\n"
     "    b()\n"
     "finally:\n"
     "    c()",
     true, no_error,
     "<statement>1-3<code/>10-12<except>14-27<statement>33-37<exit/>33-37</statement>33-37</"
     "except>33-37<code/>49-68</statement>69-69"},
    {"with_as_sequence",
     "with open(p) as f, lock:\n"
     "    g(f)",
     true, no_error, "<statement>1-4<code/>1-33</statement>34-34"},
    {"match_with_guard_and_wildcard",
     "match c:\n"
     "    case 1 | 2 if x:\n"
     "        pass\n"
     "    case _:\n"
     "        return",
     true, no_error,
     "<statement>1-5<switch>1-8<case/>14-29<statement>39-42<code/>39-42</statement>48-51<else/"
     ">48-54<statement>64-69<return/>64-69</statement>64-69</switch>64-69</statement>70-70"},
    {"async_for",
     "async for i in s:\n"
     "    continue",
     true, no_error,
     "<statement>1-5<for>1-17<statement>23-30<continue/>23-30</statement>23-30</for>23-30</"
     "statement>31-31"},
    {"decorated_definition_and_multiline_statement",
     "@dec\n"
     "def f():\n"
     "    return 1\n"
     "x = [\n"
     "    1,\n"
     "]",
     true, no_error, "<statement>1-1<code/>1-26<code/>28-41</statement>42-42"},
    {"indented_body",
     "        total = 0\n"
     "        for item in items:\n"
     "            if not item:\n"
     "                continue\n"
     "            total += item\n"
     "        return total",
     true, no_error,
     "<statement>9-13<code/>9-17<for>27-44<statement>58-59<if>58-69<statement>87-94<continue/"
     ">87-94</statement>87-94</if>87-94<code/>108-120</statement>117-120</for>117-120<return/"
     ">130-141</statement>142-142"},
    {"whole_function_charts_its_body",
     "def area(self):\n"
     "    \"\"\"The area.\"\"\"\n"
     "    return self.w * self.h",
     true, no_error, "<statement>21-23<code/>21-35<return/>41-62</statement>63-63"},
    {"indented_decorated_method_charts_its_body",
     "    @property\n"
     "    def m(self):\n"
     "        if a:\n"
     "            return 1\n",
     true, no_error,
     "<statement>40-41<if>40-44<statement>58-63<return/>58-65</statement>65-65</if>65-65</"
     "statement>67-67"},
    {"comment_after_a_header_and_at_the_end_of_a_block",
     "if a:  # why\n"
     "    b()\n"
     "    # later\n"
     "c()",
     true, no_error,
     "<statement>1-2<if>1-5<statement>18-18<code/>18-20</statement>20-20</if>20-20<code/>34-36</"
     "statement>37-37"},
    {"async_with_then_nested_definitions_one_box_each",
     "async with lock:\n"
     "    x = 1\n"
     "def g():\n"
     "    pass\n"
     "class C:\n"
     "    pass\n"
     "y = 2",
     true, no_error,
     "<statement>1-5<code/>1-26<code/>28-44<code/>46-62<code/>64-68</statement>69-69"},
    {"guarded_wildcard_is_a_case_and_raise_leaves",
     "match c:\n"
     "    case _ if x:\n"
     "        raise E\n"
     "    case _:\n"
     "        pass",
     true, no_error,
     "<statement>1-5<switch>1-8<case/>14-25<statement>35-39<exit/>35-41</statement>47-50<else/"
     ">47-53<statement>63-66<code/>63-66</statement>63-66</switch>63-66</statement>67-67"},
    {"comments_between_statements",
     "x = 1  # one\n"
     "# two\n"
     "y = 2",
     true, no_error, "<statement>1-1<code/>1-24</statement>25-25"},
    {"error_stops_before_the_statement",
     "if x >:\n"
     "    y = 1",
     false, "syntax error", "<statement>1-2"},
    {"missing_bracket_at_the_end", "x = (1,\n", false, "syntax error", "<statement>1-1"},
    // The grammar reads a header without its indented block; the language does not.
    {"block_left_out",
     "x = 1\n"
     "if a:\n"
     "y = 2",
     false, "syntax error", "<statement>1-1<code/>1-5<if>7-11"},
};

class PythonGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(PythonGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(python_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, PythonGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
