// Rust through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_rust.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"if_else_if_let_else", "if a { x = 1; } else if let Some(v) = b { y(); } else { return; }",
     true, no_error,
     "<statement>1-2<if>1-4<statement>8-8<code/>8-13</"
     "statement>15-15<statement>22-23<if>22-39<statement>43-43<code/>43-46</"
     "statement>48-48<statement>57-62<return/>57-63</statement>65-65</if>65-65</statement>65-65</"
     "if>65-65</statement>66-66"},
    {"let_else",
     "let Some(x) = y else { return };\n"
     "let z = 1;",
     true, no_error,
     "<statement>1-3<if>1-20<statement>24-29<return/>24-29</statement>31-31</if>32-32<code/>34-43</"
     "statement>44-44"},
    {"match_with_guard_and_wildcard",
     "match k {\n"
     "    1 => n += 1,\n"
     "    v if v > 2 => { n = 0; }\n"
     "    _ => return,\n"
     "}",
     true, no_error,
     "<statement>1-5<switch>1-7<case/>15-18<statement>20-20<code/>20-25</statement>32-32<case/"
     ">32-44<statement>48-48<code/>48-53</statement>61-61<else/>61-64<statement>66-71<return/"
     ">66-71</statement>74-74</switch>74-74</statement>75-75"},
    {"labelled_loop_break_with_value",
     "'outer: loop {\n"
     "    break 'outer 5;\n"
     "}",
     true, no_error,
     "<statement>1-1<whiledo>1-12<statement>20-24<break/>20-34</statement>36-36</whiledo>36-36</"
     "statement>37-37"},
    {"labelled_continue_comment_and_return_as_tail",
     "'rows: for r in rows {\n"
     "    if r.is_empty() { continue 'rows; }\n"
     "    // counted\n"
     "    n += 1;\n"
     "}\n"
     "return n",
     true, no_error,
     "<statement>1-1<for>1-20<statement>28-29<if>28-42<statement>46-53<continue/>46-60</"
     "statement>62-62</if>62-62<code/>83-89</statement>91-91</for>91-91<return/>93-100</"
     "statement>101-101"},
    {"arms_of_a_block_a_unit_and_an_empty_block",
     "match v {\n"
     "    Some(x) if x > 0 => {\n"
     "        f(x);\n"
     "    }\n"
     "    None => (),\n"
     "    _ => {}\n"
     "}",
     true, no_error,
     "<statement>1-5<switch>1-7<case/>15-33<statement>45-45<code/>45-49</statement>61-64<case/"
     ">61-67<statement>69-69<code/>69-70</statement>77-77<else/>77-80<statement>85-85</"
     "statement>85-85</switch>85-85</statement>86-86"},
    {"while_let_and_for_with_question_mark",
     "while let Some(x) = it.next() {\n"
     "    continue;\n"
     "}\n"
     "for i in 0..n {\n"
     "    f()?;\n"
     "}",
     true, no_error,
     "<statement>1-5<whiledo>1-29<statement>37-44<continue/>37-45</statement>47-47</"
     "whiledo>47-47<for>49-61<statement>69-69<code/>69-73</statement>75-75</for>75-75</"
     "statement>76-76"},
    {"closures_unsafe_and_async_blocks",
     "let c = |x| {\n"
     "    x + 1\n"
     "};\n"
     "unsafe {\n"
     "    g();\n"
     "}\n"
     "let fut = async { h().await };\n"
     "x",
     true, no_error, "<statement>1-3<code/>1-79</statement>80-80"},
    {"unsafe_block_as_tail_ends_at_its_brace",
     "let p = f();\n"
     "unsafe {\n"
     "    g(p)\n"
     "}",
     true, no_error, "<statement>1-3<code/>1-32</statement>33-33"},
    {"if_as_value_and_as_tail",
     "let x = if a { 1 } else { 2 };\n"
     "if y {\n"
     "    z\n"
     "} else {\n"
     "    w\n"
     "}",
     true, no_error,
     "<statement>1-3<code/>1-30<if>32-35<statement>43-43<code/>43-43</"
     "statement>45-45<statement>58-58<code/>58-58</statement>60-60</if>60-60</statement>61-61"},
    {"missing_expression", "let x = ;\n", false, "syntax error", "<statement>1-3"},
    {"block_left_open",
     "x();\n"
     "loop {\n"
     "  b();\n",
     false, "syntax error", "<statement>1-1<code/>1-4"},
    {"whole_function_with_tail_expression",
     "pub fn get(&self, i: usize) -> Option<&T> {\n"
     "    if i >= self.len { return None; }\n"
     "    self.items.get(i)\n"
     "}\n",
     true, no_error,
     "<statement>49-50<if>49-64<statement>68-73<return/>68-79</statement>81-81</if>81-81<code/"
     ">87-103</statement>107-107"},
};

class RustGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(RustGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(rust_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, RustGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
