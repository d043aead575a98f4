// Lua through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_lua.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"if_elseif_else",
     "if n < 0 then\n"
     "  sign = -1\n"
     "elseif n == 0 then\n"
     "  return 0\n"
     "else\n"
     "  sign = 1\n"
     "end",
     true, no_error,
     "<statement>1-2<if>1-13<statement>17-20<code/>17-25</"
     "statement>25-25<statement>27-32<if>27-44<statement>48-53<return/>48-55</"
     "statement>55-55<statement>64-67<code/>64-71</statement>71-71</if>71-71</statement>71-71</"
     "if>73-75</statement>76-76"},
    {"empty_branch_taken",
     "if x then else y() end\n"
     "if a then\n"
     "elseif b then\n"
     "  z()\n"
     "end\n",
     true, no_error,
     "<statement>1-2<if>1-9<statement>11-14</statement>11-14<statement>16-16<code/>16-18</"
     "statement>18-18</if>20-22<if>24-32<statement>34-39</statement>34-39<statement>34-39<if>34-"
     "46<statement>50-50<code/>50-52</statement>52-52</if>52-52</statement>52-52</if>54-56</"
     "statement>58-58"},
    {"while_and_both_fors",
     "while i > 0 do\n"
     "  i = i - 1\n"
     "end\n"
     "for i = 1, 10, 2 do\n"
     "  s = s + i\n"
     "end\n"
     "for k, v in pairs(t) do\n"
     "  if v then break end\n"
     "end",
     true, no_error,
     "<statement>1-5<whiledo>1-14<statement>18-18<code/>18-26</statement>26-26</"
     "whiledo>28-30<for>32-50<statement>54-54<code/>54-62</statement>62-62</"
     "for>64-66<for>68-90<statement>94-95<if>94-102<statement>104-108<break/>104-108</"
     "statement>104-108</if>110-112</statement>110-112</for>114-116</statement>117-117"},
    {"repeat_until",
     "repeat\n"
     "  line = read()\n"
     "until line == nil",
     true, no_error,
     "<statement>1-6<dountil>1-6<statement>10-13<code/>10-22</statement>22-22</dountil>24-40</"
     "statement>41-41"},
    {"goto_and_label",
     "for i = 1, 3 do\n"
     "  if skip(i) then goto continue end\n"
     "  use(i)\n"
     "  ::continue::\n"
     "end",
     true, no_error,
     "<statement>1-3<for>1-15<statement>19-20<if>19-33<statement>35-38<goto/>35-47</"
     "statement>40-47</if>49-51<code/>55-60<label/>64-75</statement>74-75</for>77-79</"
     "statement>80-80"},
    {"do_block",
     "do\n"
     "  local t = {}\n"
     "  t.x = 1\n"
     "end\n"
     "return t",
     true, no_error, "<statement>1-2<code/>1-31<return/>33-40</statement>41-41"},
    {"local_function",
     "local function count(t)\n"
     "  local n = 0\n"
     "  for _ in pairs(t) do n = n + 1 end\n"
     "  return n\n"
     "end\n",
     true, no_error,
     "<statement>27-31<code/>27-37<for>41-60<statement>62-62<code/>62-70</statement>70-70</"
     "for>72-74<return/>78-85</statement>91-91"},
    {"method",
     "function M:push(v)\n"
     "  self.n = self.n + 1\n"
     "  self[self.n] = v\n"
     "end\n",
     true, no_error, "<statement>22-25<code/>22-59</statement>65-65"},
    {"function_value",
     "M.wrap = function(f)\n"
     "  return function(...) return f(...) end\n"
     "end\n",
     true, no_error, "<statement>24-29<return/>24-61</statement>67-67"},
    {"body_alone",
     "local x = select(\"#\", ...)\n"
     "return x",
     true, no_error, "<statement>1-5<code/>1-26<return/>28-35</statement>36-36"},
    {"missing_operand",
     "if x > then\n"
     "  y()\n"
     "end",
     false, "syntax error", "<statement>1-2"},
    {"loop_left_open",
     "x = 1\n"
     "while x do\n"
     "  f()\n",
     false, "syntax error", "<statement>1-1<code/>1-5"},
    {"table_with_function",
     "local t = {\n"
     "  a = function() return 1 end,\n"
     "}\n"
     "print(t)",
     true, no_error, "<statement>1-5<code/>1-53</statement>54-54"},
    {"hash_bang_line",
     "#!/usr/bin/env lua\n"
     "-- prints its arguments\n"
     "for i = 1, #arg do\n"
     "  print(arg[i])\n"
     "end\n",
     true, no_error,
     "<statement>1-18<for>44-61<statement>65-69<code/>65-77</statement>77-77</for>79-81</"
     "statement>83-83"},
};

class LuaGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(LuaGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(lua_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, LuaGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
