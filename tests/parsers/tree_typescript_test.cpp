// TypeScript and TSX through the syntax-tree reader: a snippet per construct, with its exact
// markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_typescript.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"if_else_if_else", "if (a) { x = 1; } else if (b) y(); else { return; }", true, no_error,
     "<statement>1-2<if>1-6<statement>10-10<code/>10-15</"
     "statement>17-17<statement>24-25<if>24-29<statement>31-31<code/>31-34</"
     "statement>34-34<statement>43-48<return/>43-49</statement>51-51</if>51-51</statement>51-51</"
     "if>51-51</statement>52-52"},
    {"for_clauses",
     "for (let i = 0; i < n; i++) {\n"
     "  continue;\n"
     "}",
     true, no_error,
     "<statement>1-3<for>1-27<statement>33-40<continue/>33-41</statement>43-43</for>43-43</"
     "statement>44-44"},
    {"for_await_of", "for await (const x of xs) break;", true, no_error,
     "<statement>1-3<for>1-25<statement>27-31<break/>27-32</statement>32-32</for>32-32</"
     "statement>33-33"},
    {"do_while",
     "do {\n"
     "  x--;\n"
     "} while (x > 0);",
     true, no_error,
     "<statement>1-2<dowhile>1-2<statement>8-8<code/>8-11</statement>13-13</dowhile>15-28</"
     "statement>29-29"},
    {"switch_with_fallthrough_and_default",
     "switch (k) {\n"
     "  case 1:\n"
     "    n++;\n"
     "    break;\n"
     "  default:\n"
     "    n = 0;\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-10<case/>16-22<statement>28-28<code/>28-31<break/>37-42</"
     "statement>46-52<else/>46-53<statement>59-59<code/>59-64</statement>66-66</switch>66-66</"
     "statement>67-67"},
    {"try_catch_finally",
     "try {\n"
     "  f();\n"
     "} catch (e: unknown) {\n"
     "  throw e;\n"
     "} finally {\n"
     "  g();\n"
     "}",
     true, no_error,
     "<statement>1-3<code/>9-12<except>16-33<statement>39-43<exit/>39-46</statement>48-48</"
     "except>48-48<code/>62-65</statement>68-68"},
    {"labelled_loop_and_break",
     "outer: while (true) {\n"
     "  break outer;\n"
     "}",
     true, no_error,
     "<statement>1-5<label/>1-6<whiledo>8-19<statement>25-29<break/>25-36</statement>38-38</"
     "whiledo>38-38</statement>39-39"},
    {"types_enums_interfaces_satisfies_optional_chaining",
     "const v = (a as Foo) satisfies Bar;\n"
     "enum E { A }\n"
     "interface I { x: number }\n"
     "const n = a?.b?.(c) ?? d!;",
     true, no_error,
     "<statement>1-5<code/>1-35<code/>37-48<code/>50-74<code/>76-101</statement>102-102"},
    {"whole_function_charts_its_body",
     "function f<T>(x: T): T {\n"
     "  return x;\n"
     "}",
     true, no_error, "<statement>28-33<return/>28-36</statement>39-39"},
    {"comment_after_the_opening_brace",
     "while (a) {\n"
     "  // note\n"
     "  a--;\n"
     "}",
     true, no_error,
     "<statement>1-5<whiledo>1-9<statement>25-25<code/>25-28</statement>30-30</whiledo>30-30</"
     "statement>31-31"},
    {"decorated_method_alone_charts_its_body",
     "  @log\n"
     "  run(): number {\n"
     "    return 1;\n"
     "  }",
     true, no_error, "<statement>30-35<return/>30-38</statement>43-43"},
    {"default_export_charts_its_body",
     "export default function f() {\n"
     "  return 1;\n"
     "}\n",
     true, no_error, "<statement>33-38<return/>33-41</statement>45-45"},
    {"block_left_open",
     "while (a) {\n"
     "  b();\n",
     false, "here should be \"}\"", "<statement>1-5<whiledo>1-9<statement>15-15<code/>15-18"},
    {"missing_operand",
     "if (x > ) {\n"
     "  y();\n"
     "}\n",
     false, "here should be Identifier", "<statement>1-2"},
    {"method_alone_reads_inside_a_class",
     "  largest(limit?: number): number {\n"
     "    if (limit) {\n"
     "      return limit;\n"
     "    }\n"
     "    return 0;\n"
     "  }",
     true, no_error,
     "<statement>41-42<if>41-50<statement>60-65<return/>60-72</statement>78-78</if>78-78<return/"
     ">84-92</statement>97-97"},
    {"arrow_function_bound_to_a_name",
     "export const handler = async (req: Request) => {\n"
     "  for (const k in req) {\n"
     "    await send(k);\n"
     "  }\n"
     "};\n",
     true, no_error,
     "<statement>52-54<for>52-71<statement>79-83<code/>79-92</statement>96-96</for>96-96</"
     "statement>101-101"},
    // A class field holding an arrow function, marked alone, charts the function's body.
    {"class_field_arrow_function",
     "  onClick = (e: Event) => {\n"
     "    if (e.defaultPrevented) {\n"
     "      return;\n"
     "    }\n"
     "    this.count++;\n"
     "  };",
     true, no_error,
     "<statement>33-34<if>33-55<statement>65-70<return/>65-71</statement>77-77</if>77-77<code/"
     ">83-95</statement>101-101"},
    // A method of an object literal, marked with the comma after it, charts its body.
    {"object_literal_method",
     "  setTimeout(handler: () => void) {\n"
     "    if (handler) {\n"
     "      return 1;\n"
     "    }\n"
     "  },",
     true, no_error,
     "<statement>41-42<if>41-52<statement>62-67<return/>62-70</statement>76-76</if>76-76</"
     "statement>82-82"},
};

class TypescriptGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(TypescriptGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(typescript_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, TypescriptGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

// JSX is TSX's alone; its elements are plain code, a return of one a jump.
TEST(TsxReader, ChartsJsxAsCode) {
    Ttreesparser parser(tsx_grammar());
    parser_cases::expect_markup(
        parser, {"jsx",
                 "if (busy) {\n"
                 "  return <Spinner size=\"large\" />;\n"
                 "}\n"
                 "const items = rows.map((r) => <li key={r}>{r}</li>);\n"
                 "return (\n"
                 "  <ul>\n"
                 "    {items}\n"
                 "  </ul>\n"
                 ");\n",
                 true, no_error,
                 "<statement>1-2<if>1-9<statement>15-20<return/>15-46</statement>48-48</"
                 "if>48-48<code/>50-101<return/>103-140</statement>142-142"});
}

}  // namespace
}  // namespace tarnwell
