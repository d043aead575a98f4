// Constructs of the brace languages as they are written today: each text charts, its chart
// reaches the end of the text, and its items have the shape a reader expects.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "parser_cases.h"
#include "parsers/language_table.h"
#include "parsers/parser_registry.h"

namespace tarnwell {
namespace {

using parser_cases::outline;

struct snippet {
    const char* name;
    const char* language;
    std::string source;
    std::string shape;  // the tags of the markup, without ranges
};

void PrintTo(const snippet& c, std::ostream* os) {
    *os << c.name;
}

std::string snippet_name(const testing::TestParamInfo<snippet>& info) {
    return std::string(info.param.language) + "_" + info.param.name;
}

class ModernSyntaxTest : public testing::TestWithParam<snippet> {};

// The outermost sequence closes at the sentinel: nothing of the text is left out.
TEST_P(ModernSyntaxTest, ChartsTheWholeText) {
    static const parser_registry registry;
    const snippet& c = GetParam();
    const auto language = language_by_name(c.language);
    ASSERT_TRUE(language.has_value());
    const parser_result result =
        registry.parser_at(parser_slot_of_language(*language))->parse(c.source);
    EXPECT_TRUE(result.ok) << result.message << " at " << result.error_pos;
    const std::string sentinel = std::to_string(c.source.size() + 1);
    EXPECT_TRUE(result.markup.ends_with("</statement>" + sentinel + "-" + sentinel + "\001"))
        << result.markup;
    EXPECT_EQ(outline(result.markup), c.shape);
}

const snippet javascript[] = {
    {"no_semicolons", "js", "a = 1\nb = 2\n", "<statement><code/></statement>"},
    {"no_semicolon_before_brace", "js", "if (c) { d = 1 }\nreturn d;",
     "<statement><if><statement><code/></statement></if><return/></statement>"},
    {"no_semicolon_then_if", "js", "x = f()\nif (x) {\n  g()\n}\n",
     "<statement><code/><if><statement><code/></statement></if></statement>"},
    {"else_after_unterminated_branch", "js", "if (a) x = 1\nelse y = 2\nreturn x;",
     "<statement><if><statement><code/></statement><statement><code/></statement></if>"
     "<return/></statement>"},
    {"private_member", "js", "a = 1;\nthis.#b = 2;\nreturn this.#b;",
     "<statement><code/><return/></statement>"},
    {"for_await", "js", "for await (const x of y) {\n  f(x);\n}\nreturn 1;",
     "<statement><for><statement><code/></statement></for><return/></statement>"},
    {"template_with_comment_and_hash", "js", "s = `a /* b # c`;\nreturn s;",
     "<statement><code/><return/></statement>"},
    {"template_with_nested_braces", "js", "s = `${ { a: `${ {} }` }.a } }`;\nreturn s;",
     "<statement><code/><return/></statement>"},
    {"pattern_with_slashes", "js", "if (!/^wss?:\\/\\//.test(u)) {\n  f();\n}\nreturn u;",
     "<statement><if><statement><code/></statement></if><return/></statement>"},
    {"pattern_with_comment_and_brace", "js",
     "x = /a\\/*b[{]/g;\ny = s.replace(/}/, '');\nreturn x;",
     "<statement><code/><return/></statement>"},
    {"object_literal_with_method", "js",
     "const o = {\n  a: 1,\n  f() { return 2; }\n};\nif (o.a) {\n  g();\n}\n",
     "<statement><code/><if><statement><code/></statement></if></statement>"},
    {"function_expression", "js", "cb = function (e) {\n  if (e) throw e;\n};\nreturn cb;",
     "<statement><code/><return/></statement>"},
    {"last_return_without_semicolon", "js", "if (a) {\n  return 1\n}\nreturn a.b\n",
     "<statement><if><statement><return/></statement></if><return/></statement>"},
    {"return_value_on_next_line", "js", "return (\n  a\n);\n", "<statement><return/></statement>"},
};

const snippet java[] = {
    {"arrow_labels", "java", "switch (c) {\n  case 1 -> f();\n  default -> g();\n}\nreturn 1;",
     "<statement><switch><case/><statement><code/></statement><else/><statement><code/>"
     "</statement></switch><return/></statement>"},
    {"arrow_label_with_block", "java",
     "switch (c) {\n  case 1, 2 -> {\n    f();\n    break;\n  }\n  default ->g();\n}\n",
     "<statement><switch><case/><statement><code/><break/></statement><else/><statement>"
     "<code/></statement></switch></statement>"},
    {"switch_expression", "java",
     "var r = switch (k) { case 1 -> \"a\"; default -> \"b\"; };\nreturn r;",
     "<statement><code/><return/></statement>"},
    {"multi_line_switch_expression", "java",
     "int n = switch (k) {\n  case 1 -> 10;\n  default -> {\n    yield 0;\n  }\n};\nreturn n;",
     "<statement><code/><return/></statement>"},
    {"anonymous_class", "java",
     "Runnable r = new Runnable() {\n  public void run() { f(); }\n};\nr.run();\nreturn;",
     "<statement><code/><return/></statement>"},
};

const snippet cpp[] = {
    {"if_constexpr", "cpp", "if constexpr (N > 0) {\n  f();\n}\nreturn 1;",
     "<statement><if><statement><code/></statement></if><return/></statement>"},
    {"macro_before_condition", "cpp", "if _GLIBCXX17_CONSTEXPR (N > 0)\n  f();\nreturn 1;",
     "<statement><if><statement><code/></statement></if><return/></statement>"},
    {"declarations_before_first_case", "cpp",
     "switch (c) {\n  int y;\n  std::string s;\n  case 1: f();\n}\nreturn 1;",
     "<statement><switch><case/><statement><code/></statement></switch><return/></statement>"},
    {"lambda_statement", "cpp", "auto f = [&](int a) {\n  return a + 1;\n};\nreturn f(2);",
     "<statement><code/><return/></statement>"},
    {"struct_declaration", "c", "struct { int a; } s;\nreturn s.a;",
     "<statement><code/><return/></statement>"},
    {"macro_last_without_semicolon", "c", "x = 1;\nFOO(y)\n", "<statement><code/></statement>"},
    {"bare_macro_last", "c", "x = 1;\nPy_RETURN_NONE\n", "<statement><code/></statement>"},
    {"declaration_on_two_lines", "c", "static const char *\nname = \"x\";\nreturn name;",
     "<statement><code/><return/></statement>"},
};

const snippet csharp[] = {
    {"using_block", "cs", "using (var r = f()) {\n  g(r);\n}\nreturn 1;",
     "<statement><code/><return/></statement>"},
    {"lock_block_with_if", "cs", "lock (o) {\n  if (a) g();\n}\nreturn 1;",
     "<statement><code/><if><statement><code/></statement></if><return/></statement>"},
    {"empty_using_block", "cs", "using (var r = f()) { }\nreturn 1;",
     "<statement><code/><return/></statement>"},
    {"exception_filter", "cs", "try {\n  f();\n} catch (E e) when (e.X) {\n  g();\n}\nreturn 1;",
     "<statement><code/><except><statement><code/></statement></except><return/></statement>"},
    {"lambda_body", "cs", "Action a = () => { f(); g(); };\nreturn a;",
     "<statement><code/><return/></statement>"},
};

const snippet php[] = {
    {"closure_in_a_call", "php",
     "$b = array_filter($a, function ($r) use ($l) { return $r > $l; });\nreturn $b;",
     "<statement><code/><return/></statement>"},
    {"closure_assigned", "php", "$f = function ($x) {\n  return $x;\n};\nreturn $f;",
     "<statement><code/><return/></statement>"},
    {"apostrophe_in_comment_in_a_call", "php", "f(1,\n  // it's\n  2);\nreturn 1;",
     "<statement><code/><return/></statement>"},
    {"string_offset", "php", "$c = $s{0};\nif ($c) {\n  f();\n}\n",
     "<statement><code/><if><statement><code/></statement></if></statement>"},
};

const snippet perl[] = {
    {"q_with_parentheses", "perl", "$x = q(a\"b);\nreturn $x;",
     "<statement><code/><return/></statement>"},
    {"qq_with_braces", "perl", "$x = qq{a {b} c};\nreturn $x;",
     "<statement><code/><return/></statement>"},
    {"m_with_braces", "perl", "if ($x =~ m{[\"]}s) {\n  f();\n}\nreturn 1;",
     "<statement><if><statement><code/></statement></if><return/></statement>"},
    {"s_with_braces", "perl", "$x =~ s{a}{b}g;\nreturn 1;",
     "<statement><code/><return/></statement>"},
    {"m_with_hashes", "perl", "$x =~ m#/+#;\nreturn 1;", "<statement><code/><return/></statement>"},
    {"tr_with_brackets", "perl", "$x =~ tr[a-z] [A-Z];\nreturn 1;",
     "<statement><code/><return/></statement>"},
    {"list_separator_variable", "perl", "local $\" = \",\";\nreturn 1;",
     "<statement><code/><return/></statement>"},
    {"typeglob", "perl", "*{$c} = 1;\nreturn 1;", "<statement><code/><return/></statement>"},
    {"number_before_modifier", "perl", "1 while $a--;\nreturn 1;",
     "<statement><whiledo><statement><code/></statement></whiledo><return/></statement>"},
    {"shift_is_no_here_document", "perl", "$x = 1<<f;\nreturn 1;",
     "<statement><code/><return/></statement>"},
    {"last_statement_of_a_block", "perl", "if ($a) {\n  f()\n}\nreturn 1;",
     "<statement><if><statement><code/></statement></if><return/></statement>"},
    {"last_statement_of_the_text", "perl", "$x = 1;\nreturn $x",
     "<statement><code/><return/></statement>"},
    {"modifier_at_the_end", "perl", "print $x if $y",
     "<statement><if><statement><code/></statement></if></statement>"},
};

INSTANTIATE_TEST_SUITE_P(JavaScript, ModernSyntaxTest, testing::ValuesIn(javascript), snippet_name);
INSTANTIATE_TEST_SUITE_P(Java, ModernSyntaxTest, testing::ValuesIn(java), snippet_name);
INSTANTIATE_TEST_SUITE_P(Cpp, ModernSyntaxTest, testing::ValuesIn(cpp), snippet_name);
INSTANTIATE_TEST_SUITE_P(CSharp, ModernSyntaxTest, testing::ValuesIn(csharp), snippet_name);
INSTANTIATE_TEST_SUITE_P(Php, ModernSyntaxTest, testing::ValuesIn(php), snippet_name);
INSTANTIATE_TEST_SUITE_P(Perl, ModernSyntaxTest, testing::ValuesIn(perl), snippet_name);

}  // namespace
}  // namespace tarnwell
