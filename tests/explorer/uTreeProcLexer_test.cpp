#include "explorer/uTreeProcLexer.h"

#include <gtest/gtest.h>

#include <string>

#include "explorer/proc_scanner_choice.h"

namespace tarnwell {
namespace {

// The result lines of a text of a language, scanned on the calling thread.
std::string scanned(int language, const std::string& text) {
    const std::unique_ptr<TKestrinProcLexer> scanner = make_proc_scanner(language);
    EXPECT_NE(scanner, nullptr) << language;
    if (!scanner) return {};
    EXPECT_EQ(scanner->language_kind(), 5);
    scanner->set_source_text(text);
    scanner->run();
    EXPECT_EQ(scanner->failure(), "");
    return scanner->result_text();
}

struct scan_case {
    const char* name;
    int language;
    std::string text;
    std::string lines;
};

// Each function: the line of its name, then the lines of its body's statements (the lines of a
// function whose body has no line of its own).
TEST(TreeProcLexer, ListsFunctionsWithTheirQualifiedNamesAndBodyLines) {
    const scan_case cases[] = {
        {"python class, decorator, nested function", 16,
         "import os\n"
         "class Account:\n"
         "    def __init__(self):\n"
         "        self.x = 0\n"
         "\n"
         "    @property\n"
         "    def total(self):\n"
         "        def inner():\n"
         "            return 1\n"
         "        return inner()\n"
         "async def main():\n"
         "    pass\n",
         "3-4-4|cons|Account.__init__\r\n7-8-10|void|Account.total\r\n"
         "8-9-9|void|Account.total.inner\r\n11-12-12|void|main\r\n"},
        {"python __init__ outside a class is a plain function", 16, "def __init__():\n    pass\n",
         "1-2-2|void|__init__\r\n"},
        {"typescript class, constructor, arrow functions, export", 17,
         "export class Shape {\n"
         "  constructor(private r: number) {}\n"
         "  area(): number {\n"
         "    return this.r;\n"
         "  }\n"
         "  onClick = (e: Event) => {\n"
         "    log(e);\n"
         "  };\n"
         "}\n"
         "export const twice = (n: number) => ({\n"
         "  n\n"
         "});\n"
         "const limit = 3;\n"
         "function* ids() { yield 1; }\n"
         "namespace Geo {\n"
         "  export function dist() { return 0; }\n"
         "}\n",
         "2-2-2|cons|Shape.constructor\r\n3-4-4|void|Shape.area\r\n6-7-7|void|Shape.onClick\r\n"
         "10-10-12|void|twice\r\n14-14-14|void|ids\r\n16-16-16|void|Geo.dist\r\n"},
        {"tsx component", 18, "export function Panel() {\n  return <div>{1}</div>;\n}\n",
         "1-2-2|void|Panel\r\n"},
        {"go functions and methods on pointer and generic receivers", 19,
         "package q\n"
         "func New() *Q {\n"
         "\treturn nil\n"
         "}\n"
         "func (q *Q) Push(v int) {\n"
         "}\n"
         "func (s Set[T]) Has(v T) bool { return false }\n",
         "2-3-3|void|New\r\n5-5-6|void|Q.Push\r\n7-7-7|void|Set.Has\r\n"},
        {"rust impl, trait impl, trait, module", 20,
         "mod store {\n"
         "    pub struct Stack<T> { v: Vec<T> }\n"
         "    impl<T> Stack<T> {\n"
         "        pub fn new() -> Self {\n"
         "            Stack { v: Vec::new() }\n"
         "        }\n"
         "    }\n"
         "    impl<T> Drop for Stack<T> {\n"
         "        fn drop(&mut self) {}\n"
         "    }\n"
         "}\n"
         "trait Shape { fn area(&self) -> f64 { 0.0 } }\n"
         "fn main() {}\n",
         "4-5-5|void|store::Stack::new\r\n9-9-9|void|store::Stack::drop\r\n"
         "12-12-12|void|Shape::area\r\n13-13-13|void|main\r\n"},
        {"an empty text", 19, "", ""},
        {"a broken text keeps what its tree still shows", 16,
         "def good():\n    return 1\ndef bad(:\n    pass\nclass :\n",
         "1-2-2|void|good\r\n3-4-4|void|bad\r\n"},
    };
    for (const scan_case& c : cases) {
        EXPECT_EQ(scanned(c.language, c.text), c.lines) << c.name;
    }
}

TEST(TreeProcLexer, DeepNestingIsScannedWithoutRecursion) {
    const std::string text =
        "x = " + std::string(5000, '[') + std::string(5000, ']') + "\ndef last():\n    pass\n";
    EXPECT_NE(scanned(16, text).find("|void|last"), std::string::npos);
}

}  // namespace
}  // namespace tarnwell
