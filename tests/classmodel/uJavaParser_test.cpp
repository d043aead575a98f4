#include "classmodel/uJavaParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "classmodel/uFileProvider.h"
#include "test_support.h"

namespace tarnwell {
namespace {

using test::data_path;
using test::dump;
using test::memory_provider;
using test::recording_feedback;
using test::trace_recorder;

void parse(TObjectModel& model, const std::string& source) {
    TJavaParser parser(nullptr);
    parser.ParseStream(std::make_unique<std::istringstream>(source), *model.ModelRoot(), model);
}

struct source_case {
    const char* name;
    std::string prelude;  // parsed first, into the same model
    std::string source;
    std::string model;  // the dump after both
};

void PrintTo(const source_case& c, std::ostream* out) {
    *out << c.name;
}

class JavaSourceTest : public testing::TestWithParam<source_case> {};

TEST_P(JavaSourceTest, FillsTheModel) {
    const source_case& c = GetParam();
    TObjectModel model;
    if (!c.prelude.empty()) parse(model, c.prelude);
    parse(model, c.source);
    EXPECT_EQ(dump(model), c.model);
}

const source_case source_cases[] = {
    {"no_package_statement", "", "class A { }",
     "package <<Unknown>>\n"
     "package Default\n"
     "  public class A\n"},
    {"single_type_and_on_demand_imports",
     "package java.util; public interface List { } public class Map { }",
     "package app;\n"
     "import other.List;\n"
     "import java.util.List;\n"
     "import java.util.*;\n"
     "class A { List l; Map m; Set s; }",
     "package <<Unknown>>\n"
     "  private class Set\n"
     "package java.util\n"
     "  public interface List\n"
     "  public class Map\n"
     "package app\n"
     "  public class A\n"
     "    public attribute l : java.util::List\n"
     "    public attribute m : java.util::Map\n"
     "    public attribute s : ?Set\n"},
    {"qualified_type_names", "package java.util; public class List { }",
     "class A { java.util.List l; java.io.File f; }",
     "package <<Unknown>>\n"
     "  private class java.io.File\n"
     "package java.util\n"
     "  public class List\n"
     "package Default\n"
     "  public class A\n"
     "    public attribute l : java.util::List\n"
     "    public attribute f : ?java.io.File\n"},
    {"initializers_end_a_declaration", "",
     "class A { int a = 1, b = 2; int c, d = 2; private int e, f; }",
     "package <<Unknown>>\n"
     "  private class int\n"
     "package Default\n"
     "  public class A\n"
     "    public attribute a : ?int\n"
     "    public attribute c : ?int\n"
     "    public attribute d : ?int\n"
     "    private attribute e : ?int\n"
     "    private attribute f : ?int\n"},
    {"constructor_procedure_function", "",
     "class Foo { Foo(int x) { } void run() { } String name() { return null; } }",
     "package <<Unknown>>\n"
     "  private class int\n"
     "  private class String\n"
     "package Default\n"
     "  public class Foo\n"
     "    public constructor Foo(x: ?int)\n"
     "    public procedure run()\n"
     "    public function name() : ?String\n"},
    {"class_comment_moves_to_first_member", "",
     "/** The class. */\n"
     "class A {\n"
     "    int size;\n"
     "    /** Runs. */\n"
     "    void run() { }\n"
     "    void stop() { }\n"
     "}\n",
     "package <<Unknown>>\n"
     "  private class int\n"
     "package Default\n"
     "  public class A\n"
     "    public attribute size : ?int // The class. \n"
     "    public procedure run() // Runs. \n"
     "    public procedure stop()\n"},
    {"line_comments_join_with_cr_lf", "",
     "class A {\r\n"
     "    /** Replaced. */\r\n"
     "    // First line.\r\n"
     "\r\n"
     "    // Second line.\r\n"
     "    void run() { }\r\n"
     "    // Alone.\r\n"
     "    /* Block. */\r\n"
     "    void stop() { }\r\n"
     "}\r\n",
     "package <<Unknown>>\n"
     "package Default\n"
     "  public class A\n"
     "    public procedure run() // First line.\\r\\n Second line.\n"
     "    public procedure stop() // Block. \n"},
    {"inner_classes", "", "class Outer { class Inner { class Deepest { } int i; } int after; }",
     "package <<Unknown>>\n"
     "  private class int\n"
     "package Default\n"
     "  public class Outer\n"
     "    public attribute after : ?int\n"
     "  public class Outer.Inner\n"
     "    public attribute i : ?int\n"
     "  public class Inner.Deepest\n"},
    {"array_types", "",
     "class A { static void main(String[] args, String [] more, final int[][] grid) { } }",
     "package <<Unknown>>\n"
     "  private class String[]\n"
     "  private class int[][]\n"
     "package Default\n"
     "  public class A\n"
     "    public procedure main(args: ?String[], more: ?String[], grid: ?int[][])\n"},
    {"abstract_methods", "",
     "public abstract class Shape {\n"
     "    public abstract double area();\n"
     "    protected abstract void draw(Canvas c) throws Error;\n"
     "    private static final int SIDES = 0;\n"
     "}\n",
     "package <<Unknown>>\n"
     "  private class double\n"
     "  private class Canvas\n"
     "  private class int\n"
     "package Default\n"
     "  public class Shape\n"
     "    public abstract function area() : ?double\n"
     "    protected abstract procedure draw(c: ?Canvas)\n"
     "    private attribute SIDES : ?int\n"},
    {"ancestors_and_interfaces", "",
     "class A extends B implements I, J { }\n"
     "public interface K extends I, L, M { int N = 1; double area(); }\n",
     "package <<Unknown>>\n"
     "  private class B\n"
     "  private interface I\n"
     "  private interface J\n"
     "  private class int\n"
     "  private class double\n"
     "package Default\n"
     "  public class A extends ?B implements ?I implements ?J\n"
     "  public interface K extends ?I\n"
     "    public attribute N : ?int\n"
     "    public function area() : ?double\n"},
    {"types_declared_later_stay_placeholders", "", "class A { B b; } class B { A a; }",
     "package <<Unknown>>\n"
     "  private class B\n"
     "package Default\n"
     "  public class A\n"
     "    public attribute b : ?B\n"
     "  public class B\n"
     "    public attribute a : Default::A\n"},
    {"literals_and_bodies_are_read_over", "",
     "class A {\n"
     "    String s = \"{ \\\" }\";\n"
     "    char c = '}';\n"
     "    int[] t = { 1, { 2 } };\n"
     "    void f() { if (x) { g(\"}\"); } }\n"
     "    static { init(); }\n"
     "    int after;\n"
     "}\n",
     "package <<Unknown>>\n"
     "  private class String\n"
     "  private class char\n"
     "  private class int[]\n"
     "  private class int\n"
     "package Default\n"
     "  public class A\n"
     "    public attribute s : ?String\n"
     "    public attribute c : ?char\n"
     "    public attribute t : ?int[]\n"
     "    public procedure f()\n"
     "    public attribute after : ?int\n"},
    {"names_differing_in_case_are_different_types", "", "class A { String a; string b; String c; }",
     "package <<Unknown>>\n"
     "  private class String\n"
     "  private class string\n"
     "package Default\n"
     "  public class A\n"
     "    public attribute a : ?String\n"
     "    public attribute b : ?string\n"
     "    public attribute c : ?String\n"},
    {"unterminated_comment_ends_the_text", "", "class A { int x; /* never closed int y; }",
     "package <<Unknown>>\n"
     "  private class int\n"
     "package Default\n"
     "  public class A\n"
     "    public attribute x : ?int\n"},
    {"packages_match_without_case", "package app; class A { }", "package APP; class B { }",
     "package <<Unknown>>\n"
     "package app\n"
     "  public class A\n"
     "  public class B\n"},
    {"generic_types_are_read_as_raw_types", "",
     "class Shape<T extends Number & Comparable<T>> extends Base<T>\n"
     "        implements Comparable<Shape<T>>, I {\n"
     "    List<String> a;\n"
     "    Map<String, List<Integer>> b;\n"
     "    List<String>[] c;\n"
     "    public <R> R visit(Function<? super T, R> f) { return null; }\n"
     "    static <K, V extends List<K>> void put(Map<K,V> m, K... keys) { }\n"
     "    void log(Object ... rest) { }\n"
     "    int after;\n"
     "}\n"
     "interface Each<E> extends Iterable<E>, Sized<E> { <T> T[] toArray(T[] a); }\n",
     "package <<Unknown>>\n"
     "  private class Base\n"
     "  private interface Comparable\n"
     "  private interface I\n"
     "  private class List\n"
     "  private class Map\n"
     "  private class List[]\n"
     "  private class R\n"
     "  private class Function\n"
     "  private class K[]\n"
     "  private class Object[]\n"
     "  private class int\n"
     "  private interface Iterable\n"
     "  private class T[]\n"
     "package Default\n"
     "  public class Shape extends ?Base implements ?Comparable implements ?I\n"
     "    public attribute a : ?List\n"
     "    public attribute b : ?Map\n"
     "    public attribute c : ?List[]\n"
     "    public function visit(f: ?Function) : ?R\n"
     "    public procedure put(m: ?Map, keys: ?K[])\n"
     "    public procedure log(rest: ?Object[])\n"
     "    public attribute after : ?int\n"
     "  public interface Each extends ?Iterable\n"
     "    public function toArray(a: ?T[]) : ?T[]\n"},
    {"annotations_and_static_imports", "package java.util; public class Set { }",
     "import static java.util.Map.entry;\n"
     "import java.util.*;\n"
     "@SuppressWarnings({\"a\", \"b\"}) public class A {\n"
     "    @Deprecated(since = \"9\", forRemoval = true) private Set x;\n"
     "    @Override public String toString() { return \"\"; }\n"
     "    void f(@Nullable final String s, final @A.B(1) int n) { }\n"
     "}\n"
     "@interface Marker { String value() default \"\"; int[] more() default { 1 }; }\n",
     "package <<Unknown>>\n"
     "  private class String\n"
     "  private class int\n"
     "  private class int[]\n"
     "package java.util\n"
     "  public class Set\n"
     "package Default\n"
     "  public class A\n"
     "    private attribute x : java.util::Set\n"
     "    public function toString() : ?String\n"
     "    public procedure f(s: ?String, n: ?int)\n"
     "  public interface Marker\n"
     "    public function value() : ?String\n"
     "    public function more() : ?int[]\n"},
    {"text_blocks_and_sealed_classes", "",
     "sealed class Shape permits Circle, Square {\n"
     "    String text = \"\"\"\n"
     "        a \"quoted line; { not a block\n"
     "        an escaped \\\"\"\" end\n"
     "        \"\"\";\n"
     "    int after;\n"
     "}\n"
     "non-sealed class Square extends Shape { int side; }\n",
     "package <<Unknown>>\n"
     "  private class String\n"
     "  private class int\n"
     "package Default\n"
     "  public class Shape\n"
     "    public attribute text : ?String\n"
     "    public attribute after : ?int\n"
     "  public class Square extends Default::Shape\n"
     "    public attribute side : ?int\n"},
    {"enumerations_records_and_interface_bodies", "",
     "enum Kind implements I {\n"
     "    ROUND(\"r\") { void f() { } }, SQUARE(g(1), 2);\n"
     "    private final String code;\n"
     "    Kind(String c) { code = c; }\n"
     "}\n"
     "class Outer { enum Colour { RED, GREEN } record Pair(int a, String b) { } int after; }\n"
     "record Point(int x, @NonNull String y) implements I {\n"
     "    Point { if (x < 0) throw new Error(); }\n"
     "    static Point origin() { return null; }\n"
     "}\n"
     "interface D { default void a() { if (b) { c(); } } static int b() { return 0; } void c(); "
     "}\n",
     "package <<Unknown>>\n"
     "  private interface I\n"
     "  private class String\n"
     "  private class int\n"
     "package Default\n"
     "  public class Kind implements ?I\n"
     "    private attribute code : ?String\n"
     "    public constructor Kind(c: ?String)\n"
     "  public class Outer\n"
     "    public attribute after : ?int\n"
     "  public class Outer.Colour\n"
     "  public class Outer.Pair\n"
     "    private attribute a : ?int\n"
     "    private attribute b : ?String\n"
     "  public class Point implements ?I\n"
     "    private attribute x : ?int\n"
     "    private attribute y : ?String\n"
     "    public function origin() : Default::Point\n"
     "  public interface D\n"
     "    public procedure a()\n"
     "    public function b() : ?int\n"
     "    public procedure c()\n"},
};

INSTANTIATE_TEST_SUITE_P(Sources, JavaSourceTest, testing::ValuesIn(source_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JavaImporter, PullsInAReferencedTypeFromTheSameFolder) {
    TObjectModel model;
    recording_feedback feedback;
    TJavaImporter importer(model, std::make_unique<TFileProvider>(&feedback), feedback, nullptr);
    importer.BuildModelFrom({data_path("shapes/Circle.java")});
    EXPECT_EQ(dump(model),
              "package <<Unknown>>\n"
              "  private class double\n"
              "package geometry\n"
              "  public class Circle extends geometry::Shape\n"
              "    private attribute radius : ?double\n"
              "    public constructor Circle(radius: ?double)\n"
              "    public function area() : ?double\n"
              "  public class Shape\n"
              "    public abstract function area() : ?double // The area enclosed. \n");
    EXPECT_TRUE(importer.FilesRead().contains(data_path("shapes/Shape.java")));
}

TEST(JavaImporter, ClassifiersKnowTheFileAndLineOfTheirName) {
    TObjectModel model;
    recording_feedback feedback;
    // Line ends of every kind; the comment and the text block hold words that declare nothing.
    const std::map<std::string, std::string> files{
        {"/src/Main.java",
         "package p;\r\n/* class Fake */\r\npublic class Main\n  extends Base {\r"
         "  String s = \"\"\"\n interface No \"\"\";\r\n"
         "  static class Inner {}\n}\ninterface Shape {}\n"},
        {"/src/Base.java", "package p;\n\n\nclass Base {}\n"},
    };
    TJavaImporter importer(model, std::make_unique<memory_provider>(files), feedback, nullptr);
    importer.BuildModelFrom({"/src/Main.java"});
    struct location_case {
        const char* name;
        const char* file;
        int line;
    };
    const location_case cases[] = {
        {"Main", "/src/Main.java", 3},
        {"Main.Inner", "/src/Main.java", 7},
        {"Shape", "/src/Main.java", 9},
        // Pulled in by its name: its own file.
        {"Base", "/src/Base.java", 4},
    };
    TUnitPackage* p = model.ModelRoot()->FindUnitPackage("p", false, TCompareMode::CaseSensitive);
    ASSERT_NE(p, nullptr);
    for (const location_case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* found = static_cast<TClassifier*>(
            p->FindClassifier(c.name, false, TCompareMode::CaseSensitive));
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->SourceFile(), c.file);
        EXPECT_EQ(found->SourceLine(), c.line);
    }
}

// Sources "/src/<name>.java" of classes in package p, each referring to the next.
std::map<std::string, std::string> chain(int length, bool cyclic) {
    std::map<std::string, std::string> files;
    for (int i = 0; i < length; ++i) {
        const int next = cyclic ? (i + 1) % length : i + 1;
        files["/src/C" + std::to_string(i) + ".java"] =
            "package p; class C" + std::to_string(i) + " { C" + std::to_string(next) + " next; }";
    }
    return files;
}

std::size_t real_classes(const TObjectModel& model) {
    TUnitPackage* p = model.ModelRoot()->FindUnitPackage("p", false, TCompareMode::CaseSensitive);
    return p == nullptr ? 0 : p->GetClassifiers()->Count();
}

TEST(JavaImporter, ChainsOfLookupsOfAnyLengthFinish) {
    const trace_recorder trace;
    constexpr int length = 3000;
    TObjectModel model;
    recording_feedback feedback;
    TJavaImporter importer(model, std::make_unique<memory_provider>(chain(length, false)), feedback,
                           nullptr);
    importer.BuildModelFrom({"/src/C0.java"});
    const std::size_t pulled = real_classes(model);
    EXPECT_GT(pulled, 100u);
    EXPECT_LT(pulled, static_cast<std::size_t>(length));
    EXPECT_EQ(importer.FilesRead().size(), pulled);
    EXPECT_NE(std::find(trace.lines.begin(), trace.lines.end(),
                        "Type lookups nested too deeply, not read: C" + std::to_string(pulled)),
              trace.lines.end());
    EXPECT_TRUE(feedback.messages.empty());

    // Listed in the batch, the files beyond the depth are read in their turn.
    std::vector<std::string> all;
    for (int i = 0; i < length; ++i) all.push_back("/src/C" + std::to_string(i) + ".java");
    TJavaImporter batch(model, std::make_unique<memory_provider>(chain(length, false)), feedback,
                        nullptr);
    batch.BuildModelFrom(all);
    EXPECT_EQ(real_classes(model), static_cast<std::size_t>(length));
    EXPECT_EQ(batch.FilesRead().size(), static_cast<std::size_t>(length));
}

TEST(JavaImporter, ACycleOfLookupsReadsEachFileOnce) {
    TObjectModel model;
    recording_feedback feedback;
    const std::map<std::string, std::string> files{
        {"/src/a/A.java", "package pa; import pb.B; class A { B partner; }"},
        {"/src/b/B.java", "package pb; import pa.A; class B { A partner; C other; }"},
        {"/src/b/C.java", "package pb; class C { B back; }"},
    };
    TJavaImporter importer(model, std::make_unique<memory_provider>(files, &feedback), feedback,
                           nullptr);
    importer.BuildModelFrom({"/src/a/A.java", "/src/b/B.java", "/src/b/C.java"});
    EXPECT_EQ(dump(model),
              "package <<Unknown>>\n"
              "package pa\n"
              "  public class A\n"
              "    public attribute partner : pb::B\n"
              "package pb\n"
              "  public class B\n"
              "    public attribute partner : pa::A\n"
              "    public attribute other : pb::C\n"
              "  public class C\n"
              "    public attribute back : pb::B\n");
    EXPECT_EQ(std::count_if(feedback.statuses.begin(), feedback.statuses.end(),
                            [](const std::string& s) { return s.starts_with("Reading "); }),
              3);
}

TEST(JavaImporter, TypeNamesCannotLeaveTheSearchPath) {
    TObjectModel model;
    recording_feedback feedback;
    const std::map<std::string, std::string> files{
        {"/src/A.java", "class A { ../../x y; hidden. z; }"},
        {"/x.java", "package evil; class x { }"},
        {"/src/.java", "package hidden; class H { }"},
    };
    TJavaImporter importer(model, std::make_unique<memory_provider>(files), feedback, nullptr);
    importer.BuildModelFrom({"/src/A.java"});
    EXPECT_EQ(importer.FilesRead(), std::set<std::string>{"/src/A.java"});
    for (const char* package : {"evil", "hidden"}) {
        EXPECT_EQ(model.ModelRoot()->FindUnitPackage(package, false, TCompareMode::CaseSensitive),
                  nullptr);
    }
}

TEST(JavaParser, DeepNestingFinishes) {
    const trace_recorder trace;
    constexpr int depth = 100000;
    TObjectModel model;
    std::string blocks = "class A { void f() ";
    blocks += std::string(depth, '{') + std::string(depth, '}') + " int after; }";
    parse(model, blocks);
    std::string classes;
    for (int i = 0; i < depth; ++i) classes += "class C" + std::to_string(i) + " { ";
    classes += std::string(depth, '}') + " class Last { }";
    parse(model, classes);
    const TUnitPackage* p =
        model.ModelRoot()->FindUnitPackage("Default", true, TCompareMode::CaseSensitive);
    const auto* a = static_cast<TClass*>(p->FindClassifier("A", true, TCompareMode::CaseSensitive));
    EXPECT_EQ(a->GetAttributes()->Count(), 1u);
    EXPECT_NE(p->FindClassifier("Last", false, TCompareMode::CaseSensitive), nullptr);
    EXPECT_EQ(p->GetClassifiers()->Count(), 2u + TJavaParser::max_depth);
    EXPECT_EQ(trace.lines.size(), 1u);
}

TEST(JavaParser, AnyBytesAreReadWithoutHarm) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> piece(0, 11);
    const char* const pieces[] = {"class ", "interface ", "{", "}",  "(",  ")",
                                  ";",      ",",          "=", "/*", "//", "\""};
    for (int round = 0; round < 40; ++round) {
        std::string source;
        for (int i = 0; i < 4000; ++i) {
            if (byte(random) < 64) {
                source += pieces[piece(random)];
            } else {
                source += static_cast<char>(byte(random));
            }
        }
        TObjectModel model;
        parse(model, source);
        // Whatever was declared, every attribute and parameter has its type.
        const auto classifiers = model.ModelRoot()->GetAllClassifiers();
        while (classifiers->HasNext()) {
            const auto features = static_cast<TClassifier*>(classifiers->Next())->GetFeatures();
            while (features->HasNext()) {
                TModelEntity* feature = features->Next();
                if (feature->Is(TEntityKind::Attribute)) {
                    EXPECT_NE(static_cast<TAttribute*>(feature)->TypeClassifier(), nullptr);
                    continue;
                }
                const auto parameters = static_cast<TOperation*>(feature)->GetParameters();
                while (parameters->HasNext()) {
                    EXPECT_NE(static_cast<TParameter*>(parameters->Next())->TypeClassifier(),
                              nullptr);
                }
            }
        }
    }
}

}  // namespace
}  // namespace tarnwell
