// Swift through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_swift.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

// `guard` is a conditional whose branch taken is empty and whose block runs on the other;
// `repeat ... while` tests after its body; `fallthrough` jumps into the next case; `defer`,
// closures and `if` used as a value are code.
const markup_case cases[] = {
    {"if_else_if_else",
     "if let v = opt {\n"
     "    use(v)\n"
     "} else if a < 2 {\n"
     "    return\n"
     "} else {\n"
     "    b()\n"
     "}",
     true, no_error,
     "<statement>1-2<if>1-14<statement>22-24<code/>22-27</"
     "statement>29-29<statement>31-34<if>36-43<statement>51-56<return/>51-56</"
     "statement>58-58<statement>60-63<code/>71-73</statement>75-75</if>75-75</statement>75-75</"
     "if>75-75</statement>76-76"},
    {"guard_runs_its_block_when_the_condition_fails",
     "guard a > 0 else { return 0 }\n"
     "guard let b = opt, b > 1 else {\n"
     "    throw E.bad\n"
     "}\n"
     "f(b)",
     true, no_error,
     "<statement>1-5<if>1-16<statement>16-16</statement>16-16<statement>20-25<return/>20-27</"
     "statement>29-29</if>29-29<if>31-59<statement>59-59</statement>59-59<statement>67-71<exit/"
     ">67-77</statement>79-79</if>79-79<code/>81-84</statement>85-85"},
    {"switch_with_patterns_where_and_default",
     "switch a {\n"
     "case 1, 2:\n"
     "    fallthrough\n"
     "case let v where v > 10:\n"
     "    break\n"
     "default:\n"
     "    w()\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-8<case/>12-21<statement>27-37<goto/>27-37</statement>39-42<case/"
     ">39-62<statement>68-72<break/>68-72</statement>74-80<else/>74-81<statement>87-87<code/"
     ">87-89</statement>91-91</switch>91-91</statement>92-92"},
    {"unknown_default_and_compile_conditions",
     "switch a {\n"
     "case .x:\n"
     "    f()\n"
     "@unknown default:\n"
     "    g()\n"
     "}\n"
     "#if DEBUG\n"
     "h()\n"
     "#endif",
     true, no_error,
     "<statement>1-6<switch>1-8<case/>12-19<statement>25-25<code/>25-27</statement>29-29<else/"
     ">29-45<statement>51-51<code/>51-53</statement>55-55</switch>55-55<code/>57-76</"
     "statement>77-77"},
    {"labelled_for_in_while_repeat",
     "outer: for i in 0..<3 where i > 0 {\n"
     "    while a > 0 { continue outer }\n"
     "    repeat { a -= 1 } while a > 0\n"
     "}",
     true, no_error,
     "<statement>1-6<label/>1-6<for>8-33<statement>41-45<whiledo>41-51<statement>55-62<continue/"
     ">55-68</statement>70-70</whiledo>70-70<dowhile>76-81<statement>85-85<code/>85-90</"
     "statement>92-92</dowhile>94-104</statement>106-106</for>106-106</statement>107-107"},
    {"do_catch",
     "do {\n"
     "    try g()\n"
     "} catch E.bad {\n"
     "    h()\n"
     "} catch {\n"
     "}",
     true, no_error,
     "<statement>1-2<code/>10-16<except>20-30<statement>38-38<code/>38-40</statement>42-42</"
     "except>42-42<except>44-48<statement>52-52</statement>52-52</except>52-52</statement>53-53"},
    {"defer_closures_and_if_expressions_are_code",
     "defer { cleanup() }\n"
     "let q = if a { 1 } else { 2 }\n"
     "let c = { (x: Int) in x + 1 }",
     true, no_error, "<statement>1-5<code/>1-79</statement>80-80"},
    {"empty_blocks",
     "if a {\n"
     "} else {\n"
     "}\n"
     "while b {}",
     true, no_error,
     "<statement>1-2<if>1-4<statement>8-8</statement>8-8<statement>10-13</statement>17-17</"
     "if>17-17<whiledo>19-25<statement>28-28</statement>28-28</whiledo>28-28</statement>29-29"},
    {"function_charts_its_body",
     "func area() -> Double {\n"
     "    return w * h\n"
     "}",
     true, no_error, "<statement>29-34<return/>29-40</statement>43-43"},
    {"deinitializer_marked_alone_charts_its_body",
     "    deinit {\n"
     "        observer.stop()\n"
     "    }\n",
     true, no_error, "<statement>22-29<code/>22-36</statement>44-44"},
    {"method_in_a_class_is_one_box",
     "class C {\n"
     "    func f() {}\n"
     "}\n"
     "x = 1",
     true, no_error, "<statement>1-5<code/>1-27<code/>29-33</statement>34-34"},
    {"brace_left_out",
     "x = 1\n"
     "if a {\n"
     "    b()\n",
     false, "here should be \"}\"", "<statement>1-1<code/>1-5<if>7-10<statement>18-18<code/>18-20"},
    {"error_in_condition",
     "y()\n"
     "while a > {\n"
     "}\n",
     false, "syntax error", "<statement>1-1<code/>1-3"},
};

class SwiftGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(SwiftGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(swift_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, SwiftGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
