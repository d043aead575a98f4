#include "explorer/uTreeProcLexer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/proc_scanner_choice.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_languages.h"
#include "scanner_test_support.h"

namespace tarnwell {
namespace {

constexpr int python = 16;
constexpr int typescript = 17;
constexpr int tsx = 18;
constexpr int go = 19;
constexpr int rust = 20;
constexpr int kotlin = 21;
constexpr int swift = 22;
constexpr int ruby = 23;
constexpr int scala = 24;
constexpr int lua = 25;
constexpr int bash = 26;
constexpr int powershell = 27;

// The result lines of a text of a language, scanned on the calling thread.
std::string scanned(int language, const std::string& text) {
    const std::unique_ptr<TKestrinProcLexer> scanner = make_proc_scanner(language);
    EXPECT_NE(scanner, nullptr) << language;
    if (!scanner) return {};
    EXPECT_EQ(scanner->language_kind(), 5);
    scanner->set_source_text(text);
    scanner->run();
    EXPECT_EQ(scanner->failure(), "");
    EXPECT_FALSE(scanner->timed_out());
    return scanner->result_text();
}

// Lines `begin` to `end` of a text with the break that ends the last, as a mark cuts them.
std::string lines_of(std::string_view text, int begin, int end) {
    std::size_t from = 0;
    for (int line = 1; line < begin && from != std::string_view::npos; ++line) {
        from = text.find('\n', from);
        if (from != std::string_view::npos) ++from;
    }
    std::size_t to = from;
    for (int line = begin; line <= end && to != std::string_view::npos; ++line) {
        to = text.find('\n', to);
        if (to != std::string_view::npos) ++to;
    }
    if (from == std::string_view::npos) return {};
    return std::string(text.substr(from, to == std::string_view::npos ? to : to - from));
}

struct scan_case {
    const char* name;
    std::string text;
    std::string lines;
    // Whether every function the text lists charts its body of statements when marked.
    bool charts_bodies = true;
};

// A case of a language's table.
struct language_case {
    int language;
    scan_case c;
};

void PrintTo(const language_case& c, std::ostream* os) {
    *os << c.c.name;
}

template <std::size_t N>
std::vector<language_case> table(int language, const scan_case (&cases)[N]) {
    std::vector<language_case> table;
    for (const scan_case& c : cases) table.push_back({language, c});
    return table;
}

class TreeProcScan : public testing::TestWithParam<language_case> {};

// Each function: the line of its name, the first line of its definition (after decorators)
// and its last line.
TEST_P(TreeProcScan, ListsEveryFunctionWithItsQualifiedNameTagAndLines) {
    EXPECT_EQ(scanned(GetParam().language, GetParam().c.text), GetParam().c.lines);
}

// A click in the explorer marks a function's lines; the reader must chart them as the
// function's body, so the chart starts after the definition's first line.
TEST_P(TreeProcScan, TheLinesOfAListedFunctionChartItsBody) {
    const scan_case& c = GetParam().c;
    if (!c.charts_bodies) GTEST_SKIP();
    const auto listed = parse_result_lines(scanned(GetParam().language, c.text));
    ASSERT_TRUE(listed);
    Ttreesparser reader(*tree_grammar_of_language(GetParam().language));
    for (const result_line& function : *listed) {
        // A single line cannot be marked.
        if (function.begin >= function.end) continue;
        SCOPED_TRACE(function.name);
        const std::string marked = lines_of(c.text, function.begin, function.end);
        const parser_result charted = reader.parse(marked);
        EXPECT_TRUE(charted.ok) << charted.message;
        const std::string_view opening = "<statement>";
        ASSERT_EQ(charted.markup.rfind(opening, 0), 0U) << charted.markup;
        const int first_item = std::stoi(charted.markup.substr(opening.size()));
        EXPECT_GT(first_item, static_cast<int>(marked.find('\n')) + 1) << charted.markup;
    }
}

const scan_case python_cases[] = {
    {"classes_decorators_nested_and_async",
     "class Account(Base):\n"
     "    def __init__(self, owner):\n"
     "        self.owner = owner\n"
     "\n"
     "    @property\n"
     "    @cached\n"
     "    def total(self):\n"
     "        def add(a, b):\n"
     "            return a + b\n"
     "        return add(1, 2)\n"
     "\n"
     "    async def sync(self):\n"
     "        await self.push()\n"
     "\n"
     "    class Entry:\n"
     "        def __init__(self):\n"
     "            return\n"
     "\n"
     "\n"
     "async def main():\n"
     "    pass\n",
     "2-2-3|cons|Account.__init__\r\n"
     "7-7-10|void|Account.total\r\n"
     "8-8-9|void|Account.total.add\r\n"
     "12-12-13|void|Account.sync\r\n"
     "16-16-17|cons|Account.Entry.__init__\r\n"
     "20-20-21|void|main\r\n"},
    {"init_outside_a_class_and_one_line_function",
     "def __init__():\n"
     "    return 0\n"
     "def one(): return 1\n",
     "1-1-2|void|__init__\r\n3-3-3|void|one\r\n"},
    {"broken",
     "def good():\n"
     "    return 1\n"
     "\n"
     "def bad(:\n"
     "    pass\n"
     "\n"
     "class :\n"
     "    def inside(self):\n"
     "        return 2\n",
     "1-1-2|void|good\r\n4-4-5|void|bad\r\n8-8-9|void|inside\r\n", false},
    {"empty", "", ""},
};

const scan_case typescript_cases[] = {
    {"class_members_and_bound_functions",
     "export class Shape {\n"
     "  constructor(private r: number) {\n"
     "    super();\n"
     "  }\n"
     "\n"
     "  @memo()\n"
     "  area(): number {\n"
     "    return this.r;\n"
     "  }\n"
     "\n"
     "  static *ids() {\n"
     "    yield 1;\n"
     "  }\n"
     "  limit = 3;\n"
     "}\n"
     "\n"
     "const limit = 3;\n"
     "let parse = function (s: string) {\n"
     "  return s;\n"
     "};\n"
     "export const\n"
     "  first = () => {\n"
     "    return 1;\n"
     "  };\n",
     "2-2-4|cons|Shape.constructor\r\n"
     "7-7-9|void|Shape.area\r\n"
     "11-11-13|void|Shape.ids\r\n"
     "18-18-20|void|parse\r\n"
     "22-21-24|void|first\r\n"},
    // Marked alone, a field reads as an assignment, and a body that is one expression is
    // charted as that expression.
    {"a_field_and_an_expression_body",
     "class Button {\n"
     "  onClick = (e: Event) => {\n"
     "    log(e);\n"
     "  };\n"
     "}\n"
     "export const twice = (n: number) => ({\n"
     "  n,\n"
     "});\n",
     "2-2-4|void|Button.onClick\r\n6-6-8|void|twice\r\n", false},
    {"overloads_namespaces_generators_and_anonymous_classes",
     "function overload(a: string): void;\n"
     "function overload(a: any) {\n"
     "  return a;\n"
     "}\n"
     "namespace Geo.Plane {\n"
     "  export function dist() { return 0; }\n"
     "}\n"
     "function* counter() {\n"
     "  yield 1;\n"
     "}\n"
     "const Anon = class {\n"
     "  constructor() {\n"
     "    this.a = 1;\n"
     "  }\n"
     "};\n"
     "abstract class Base {\n"
     "  abstract size(): number;\n"
     "}\n"
     "let declared: number;\n",
     "2-2-4|void|overload\r\n"
     "6-6-6|void|Geo.Plane.dist\r\n"
     "8-8-10|void|counter\r\n"
     "12-12-14|cons|Anon.constructor\r\n"},
    {"broken",
     "function ok() {\n"
     "  return 1;\n"
     "}\n"
     "class Broken {\n"
     "  method( {\n"
     "    return 2;\n"
     "  }\n"
     "}\n"
     "function after() {\n"
     "  return 3;\n"
     "}\n",
     "1-1-3|void|ok\r\n9-9-11|void|after\r\n", false},
    {"empty", "", ""},
};

const scan_case tsx_cases[] = {
    {"component_with_a_handler",
     "export function Panel(props: Props) {\n"
     "  const handle = () => {\n"
     "    setOpen(true);\n"
     "  };\n"
     "  return <div onClick={handle}>{props.title}</div>;\n"
     "}\n",
     "1-1-6|void|Panel\r\n2-2-4|void|Panel.handle\r\n"},
    {"broken",
     "function Card() {\n"
     "  return <div>;\n"
     "}\n"
     "function Row() {\n"
     "  return null;\n"
     "}\n",
     "1-1-3|void|Card\r\n4-4-6|void|Row\r\n", false},
    {"empty", "", ""},
};

const scan_case go_cases[] = {
    {"functions_and_methods_on_pointer_value_and_generic_receivers",
     "package store\n"
     "\n"
     "func New() *Reader {\n"
     "\treturn &Reader{}\n"
     "}\n"
     "\n"
     "func (r *Reader) Read(p []byte) (int, error) {\n"
     "\treturn len(p), nil\n"
     "}\n"
     "\n"
     "func (s Set[T]) Has(v T) bool { return false }\n"
     "\n"
     "func (Reader) Close() error {\n"
     "\treturn nil\n"
     "}\n",
     "3-3-5|void|New\r\n"
     "7-7-9|void|Reader.Read\r\n"
     "11-11-11|void|Set.Has\r\n"
     "13-13-15|void|Reader.Close\r\n"},
    {"broken",
     "package p\n"
     "\n"
     "func ok() int {\n"
     "\treturn 1\n"
     "}\n"
     "\n"
     "func broken( {\n"
     "\treturn\n"
     "}\n"
     "\n"
     "func (r *R) After() {\n"
     "\treturn\n"
     "}\n",
     "3-3-5|void|ok\r\n7-7-9|void|broken\r\n11-11-13|void|R.After\r\n", false},
    {"empty", "", ""},
};

const scan_case rust_cases[] = {
    {"impls_traits_modules_and_nested_functions",
     "mod store {\n"
     "    pub struct Stack<T> {\n"
     "        v: Vec<T>,\n"
     "    }\n"
     "\n"
     "    impl<T> Stack<T> {\n"
     "        pub fn new() -> Self {\n"
     "            Stack { v: Vec::new() }\n"
     "        }\n"
     "\n"
     "        #[inline]\n"
     "        pub fn push(&mut self, x: T) {\n"
     "            self.v.push(x);\n"
     "        }\n"
     "    }\n"
     "}\n"
     "\n"
     "impl<'a, T> fmt::Display for &'a mut store::Stack<T> {\n"
     "    fn fmt(&self, f: &mut fmt::Formatter) -> fmt::Result {\n"
     "        write!(f, \"stack\")\n"
     "    }\n"
     "}\n"
     "\n"
     "trait Shape {\n"
     "    fn area(&self) -> f64;\n"
     "    fn describe(&self) -> String {\n"
     "        String::new()\n"
     "    }\n"
     "}\n"
     "\n"
     "fn main() {\n"
     "    fn local() -> i32 {\n"
     "        1\n"
     "    }\n"
     "}\n",
     "7-7-9|void|store::Stack::new\r\n"
     "12-12-14|void|store::Stack::push\r\n"
     "19-19-21|void|store::Stack::fmt\r\n"
     "26-26-28|void|Shape::describe\r\n"
     "31-31-35|void|main\r\n"
     "32-32-34|void|main::local\r\n"},
    {"broken",
     "fn ok() -> i32 {\n"
     "    1\n"
     "}\n"
     "\n"
     "fn broken(x: {\n"
     "    2\n"
     "}\n"
     "\n"
     "impl S {\n"
     "    fn after(&self) {\n"
     "    }\n"
     "}\n",
     "1-1-3|void|ok\r\n10-10-11|void|S::after\r\n", false},
    {"empty", "", ""},
};

const scan_case kotlin_cases[] = {
    {"classes_objects_and_companions",
     "package demo\n"
     "\n"
     "class Stack<T> {\n"
     "    fun push(x: T) {\n"
     "        items.add(x)\n"
     "    }\n"
     "    companion object {\n"
     "        fun empty(): Stack<Int> = Stack()\n"
     "    }\n"
     "}\n"
     "\n"
     "object Registry {\n"
     "    fun find(name: String): Int {\n"
     "        return 0\n"
     "    }\n"
     "}\n"
     "\n"
     "fun main() {\n"
     "    println(\"hi\")\n"
     "}\n",
     "4-4-6|void|Stack.push\r\n"
     "8-8-8|void|Stack.empty\r\n"
     "13-13-15|void|Registry.find\r\n"
     "18-18-20|void|main\r\n"},
};

const scan_case swift_cases[] = {
    {"structs_extensions_and_initialisers",
     "struct Point {\n"
     "    init(x: Int) {\n"
     "        self.x = x\n"
     "    }\n"
     "    func moved(by d: Int) -> Point {\n"
     "        return Point(x: x + d)\n"
     "    }\n"
     "}\n"
     "\n"
     "extension Point {\n"
     "    func twice() -> Point { moved(by: x) }\n"
     "}\n"
     "\n"
     "protocol Shape {\n"
     "    func area() -> Double\n"
     "}\n"
     "\n"
     "func main() {\n"
     "    print(\"hi\")\n"
     "}\n",
     "2-2-4|cons|Point.init\r\n"
     "5-5-7|void|Point.moved\r\n"
     "11-11-11|void|Point.twice\r\n"
     "18-18-20|void|main\r\n"},
};

const scan_case ruby_cases[] = {
    {"modules_classes_and_singleton_methods",
     "module Net\n"
     "  class Client\n"
     "    def initialize(host)\n"
     "      @host = host\n"
     "    end\n"
     "\n"
     "    def self.open(host)\n"
     "      new(host)\n"
     "    end\n"
     "\n"
     "    def get(path)\n"
     "      request(path)\n"
     "    end\n"
     "  end\n"
     "end\n"
     "\n"
     "def helper\n"
     "  1\n"
     "end\n",
     "3-3-5|cons|Net.Client.initialize\r\n"
     "7-7-9|void|Net.Client.open\r\n"
     "11-11-13|void|Net.Client.get\r\n"
     "17-17-19|void|helper\r\n"},
};

const scan_case scala_cases[] = {
    {"classes_objects_and_braceless_traits",
     "package demo\n"
     "\n"
     "class Stack[T] {\n"
     "  def push(x: T): Unit = {\n"
     "    items += x\n"
     "  }\n"
     "}\n"
     "\n"
     "object Main {\n"
     "  def main(args: Array[String]): Unit =\n"
     "    println(\"hi\")\n"
     "}\n"
     "\n"
     "trait Shape:\n"
     "  def area: Double\n"
     "  def describe(): String =\n"
     "    s\"area $area\"\n",
     "4-4-6|void|Stack.push\r\n"
     "10-10-11|void|Main.main\r\n"
     "16-16-17|void|Shape.describe\r\n"},
};

const scan_case lua_cases[] = {
    {"module_table_and_local_functions",
     "local M = {}\n"
     "\n"
     "function M.new(x)\n"
     "  return setmetatable({x = x}, M)\n"
     "end\n"
     "\n"
     "function M:get()\n"
     "  return self.x\n"
     "end\n"
     "\n"
     "local function helper(a)\n"
     "  return a + 1\n"
     "end\n"
     "\n"
     "return M\n",
     "3-3-5|void|M.new\r\n"
     "7-7-9|void|M:get\r\n"
     "11-11-13|void|helper\r\n"},
};

const scan_case bash_cases[] = {
    {"both_function_forms",
     "#!/bin/bash\n"
     "usage() {\n"
     "  echo \"usage\"\n"
     "}\n"
     "\n"
     "function main {\n"
     "  usage\n"
     "  exit 0\n"
     "}\n",
     "2-2-4|void|usage\r\n"
     "6-6-9|void|main\r\n"},
};

const scan_case powershell_cases[] = {
    {"functions_and_class_methods",
     "function Get-Thing {\n"
     "    param([string]$Name)\n"
     "    return $Name\n"
     "}\n"
     "\n"
     "class Greeter {\n"
     "    [string] Greet([string]$who) {\n"
     "        return \"hi $who\"\n"
     "    }\n"
     "}\n"
     "\n"
     "function Invoke-Main { Get-Thing -Name x }\n",
     "1-1-4|void|Get-Thing\r\n"
     "7-7-9|void|Greeter.Greet\r\n"
     "12-12-12|void|Invoke-Main\r\n"},
};

std::string case_name(const testing::TestParamInfo<language_case>& info) {
    return info.param.c.name;
}

INSTANTIATE_TEST_SUITE_P(Python, TreeProcScan, testing::ValuesIn(table(python, python_cases)),
                         case_name);
INSTANTIATE_TEST_SUITE_P(TypeScript, TreeProcScan,
                         testing::ValuesIn(table(typescript, typescript_cases)), case_name);
INSTANTIATE_TEST_SUITE_P(Tsx, TreeProcScan, testing::ValuesIn(table(tsx, tsx_cases)), case_name);
INSTANTIATE_TEST_SUITE_P(Go, TreeProcScan, testing::ValuesIn(table(go, go_cases)), case_name);
INSTANTIATE_TEST_SUITE_P(Rust, TreeProcScan, testing::ValuesIn(table(rust, rust_cases)), case_name);
INSTANTIATE_TEST_SUITE_P(Kotlin, TreeProcScan, testing::ValuesIn(table(kotlin, kotlin_cases)),
                         case_name);
INSTANTIATE_TEST_SUITE_P(Swift, TreeProcScan, testing::ValuesIn(table(swift, swift_cases)),
                         case_name);
INSTANTIATE_TEST_SUITE_P(Ruby, TreeProcScan, testing::ValuesIn(table(ruby, ruby_cases)), case_name);
INSTANTIATE_TEST_SUITE_P(Scala, TreeProcScan, testing::ValuesIn(table(scala, scala_cases)),
                         case_name);
INSTANTIATE_TEST_SUITE_P(Lua, TreeProcScan, testing::ValuesIn(table(lua, lua_cases)), case_name);
INSTANTIATE_TEST_SUITE_P(Bash, TreeProcScan, testing::ValuesIn(table(bash, bash_cases)), case_name);
INSTANTIATE_TEST_SUITE_P(PowerShell, TreeProcScan,
                         testing::ValuesIn(table(powershell, powershell_cases)), case_name);

TEST(TreeProcLexer, DeepNestingIsScannedWithoutRecursion) {
    const std::string text =
        "x = " + std::string(5000, '[') + std::string(5000, ']') + "\ndef last():\n    pass\n";
    EXPECT_EQ(scanned(python, text), "2-2-3|void|last\r\n");
}

TEST(TreeProcLexer, AnyBytesGiveWellFormedLines) {
    std::mt19937 random(5);
    const std::string pieces[] = {
        "def ",     "class ", "fn ",  "func ", "function ", "impl ",   "mod ",  "const ",
        "=",        "=>",     "(",    ")",     "{",         "}",       ":",     "<",
        ">",        "*",      "&",    "'",     "\"",        "@d\n",    "f",     "A",
        " for ",    "\n",     "    ", "\r",    "async ",    "let ",    "[T]",   "constructor",
        "__init__", ";",      "/*",   "//",    "fun ",      "object ", "end\n", "init",
        "--",       "#",      "$",    "then",  "do",        "esac",    "[",     "]"};
    for (int round = 0; round < 200; ++round) {
        const std::string source = random_source(random, pieces);
        for (const int language : {python, typescript, tsx, go, rust, kotlin, swift, ruby, scala,
                                   lua, bash, powershell}) {
            EXPECT_TRUE(parse_result_lines(scanned(language, source))) << language << source;
        }
    }
}

// A long text is parsed in pieces on several threads: what it lists, and where, must be what
// each of its definitions lists alone.
TEST(TreeProcLexer, ALongTextIsListedAsItsDefinitionsAreAlone) {
    const struct {
        const char* name;
        int language;
        std::string (*definition)(int i);
    } cases[] = {
        {"python", python,
         [](int i) {
             return "class C" + std::to_string(i) +
                    ":\n    @staticmethod\n    def f():\n        return 1\n\n";
         }},
        {"go", go,
         [](int i) { return "func (s *S" + std::to_string(i) + ") F() int {\n\treturn 1\n}\n\n"; }},
        {"typescript", typescript,
         [](int i) {
             return "export class C" + std::to_string(i) +
                    " {\n  f(): number {\n    return 1;\n  }\n}\n\n";
         }},
        {"rust", rust,
         [](int i) {
             return "impl S" + std::to_string(i) +
                    " {\n    fn f(&self) -> i32 {\n        1\n    }\n}\n\n";
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        std::vector<result_line> expected;
        for (int i = 0, rows = 0; text.size() < 200 * 1024; ++i) {
            const std::string definition = c.definition(i);
            const auto alone = parse_result_lines(scanned(c.language, definition));
            ASSERT_TRUE(alone && alone->size() == 1) << definition;
            result_line line = alone->front();
            line.declaration += rows;
            line.begin += rows;
            line.end += rows;
            expected.push_back(line);
            text += definition;
            rows += static_cast<int>(std::count(definition.begin(), definition.end(), '\n'));
        }
        const auto listed = parse_result_lines(scanned(c.language, text));
        ASSERT_TRUE(listed);
        ASSERT_EQ(listed->size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
            const result_line& got = (*listed)[k];
            const result_line& want = expected[k];
            ASSERT_TRUE(got.declaration == want.declaration && got.begin == want.begin &&
                        got.end == want.end && got.tag == want.tag && got.name == want.name)
                << "function " << k << ": " << got.declaration << "-" << got.begin << "-" << got.end
                << " " << got.name << ", not " << want.declaration << "-" << want.begin << "-"
                << want.end << " " << want.name;
        }
    }
}

// A cut inside a string leaves a piece that does not parse; the text is then listed whole,
// and nothing inside the string is taken for a function. Each language's multi-line string.
TEST(TreeProcLexer, ACutInsideAStringListsTheTextWhole) {
    const struct {
        int language;
        const char* opening;
        const char* fake;
        const char* closing_and_real;
    } cases[] = {
        {python, "HELP = \"\"\"\n", "def fake():\n    pass\n", "\"\"\"\n\ndef real():\n    pass\n"},
        {kotlin, "val help = \"\"\"\n", "fun fake() {\n}\n", "\"\"\"\n\nfun real() {\n}\n"},
        {swift, "let help = \"\"\"\n", "func fake() {\n}\n", "\"\"\"\n\nfunc real() {\n}\n"},
        {ruby, "HELP = <<~TEXT\n", "def fake\nend\n", "TEXT\n\ndef real\nend\n"},
        {scala, "val help = \"\"\"\n", "def fake() = {\n}\n", "\"\"\"\n\ndef real() = {\n}\n"},
        {lua, "local help = [[\n", "function fake()\nend\n", "]]\n\nfunction real()\nend\n"},
        {bash, "cat <<EOF\n", "fake() {\n  :\n}\n", "EOF\n\nreal() {\n  :\n}\n"},
        {powershell, "$help = @'\n", "function fake {\n}\n", "'@\n\nfunction real {\n}\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opening);
        std::string text = c.opening;
        while (text.size() < 200 * 1024) text += std::string("\n") + c.fake;
        text += c.closing_and_real;
        const auto rows_to = [&](std::size_t end) {
            return static_cast<int>(std::count(text.begin(), text.begin() + end, '\n'));
        };
        const std::size_t real = text.rfind("real");
        const std::string row = std::to_string(rows_to(real) + 1);
        EXPECT_EQ(scanned(c.language, text),
                  row + "-" + row + "-" + std::to_string(rows_to(text.size())) + "|void|real\r\n");
    }
}

// Kotlin's grammar recovers from this broken text without end; the parse gives up in time,
// and the scan and the chart fail instead of hanging.
TEST(TreeProcLexer, AParseThatDoesNotEndFailsTheScan) {
    const std::string text =
        "{h(){}\nc n object{\n #      fun empty(): Stack<Int> = Stack()\n    }\n}\n\n"
        "object Registry {\n    bun find(name: String): Int {\n        return 0\n    }\n}\n\n"
        "fun main()k()\n    }\n}\n\nobject Registry {\n    fun find(name: String): Int {\n"
        "        return 0\n    }\n}\n\nfun main()  {\n    pr";
    const std::unique_ptr<TKestrinProcLexer> scanner = make_proc_scanner(kotlin);
    scanner->set_source_text(text);
    scanner->run();
    EXPECT_EQ(scanner->failure(), "the text could not be read");
    EXPECT_EQ(scanner->result_text(), "");
    Ttreesparser reader(*tree_grammar_of_language(kotlin));
    const parser_result charted = reader.parse(text);
    EXPECT_FALSE(charted.ok);
    EXPECT_EQ(charted.message, "syntax error");
    // The layout reads a chart only from its opening sequence.
    EXPECT_EQ(charted.markup, "<statement>1-1\001");
}

TEST(TreeProcLexer, AnExhaustedBudgetStopsTheScanAndKeepsWhatItFound) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "def f" + std::to_string(i) + "():\n    pass\n";
    // Each reading of the clock takes a millisecond.
    std::int64_t now = 0;
    TTreeProcLexer scanner(*tree_grammar_of_language(python));
    scanner.set_source_text(text);
    scanner.set_time_budget(3);
    scanner.set_tick_function([&now] { return now++; });
    scanner.run();
    EXPECT_TRUE(scanner.timed_out());
    const auto listed = parse_result_lines(scanner.result_text());
    ASSERT_TRUE(listed);
    EXPECT_GT(listed->size(), 0U);
    EXPECT_LT(listed->size(), 2000U);
    EXPECT_EQ(listed->front().name, "f0");
}

}  // namespace
}  // namespace tarnwell
