// Bash through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_bash.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

// The branches of `if` are the statements between `then` and the next branch; `until` loops test
// before their body; `return`, `break`, `continue` and `exit` are jumps by their command
// names; a `*)` case is the default branch; a loop's redirect is in the item that closes it.
const markup_case cases[] = {
    {"if_elif_else",
     "if [ -z \"$1\" ]; then\n"
     "  echo none; return 1\n"
     "elif [[ $1 == -h ]]; then\n"
     "  usage\n"
     "else\n"
     "  run \"$@\"\n"
     "fi",
     true, no_error,
     "<statement>1-2<if>1-20<statement>24-27<code/>24-32<return/>35-42</"
     "statement>44-47<statement>44-47<if>44-68<statement>72-76<code/>72-76</"
     "statement>72-76<statement>85-87<code/>85-92</statement>92-92</if>92-92</statement>92-92</"
     "if>94-95</statement>96-96"},
    {"if_on_one_line", "if test -f x; then rm x; fi", true, no_error,
     "<statement>1-2<if>1-18<statement>20-21<code/>20-23</statement>26-27</if>26-27</"
     "statement>28-28"},
    {"while_until_and_redirected_loop",
     "while read -r line; do\n"
     "  [ -n \"$line\" ] || continue\n"
     "  n=$((n+1))\n"
     "done < \"$file\"\n"
     "until ping -c1 host; do sleep 1; done",
     true, no_error,
     "<statement>1-5<whiledo>1-19<statement>26-26<code/>26-64</statement>66-69</"
     "whiledo>66-79<untildo>81-100<statement>105-109<code/>105-111</statement>114-117</"
     "untildo>114-117</statement>118-118"},
    {"for_in_and_c_style",
     "for f in *.txt; do\n"
     "  cat \"$f\"\n"
     "done\n"
     "for ((i = 0; i < 3; i++)); do\n"
     "  break 2\n"
     "done",
     true, no_error,
     "<statement>1-3<for>1-15<statement>22-24<code/>22-29</statement>31-34</"
     "for>31-34<for>36-61<statement>68-72<break/>68-74</statement>76-79</for>76-79</"
     "statement>80-80"},
    {"case_with_patterns_and_default",
     "case \"$1\" in\n"
     "  start|up)\n"
     "    begin ;;\n"
     "  stop) halt\n"
     "    ;;\n"
     "  *)\n"
     "    exit 2 ;;\n"
     "esac",
     true, no_error,
     "<statement>1-4<switch>1-12<case/>16-24<statement>30-34<code/>30-34</statement>41-44<case/"
     ">41-45<statement>47-50<code/>47-50</statement>61-61<else/>61-62<statement>68-71<exit/>68-73</"
     "statement>78-81</switch>78-81</statement>82-82"},
    {"lists_blocks_and_subshells_are_code",
     "[ -d \"$d\" ] && cd \"$d\" || exit 1\n"
     "{ echo a; echo b; } > out\n"
     "(cd /tmp && make)",
     true, no_error, "<statement>1-1<code/>1-76</statement>77-77"},
    {"function_charts_its_body",
     "cleanup() {\n"
     "  rm -f \"$tmp\"\n"
     "  exit 0\n"
     "}",
     true, no_error, "<statement>15-16<code/>15-26<exit/>30-35</statement>38-38"},
    {"function_keyword_and_nested_definition",
     "function main {\n"
     "  helper() { :; }\n"
     "  helper\n"
     "}",
     true, no_error, "<statement>19-24<code/>19-33<code/>37-42</statement>45-45"},
    {"select_loop",
     "select opt in a b; do\n"
     "  echo \"$opt\"\n"
     "done",
     true, no_error,
     "<statement>1-6<for>1-18<statement>25-28<code/>25-35</statement>37-40</for>37-40</"
     "statement>41-41"},
    {"then_left_out",
     "x=1\n"
     "if true\n"
     "  y\n"
     "fi\n",
     false, "syntax error", "<statement>1-1"},
    {"done_left_out",
     "for i in 1 2; do\n"
     "  echo $i\n",
     false, "syntax error", "<statement>1-3<for>1-13<statement>20-23<code/>20-26"},
    {"function_with_the_list_its_last_line_opens",
     "_f()\n"
     "{\n"
     "  local cur\n"
     "  return\n"
     "} &&\n",
     true, no_error, "<statement>10-14<code/>10-18<return/>22-27</statement>34-34"},
};

class BashGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(BashGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(bash_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, BashGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
