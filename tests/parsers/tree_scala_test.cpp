// Scala through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_scala.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"if_else_if_else_chain",
     "if (n < 0) sign = -1\n"
     "else if (n == 0) { sign = 0 }\n"
     "else sign = 1",
     true, no_error,
     "<statement>1-2<if>1-10<statement>12-15<code/>12-20</"
     "statement>19-20<statement>27-28<if>27-37<statement>41-44<code/>41-48</"
     "statement>50-50<statement>57-60<code/>57-64</statement>64-64</if>64-64</statement>64-64</"
     "if>64-64</statement>65-65"},
    {"match_with_alternatives_guard_and_wildcard",
     "token match {\n"
     "  case Ident(name) | Keyword(name) => emit(name)\n"
     "  case Number(v) if v > max =>\n"
     "    overflow = true\n"
     "    emit(max)\n"
     "  case _ => return None\n"
     "}",
     true, no_error,
     "<statement>1-5<switch>1-11<case/>17-51<statement>53-56<code/>53-62</statement>66-69<case/"
     ">66-93<statement>99-106<code/>99-127</statement>131-134<else/"
     ">131-139<statement>141-146<return/>141-151</statement>153-153</switch>153-153</"
     "statement>154-154"},
    {"for_with_guard_and_for_yield",
     "for (i <- 0 until n; if i % 2 == 0) {\n"
     "  total += i\n"
     "}\n"
     "val ys = for (x <- xs) yield x * 2",
     true, no_error,
     "<statement>1-3<for>1-35<statement>41-45<code/>41-50</statement>52-52</for>52-52<code/>54-87</"
     "statement>88-88"},
    {"while_and_do_while",
     "do {\n"
     "  n -= 1\n"
     "} while (n > 0)\n"
     "while (it.hasNext) consume(it.next())",
     true, no_error,
     "<statement>1-2<dowhile>1-2<statement>8-8<code/>8-13</statement>15-15</"
     "dowhile>17-29<whiledo>31-48<statement>50-56<code/>50-67</statement>67-67</whiledo>67-67</"
     "statement>68-68"},
    {"try_with_cases_in_catch_and_finally",
     "try {\n"
     "  parse(text)\n"
     "} catch {\n"
     "  case e: NumberFormatException => None\n"
     "  case NonFatal(e) => throw new ParseError(e)\n"
     "} finally {\n"
     "  reader.close()\n"
     "}",
     true, no_error,
     "<statement>1-3<code/>9-19<except>23-27<statement>29-29<switch>29-29<case/"
     ">33-64<statement>66-69<code/>66-69</statement>73-76<case/>73-91<statement>93-97<exit/"
     ">93-115</statement>117-117</switch>117-117</statement>117-117</except>117-117<code/>131-144</"
     "statement>147-147"},
    {"scala3_if_then_else_and_while_do",
     "if count > limit then\n"
     "  flush()\n"
     "  count = 0\n"
     "else\n"
     "  count += 1\n"
     "while pending.nonEmpty do\n"
     "  run(pending.dequeue())",
     true, no_error,
     "<statement>1-2<if>1-21<statement>25-29<code/>25-43</statement>43-43<statement>52-56<code/"
     ">52-61</statement>61-61</if>61-61<whiledo>63-87<statement>91-93<code/>91-112</"
     "statement>112-112</whiledo>112-112</statement>113-113"},
    {"scala3_for_do_match_with_indented_cases_and_catch_case",
     "for line <- lines do\n"
     "  line match\n"
     "    case \"\" => blank += 1\n"
     "    case s => words += s.split(\" \").length\n"
     "try send() catch case e: IOException => retry()",
     true, no_error,
     "<statement>1-3<for>1-20<statement>24-27<switch>24-33<case/>39-48<statement>50-54<code/"
     ">50-59</statement>65-68<case/>65-73<statement>75-79<code/>75-102</statement>97-102</"
     "switch>97-102</statement>97-102</for>97-102<code/"
     ">108-113<except>115-142<statement>144-148<code/>144-150</statement>150-150</except>150-150</"
     "statement>151-151"},
    {"whole_function_charts_its_block",
     "private def lookup(key: String): Option[Int] = {\n"
     "  // cached first\n"
     "  if (cache.contains(key)) return cache.get(key)\n"
     "  load(key)\n"
     "}\n",
     true, no_error,
     "<statement>52-66<if>70-93<statement>95-100<return/>95-115</statement>115-115</"
     "if>115-115<code/>119-127</statement>131-131"},
    {"scala3_whole_function_charts_its_indented_block",
     "def drain(q: Queue[Int]): Unit =\n"
     "  while q.nonEmpty do\n"
     "    q.dequeue()\n"
     "end drain\n",
     true, no_error,
     "<statement>36-40<whiledo>36-54<statement>60-60<code/>60-70</statement>70-70</whiledo>70-70</"
     "statement>82-82"},
    {"function_of_one_match_charts_it",
     "def size(t: Tree): Int = t match {\n"
     "  case Leaf => 0\n"
     "  case Node(l, r) => size(l) + size(r) + 1\n"
     "}\n",
     true, no_error,
     "<statement>26-26<switch>26-32<case/>38-49<statement>51-51<code/>51-51</statement>55-58<case/"
     ">55-72<statement>74-77<code/>74-94</statement>96-96</switch>96-96</statement>98-98"},
    {"lambdas_and_nested_definitions",
     "def twice(x: Int) = x * 2\n"
     "xs.foreach { x => if (x > 0) println(x) }\n"
     "val f = (a: Int) => a + 1\n"
     "throw new IllegalStateException(\"done\")",
     true, no_error, "<statement>1-3<code/>1-25<code/>27-93<exit/>95-133</statement>134-134"},
    {"call_left_open_inside_a_case",
     "val x = 1\n"
     "x match {\n"
     "  case 1 => a(\n"
     "}\n",
     false, "syntax error",
     "<statement>1-3<code/>1-9<switch>11-17<case/>23-31<statement>33-33<code/>33-33"},
    {"missing_value", "val limit =\n", false, "syntax error", "<statement>1-3"},
    {"block_left_open",
     "step()\n"
     "while (more()) {\n"
     "  step()\n",
     false, "here should be \"}\"",
     "<statement>1-4<code/>1-6<whiledo>8-21<statement>27-30<code/>27-32"},
};

class ScalaGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(ScalaGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(scala_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, ScalaGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
