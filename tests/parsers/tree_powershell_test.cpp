// PowerShell through the syntax-tree reader: a snippet per construct, with its exact markup.
#include <gtest/gtest.h>

#include "parser_cases.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_powershell.h"

namespace tarnwell {
namespace {

using parser_cases::markup_case;
using parser_cases::no_error;

const markup_case cases[] = {
    {"if_else",
     "if ($a) {\n"
     "  x\n"
     "} else {\n"
     "  y\n"
     "}",
     true, no_error,
     "<statement>1-2<if>1-7<statement>13-13<code/>13-13</statement>17-20<statement>26-26<code/"
     ">26-26</statement>28-28</if>28-28</statement>29-29"},
    {"switch_regex",
     "switch -regex ($line) {\n"
     "  \"^#\" { continue }\n"
     "  \"=\" { $kv++; break }\n"
     "  default { $other += $line }\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-23<case/>27-30<statement>34-41<continue/>34-41</"
     "statement>47-49<case/>47-49<statement>53-55<code/>53-58<break/>60-64</statement>70-76<else/"
     ">70-76<statement>80-85<code/>80-94</statement>98-98</switch>98-98</statement>99-99"},
    {"loops",
     "foreach ($f in $files) {\n"
     "  f $f\n"
     "}\n"
     "for ($i = 0; $i -lt 3; $i++) {\n"
     "  g $i\n"
     "}\n"
     "while ($q.Count) {\n"
     "  $q.Dequeue()\n"
     "}",
     true, no_error,
     "<statement>1-7<for>1-22<statement>28-28<code/>28-31</statement>33-33</"
     "for>33-33<for>35-62<statement>68-68<code/>68-71</statement>73-73</"
     "for>73-73<whiledo>75-90<statement>96-97<code/>96-107</statement>109-109</whiledo>109-109</"
     "statement>110-110"},
    {"do_while",
     "do {\n"
     "  $line = $r.ReadLine()\n"
     "  if ($line -eq $null) { break }\n"
     "} while ($true)\n",
     true, no_error,
     "<statement>1-2<dowhile>1-2<statement>8-12<code/>8-28<if>32-51<statement>55-59<break/>55-59</"
     "statement>55-59</if>61-61</statement>63-63</dowhile>65-77</statement>79-79"},
    {"elseif_chain_and_do_until",
     "if ($n -lt 0) {\n"
     "  $s = -1\n"
     "} elseif ($n -eq 0) {\n"
     "  return 0\n"
     "} elseif ($n -eq 1) {\n"
     "  $s = 2\n"
     "} else {\n"
     "  $s = 1\n"
     "}\n"
     "do {\n"
     "  $n--\n"
     "} until ($n -eq 0)\n",
     true, no_error,
     "<statement>1-2<if>1-13<statement>19-20<code/>19-25</statement>29-34<statement>29-34<if>29-45"
     "<statement>51-56<return/>51-58</statement>58-58<statement>62-67<if>62-78<statement>84-85"
     "<code/>84-89</statement>89-89<statement>102-103<code/>102-107</statement>109-109</if>109-109"
     "</statement>109-109</if>109-109</statement>109-109</if>109-109<dountil>111-112<statement>118-"
     "119<code/>118-121</statement>123-123</dountil>125-140</statement>142-142"},
    {"try",
     "try {\n"
     "  Get-Item $p\n"
     "} catch [System.IO.IOException] {\n"
     "  throw\n"
     "} catch {\n"
     "  Write-Warning $_\n"
     "} finally {\n"
     "  Close\n"
     "}",
     true, no_error,
     "<statement>1-3<code/>9-19<except>23-51<statement>57-61<exit/>57-61</statement>63-63</"
     "except>63-63<except>65-69<statement>75-87<code/>75-90</statement>92-92</except>92-92<code/"
     ">106-110</statement>113-113"},
    {"trap",
     "trap [System.Exception] {\n"
     "  \"failed\"\n"
     "  continue\n"
     "}\n"
     "Step-One\n"
     "exit 1",
     true, no_error,
     "<statement>1-4<except>1-23<statement>29-36<code/>29-36<continue/>40-47</statement>49-49</"
     "except>49-49<code/>51-58<exit/>60-65</statement>66-66"},
    {"named_blocks",
     "function Get-Total {\n"
     "  param([int[]]$Values)\n"
     "  begin { $sum = 0 }\n"
     "  process { $sum += $_ }\n"
     "  end { return $sum }\n"
     "}\n",
     true, no_error,
     "<statement>24-28<code/>24-65<for>69-75<statement>79-82<code/>79-88</statement>90-90</"
     "for>90-90<code/>94-96<return/>100-110</statement>116-116"},
    {"function",
     "function Test-Path2($p) {\n"
     "  if (-not $p) { return $false }\n"
     "  $true\n"
     "}\n",
     true, no_error,
     "<statement>29-30<if>29-40<statement>44-49<return/>44-56</statement>51-56</if>58-58<code/"
     ">62-66</statement>70-70"},
    {"label",
     ":outer foreach ($r in $rows) {\n"
     "  foreach ($c in $r) {\n"
     "    if ($c) { break }\n"
     "    if (-not $c) { continue }\n"
     "  }\n"
     "}",
     true, no_error,
     "<statement>1-6<label/"
     ">1-6<for>8-28<statement>34-40<for>34-51<statement>59-60<if>59-65<statement>69-73<break/"
     ">69-73</statement>69-73</if>75-75<if>81-92<statement>96-103<continue/>96-103</"
     "statement>96-103</if>105-105</statement>109-109</for>109-109</statement>111-111</"
     "for>111-111</statement>112-112"},
    {"error",
     "if ($x -gt) {\n"
     "}",
     false, "syntax error", "<statement>1-2"},
    {"block_left_open",
     "foreach ($x in $xs) {\n"
     "  f $x\n",
     false, "here should be \"}\"", "<statement>1-7<for>1-19<statement>25-25<code/>25-28"},
    {"capitalised_keywords",
     "function Get-Even {\n"
     "  Begin { $n = 0 }\n"
     "  Process {\n"
     "    if ($_ % 2) { Continue }\n"
     "    if ($_ -gt 100) { Break }\n"
     "    $n++\n"
     "  }\n"
     "  End { Return $n }\n"
     "}\n",
     true, no_error,
     "<statement>23-27<code/>23-38<for>42-48<statement>56-57<if>56-66<statement>70-77<continue/"
     ">70-77</statement>70-77</if>79-79<if>85-99<statement>103-107<break/>103-107</"
     "statement>103-107</if>109-109<code/>115-118</statement>122-122</for>122-122<code/"
     ">126-128<return/>132-140</statement>146-146"},
    {"switch_wildcard_capitalised_default",
     "switch -wildcard ($name) {\n"
     "  \"*.ps1\" { \"script\" }\n"
     "  Default { Throw \"unknown\" }\n"
     "}",
     true, no_error,
     "<statement>1-6<switch>1-26<case/>30-36<statement>40-47<code/>40-47</"
     "statement>53-59<else/>53-59<statement>63-67<exit/>63-77</statement>81-81</switch>81-81</"
     "statement>82-82"},
    {"class",
     "class Stack {\n"
     "  [int] $n = 0\n"
     "  [int] Pop() {\n"
     "    if ($this.n -eq 0) { throw \"empty\" }\n"
     "    return $this.items[--$this.n]\n"
     "  }\n"
     "}",
     true, no_error, "<statement>7-11<code/>17-28<code/>32-123</statement>126-126"},
    {"method_alone",
     "  [int] Pop() {\n"
     "    if ($this.n -eq 0) { throw \"empty\" }\n"
     "    return $this.items[--$this.n]\n"
     "  }",
     true, no_error,
     "<statement>21-22<if>21-38<statement>42-46<exit/>42-54</statement>48-54</if>56-56<return/"
     ">62-90</statement>95-95"},
    {"constructor_alone",
     "Stack() {\n"
     "    $this.items = @()\n"
     "}",
     true, no_error, "<statement>15-19<code/>15-31</statement>34-34"},
    {"empty_function", "function f { }\n", true, no_error,
     "<statement>1-8<code/>1-14</statement>16-16"},
};

class PowerShellGrammarReader : public ::testing::TestWithParam<markup_case> {};

TEST_P(PowerShellGrammarReader, ChartsEachConstruct) {
    Ttreesparser parser(powershell_grammar());
    parser_cases::expect_markup(parser, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Snippets, PowerShellGrammarReader, ::testing::ValuesIn(cases),
                         parser_cases::case_name);

}  // namespace
}  // namespace tarnwell
