// Ruby through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_ruby.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

// The body of `unless` stands on the branch its condition fails, its else on the other; a
// modifier's header follows the body it guards or repeats; `begin ... end while` tests after its
// body. `loop` and the iterating calls with a block are loops, `map` with a block and `each`
// without one are code.
const markup_case cases[] = {
    {"if_elsif_else",
     "if a > 1\n"
     "  x = 1\n"
     "elsif b\n"
     "  y\n"
     "else\n"
     "  return z\n"
     "end",
     true, no_error,
     "<statement>1-2<if>1-8<statement>12-12<code/>12-16</"
     "statement>16-16<statement>18-22<if>18-24<statement>28-28<code/>28-28</"
     "statement>28-28<statement>37-42<return/>37-44</statement>44-44</if>44-44</statement>44-44</"
     "if>46-48</statement>49-49"},
    {"unless_else",
     "unless ok then warn\n"
     "else go end",
     true, no_error,
     "<statement>1-6<if>1-9<statement>26-27<code/>26-27</statement>26-27<statement>16-19<code/"
     ">16-19</statement>16-19</if>29-31</statement>32-32"},
    {"modifiers",
     "return x if y\n"
     "puts 1 unless done\n"
     "i += 1 while i < n\n"
     "i -= 1 until i.zero?",
     true, no_error,
     "<statement>1-6<if>10-13<statement>1-6<return/>1-8</statement>8-8</"
     "if>13-13<if>22-32<statement>32-32</statement>32-32<statement>15-18<code/>15-20</"
     "statement>20-20</if>29-32<whiledo>41-51<statement>34-34<code/>34-39</statement>39-39</"
     "whiledo>51-51<untildo>60-72<statement>53-53<code/>53-58</statement>58-58</untildo>68-72</"
     "statement>73-73"},
    {"begin_end_while_runs_before_its_test",
     "begin\n"
     "  n -= 1\n"
     "end while n > 0",
     true, no_error,
     "<statement>1-5<dowhile>1-5<statement>1-5<code/>9-14</statement>16-18</dowhile>20-30</"
     "statement>31-31"},
    {"begin_end_until",
     "begin\n"
     "  n += 1\n"
     "end until n > 9",
     true, no_error,
     "<statement>1-5<dountil>1-5<statement>1-5<code/>9-14</statement>16-18</dountil>20-30</"
     "statement>31-31"},
    {"while_until_for",
     "while a do b end\n"
     "until c\n"
     "  d\n"
     "end\n"
     "for i in 1..3\n"
     "  next if i == 2\n"
     "end",
     true, no_error,
     "<statement>1-5<whiledo>1-7<statement>12-12<code/>12-12</statement>14-16</"
     "whiledo>14-16<untildo>18-24<statement>28-28<code/>28-28</statement>30-32</"
     "untildo>30-32<for>34-46<statement>50-53<if>55-63<statement>50-53<continue/>50-53</"
     "statement>50-53</if>63-63</statement>65-67</for>65-67</statement>68-68"},
    {"case_when_else",
     "case x\n"
     "when 1, 2 then a\n"
     "when String\n"
     "  b\n"
     "else\n"
     "  c\n"
     "end",
     true, no_error,
     "<statement>1-4<switch>1-6<case/>8-16<statement>23-23<code/>23-23</statement>25-28<case/"
     ">25-35<statement>39-39<code/>39-39</statement>41-44<else/>41-44<statement>48-48<code/>48-48</"
     "statement>50-52</switch>50-52</statement>53-53"},
    {"case_in_with_guard",
     "case y\n"
     "in [a, b] if a > 0\n"
     "  d\n"
     "in {k:}\n"
     "  e\n"
     "end",
     true, no_error,
     "<statement>1-4<switch>1-6<case/>8-25<statement>29-29<code/>29-29</statement>31-32<case/"
     ">31-37<statement>41-41<code/>41-41</statement>43-45</switch>43-45</statement>46-46"},
    {"begin_rescue_retry_else_ensure",
     "begin\n"
     "  g\n"
     "rescue A, B => e\n"
     "  retry\n"
     "rescue\n"
     "  h\n"
     "else\n"
     "  i\n"
     "ensure\n"
     "  j\n"
     "end",
     true, no_error,
     "<statement>1-5<code/>9-9<except>11-26<statement>30-34<goto/>30-34</statement>30-34</"
     "except>30-34<except>36-41<statement>45-45<code/>45-45</statement>45-45</except>45-45<code/"
     ">54-65</statement>70-70"},
    {"loop_and_iterations",
     "loop do\n"
     "  break if done\n"
     "end\n"
     "3.times { |i| f(i) }\n"
     "items.each_with_index do |x, i|\n"
     "  redo\n"
     "end",
     true, no_error,
     "<statement>1-4<whiledo>1-7<statement>11-15<if>17-23<statement>11-15<break/>11-15</"
     "statement>11-15</if>20-23</statement>20-23</whiledo>25-27<for>29-41<statement>43-43<code/"
     ">43-46</statement>46-46</for>48-48<for>50-80<statement>84-87<continue/>84-87</"
     "statement>84-87</for>89-91</statement>92-92"},
    {"scan_with_a_block_is_a_loop",
     "line.scan(/\\w+/) do |word|\n"
     "  words << word\n"
     "end",
     true, no_error,
     "<statement>1-4<for>1-26<statement>30-34<code/>30-42</statement>39-42</for>44-46</"
     "statement>47-47"},
    {"calls_that_build_values_and_iterations_without_block",
     "ys = xs.map do |x| x * 2 end\n"
     "xs.each(&:save)\n"
     "loop",
     true, no_error, "<statement>1-2<code/>1-49</statement>50-50"},
    {"raise_and_exit",
     "raise ArgumentError, \"bad\" if x.nil?\n"
     "raise\n"
     "exit 1",
     true, no_error,
     "<statement>1-5<if>28-36<statement>1-5<exit/>1-26</statement>26-26</if>33-36<exit/>38-42<exit/"
     ">44-49</statement>50-50"},
    {"method_rescue_charts_its_body",
     "def load(path)\n"
     "  File.read(path)\n"
     "rescue Errno::ENOENT\n"
     "  nil\n"
     "end",
     true, no_error,
     "<statement>18-21<code/>18-32<except>34-53<statement>57-59<code/>57-59</statement>57-59</"
     "except>57-59</statement>64-64"},
    {"body_marked_with_the_rescue_and_ensure_of_its_method",
     "  x = load\n"
     "rescue IOError => e\n"
     "  warn e\n"
     "ensure\n"
     "  close\n",
     true, no_error,
     "<statement>3-3<code/>3-10<except>12-30<statement>34-37<code/>34-39</statement>39-39</"
     "except>39-39<code/>50-54</statement>56-56"},
    {"private_method_charts_its_body",
     "  private def helper(a)\n"
     "    return a unless a.nil?\n"
     "  end\n",
     true, no_error,
     "<statement>29-34<if>38-50<statement>50-50</statement>50-50<statement>29-34<return/>29-36</"
     "statement>36-36</if>47-50</statement>58-58"},
    {"singleton_method_and_nested_definitions",
     "def self.build\n"
     "  class Inner; end\n"
     "  def helper; end\n"
     "  Inner.new\n"
     "end",
     true, no_error, "<statement>18-22<code/>18-33<code/>37-51<code/>55-63</statement>68-68"},
    {"modifier_on_a_value",
     "x = y rescue z\n"
     "v = a ? b : c",
     true, no_error, "<statement>1-1<code/>1-28</statement>29-29"},
    {"error_in_condition",
     "x = 1\n"
     "if (a\n"
     "  b\n"
     "end",
     false, "syntax error", "<statement>1-1<code/>1-5"},
    {"end_left_out",
     "while a\n"
     "  b\n",
     false, "syntax error", "<statement>1-5<whiledo>1-7<statement>11-11<code/>11-11"},
};

class RubyGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(RubyGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(ruby_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, RubyGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
