#include "explorer/uCppProcLexer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "scanner_test_support.h"

namespace tarnwell {
namespace {

enum class rules { cpp, java };

std::string scan(rules language, const std::string& source) {
    std::unique_ptr<TKestrinProcLexer> scanner;
    if (language == rules::java) {
        scanner = std::make_unique<TJavaProcLexer>();
    } else {
        scanner = std::make_unique<TCppProcLexer>();
    }
    scanner->set_source_text(source);
    scanner->run();
    EXPECT_EQ(scanner->failure(), "");
    return scanner->result_text();
}

struct scan_case {
    const char* name;
    rules language;
    std::string source;
    std::string result;
};

class CFamilyScan : public testing::TestWithParam<scan_case> {};

TEST_P(CFamilyScan, ReportsTheseProcedures) {
    EXPECT_EQ(scan(GetParam().language, GetParam().source), GetParam().result);
}

const scan_case scan_cases[] = {
    {"constructor_destructor_and_static_member", rules::cpp,
     "A::A() : x(0) {\n"
     "}\n"
     "A::~A() {\n"
     "}\n"
     "class B {\n"
     "    static int f() {\n"
     "        return 1;\n"
     "    }\n"
     "};\n",
     "1-1-2|cons|A\r\n"
     "3-3-4|des|~A\r\n"
     "6-6-8|void|f\r\n"},
    {"return_types_choose_the_category", rules::cpp,
     "int f() { }\n"
     "void g(int a) { }\n"
     "void* h() { }\n"
     "static unsigned long\n"
     "k(void) { }\n",
     "1-1-1|void|f\r\n"
     "2-2-2|proc|g\r\n"
     "3-3-3|proc|h\r\n"
     "5-5-5|void|k\r\n"},
    {"members_inside_a_class_body", rules::cpp,
     "class Foo : public Base {\n"
     "public:\n"
     "    // makes one\n"
     "    Foo(int a)\n"
     "        : Base(a), n(0) {}\n"
     "    virtual ~Foo() {\n"
     "    }\n"
     "    int size() const { return n; }\n"
     "};\n",
     "4-5-5|cons|Foo\r\n"
     "6-6-7|des|~Foo\r\n"
     "8-8-8|void|size\r\n"},
    {"qualifiers_exception_specifications_and_templates", rules::cpp,
     "void f() throw(int) {\n"
     "}\n"
     "template <class T>\n"
     "Stack<T>::Stack() {\n"
     "}\n"
     "template <class T> std::vector<T> Stack<T>::items() const {\n"
     "}\n"
     "std::string ns::Foo::name() volatile {\n"
     "}\n",
     "1-1-2|proc|f\r\n"
     "4-4-5|cons|Stack\r\n"
     "6-6-7|void|items\r\n"
     "8-8-9|void|name\r\n"},
    {"blocks_scopes_and_initialisers_report_nothing", rules::cpp,
     "namespace n {\n"
     "struct S { int a; };\n"
     "int t[] = { 1, 2 };\n"
     "void run(int x) {\n"
     "    if (x) {\n"
     "    } else {\n"
     "    }\n"
     "    while (x) { }\n"
     "    for (;;) { }\n"
     "    switch (x) { case 1: { } }\n"
     "    do { } while (x);\n"
     "    try { } catch (...) { }\n"
     "}\n"
     "}\n",
     "4-4-13|proc|run\r\n"},
    {"directives_before_a_function", rules::cpp,
     "#include <stdio.h>\n"
     "#define TWICE(x) \\\n"
     "    ((x) + (x))\n"
     "int main(int argc, char** argv)\n"
     "{\n"
     "    return 0;\n"
     "}\n"
     "# pragma once\n"
     "int after() {\n"
     "}\n",
     "4-5-7|void|main\r\n"
     "9-9-10|void|after\r\n"},
    {"comments_and_strings_hide_braces", rules::cpp,
     "int f() {\n"
     "    /* } */ const char* s = \"}\"; char c = '}';\n"
     "    // }\n"
     "}\n",
     "1-1-4|void|f\r\n"},
    {"body_not_closed", rules::cpp,
     "int g() { }\n"
     "\n"
     "int open_body()\n"
     "{\n"
     "    if (x) {\n",
     "1-1-1|void|g\r\n"
     "3-4--1|void|open_body\r\n"},
    {"synchronized_is_a_name_outside_java", rules::cpp,
     "void f() {\n"
     "    synchronized (lock) {\n"
     "    }\n"
     "}\n",
     "1-1-4|proc|f\r\n"
     "2-2-3|cons|synchronized\r\n"},
    {"java_methods_and_constructors", rules::java,
     "public class Foo extends Bar implements Runnable {\n"
     "    public Foo() {\n"
     "    }\n"
     "    protected Foo(int a) throws IllegalArgumentException {\n"
     "    }\n"
     "    void run() throws IOException\n"
     "    {\n"
     "        synchronized (this) {\n"
     "        }\n"
     "    }\n"
     "    public static <T> List<T> copy(List<T> items) { return items; }\n"
     "    private synchronized int count() {\n"
     "        try { } catch (Exception e) { } finally { }\n"
     "        return 0;\n"
     "    }\n"
     "}\n",
     "2-2-3|cons|Foo\r\n"
     "4-4-5|cons|Foo\r\n"
     "6-7-10|proc|run\r\n"
     "11-11-11|void|copy\r\n"
     "12-12-15|void|count\r\n"},
    {"csharp_uses_the_java_rules", rules::java,
     "namespace N {\n"
     "    class C {\n"
     "        public C() { }\n"
     "        ~C() { }\n"
     "        public override string ToString() { return \"\"; }\n"
     "    }\n"
     "}\n",
     "3-3-3|cons|C\r\n"
     "4-4-4|des|~C\r\n"
     "5-5-5|void|ToString\r\n"},
    {"nothing_to_report", rules::cpp, "int x = 1;\n", ""},
    {"empty_text", rules::java, "", ""},
    {"brace_first", rules::cpp, "{ }\n", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, CFamilyScan, testing::ValuesIn(scan_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CFamilyScan, AnyBytesGiveWellFormedLines) {
    std::mt19937 random(3);
    const std::string pieces[] = {
        "int ", "void ", "f",       "A",     "::",     "~",  "(",
        ")",    "()",    "{",       "}",     "{}",     ";",  ":",
        "<",    ">",     "throws ", "throw", "const ", "#",  "#define X \\\n",
        "/*",   "*/",    "//",      "\"",    "'",      "\n", "\r"};
    for (int round = 0; round < 300; ++round) {
        const std::string source = random_source(random, pieces);
        for (const rules language : {rules::cpp, rules::java}) {
            EXPECT_TRUE(parse_result_lines(scan(language, source))) << source;
        }
    }
}

}  // namespace
}  // namespace tarnwell
