#include "classmodel/uJavaClassImport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "classmodel/uJavaParser.h"
#include "test_support.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;
using test::class_file_builder;
using test::data_path;
using test::dump;
using test::memory_provider;
using test::read_file;
using test::recording_feedback;
using test::trace_recorder;

// The model lines of pkg/B.class and pkg/Shape.class.
const std::string b_and_shape =
    "  public class B\n"
    "    protected attribute name : ?java.lang.String\n"
    "    public constructor B()\n"
    "    public abstract function area() : ?double\n"
    "  public interface Shape\n"
    "    public attribute SIDES : ?int\n"
    "    public abstract function area() : ?double\n";

std::string classfile(const std::string& name) {
    return data_path("classfiles/" + name);
}

// Imports a file list as the program does, with the class-file importer registered first.
bool import_files(std::vector<std::string> files, TObjectModel& model,
                  recording_feedback& feedback) {
    TIntegrators integrators;
    integrators.Register(TJavaClassImporter::Class());
    integrators.Register(TJavaImporter::Class(nullptr));
    return ImportFileList(integrators, model, files, feedback);
}

// Imports class files held in memory: the first is imported, the others are found along the
// search path "/mem/" when a type lookup asks for them.
std::string import_from_memory(const std::map<std::string, std::string>& files,
                               const std::string& first, recording_feedback& feedback) {
    TObjectModel model;
    TJavaClassImporter importer(model, std::make_unique<memory_provider>(files), feedback);
    importer.BuildModelFrom({first});
    return dump(model);
}

TEST(ClassFileImport, EdgeCasesOfCompiledFixtures) {
    struct import_case {
        std::vector<std::string> files;
        std::string model;
    };
    const import_case cases[] = {
        // No package: "Default". A constructor named after its class, a static initialiser
        // left out, int add(int, int), arrays of classes and of primitives.
        {{classfile("Calc.class")},
         "package <<Unknown>>\n"
         "  private class java.lang.String[][]\n"
         "  private datatype long\n"
         "  private datatype double[]\n"
         "  private datatype int\n"
         "  private class java.util.List\n"
         "  private datatype boolean[][]\n"
         "  private datatype char\n"
         "package Default\n"
         "  public class Calc\n"
         "    private attribute grid : ?java.lang.String[][]\n"
         "    protected attribute serialVersionUID : ?long\n"
         "    private attribute values : ?double[]\n"
         "    private attribute instances : ?int\n"
         "    public constructor Calc()\n"
         "    public function add(a: ?int, a: ?int) : ?int\n"
         "    private procedure clear()\n"
         "    private function make(a: ?java.util.List, a: ?boolean[][], a: ?char) : "
         "Default::Calc\n"},
        // A extends B and implements Shape: both are read from the same folder and are the
        // real ones. The bridge method compareTo(Object) is synthetic and left out.
        {{classfile("pkg/A.class")},
         "package <<Unknown>>\n"
         "  private class java.lang.String\n"
         "  private datatype double\n"
         "  private datatype int\n"
         "  private interface java.lang.Comparable\n"
         "package pkg\n"
         "  public class A extends pkg::B implements pkg::Shape implements "
         "?java.lang.Comparable\n"
         "    public constructor A()\n"
         "    public function area() : ?double\n"
         "    public function compareTo(a: pkg::A) : ?int\n" +
             b_and_shape},
        // Compiled for Java 8: the accessor access$000 and the outer reference this$0 are
        // synthetic and left out; an inner class keeps its binary name.
        {{classfile("Outer.class"), classfile("Outer$Inner.class")},
         "package <<Unknown>>\n"
         "  private datatype int\n"
         "package Default\n"
         "  public class Outer\n"
         "    private attribute secret : ?int\n"
         "    public constructor Outer()\n"
         "  private class Outer$Inner\n"
         "    private constructor Outer$Inner(a: Default::Outer)\n"
         "    private function peek() : ?int\n"},
        // Constants of later class-file versions are read over; the lambda body is synthetic;
        // names outside ASCII come as single bytes.
        {{classfile("Modern.class")},
         "package <<Unknown>>\n"
         "  private datatype int\n"
         "  private datatype long\n"
         "  private class java.lang.Runnable\n"
         "  private class java.lang.String\n"
         "package Default\n"
         "  public class Modern\n"
         "    private attribute caf\xE9 : ?int\n"
         "    private attribute price? : ?long\n"
         "    private attribute task : ?java.lang.Runnable\n"
         "    public constructor Modern()\n"
         "    private function greet(a: ?java.lang.String) : ?java.lang.String\n"},
        // A module descriptor declares no type.
        {{classfile("module-info.class")}, "package <<Unknown>>\n"},
    };
    for (const import_case& c : cases) {
        SCOPED_TRACE(c.files.front());
        TObjectModel model;
        recording_feedback feedback;
        ASSERT_TRUE(import_files(c.files, model, feedback));
        EXPECT_EQ(dump(model), c.model);
        EXPECT_TRUE(feedback.messages.empty());
    }
}

TEST(ClassFileImport, PullsInTheClassFilesOfItsTypesOnce) {
    TObjectModel model;
    recording_feedback feedback;
    ASSERT_TRUE(
        import_files({classfile("pkg/A.class"), classfile("pkg/B.class")}, model, feedback));
    EXPECT_EQ(feedback.statuses,
              (std::vector<std::string>{
                  "Reading " + classfile("pkg/A.class"), "Reading " + classfile("pkg/B.class"),
                  "Reading " + classfile("pkg/Shape.class"), "3 files read."}));
    const TClass* a =
        static_cast<const TClass*>(model.ModelRoot()
                                       ->FindUnitPackage("pkg", true, TCompareMode::CaseSensitive)
                                       ->FindClassifier("A", true, TCompareMode::CaseSensitive));
    EXPECT_EQ(a->Ancestor()->FullName(), "::pkg::B");
    EXPECT_EQ(model.ModelRoot()->GetConfigFile(), classfile("pkg/A.vixModel"));
}

TEST(ClassFileImport, AJarIsOneBatchOfItsClasses) {
    TObjectModel loose;
    recording_feedback loose_feedback;
    ASSERT_TRUE(
        import_files({classfile("Calc.class"), classfile("pkg/A.class")}, loose, loose_feedback));

    TObjectModel jar;
    recording_feedback feedback;
    const std::string archive = classfile("classes.jar");
    ASSERT_TRUE(import_files({archive}, jar, feedback));
    EXPECT_EQ(dump(jar), dump(loose));
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_EQ(feedback.statuses,
              (std::vector<std::string>{
                  "Reading " + archive, "Reading " + archive + "!/Calc.class",
                  "Reading " + archive + "!/pkg/A.class", "Reading " + archive + "!/pkg/B.class",
                  "Reading " + archive + "!/pkg/Shape.class", "1 file read."}));
}

TEST(ClassFileImport, ABrokenClassOfAJarStopsOnlyItself) {
    TObjectModel model;
    recording_feedback feedback;
    ASSERT_TRUE(import_files({classfile("broken.jar")}, model, feedback));
    EXPECT_EQ(feedback.messages, std::vector<std::string>{"Unexpected end of file"});
    EXPECT_EQ(dump(model),
              "package <<Unknown>>\n"
              "  private class java.lang.String\n"
              "  private datatype double\n"
              "  private datatype int\n"
              "package pkg\n" +
                  b_and_shape);
}

TEST(ClassFileImport, AFileThatIsNoJarIsReported) {
    const fs::path not_zip = fs::temp_directory_path() / "tarnwell-not-a-zip.jar";
    std::ofstream(not_zip, std::ios::binary) << "PK but not really";
    TObjectModel model;
    recording_feedback feedback;
    ASSERT_TRUE(import_files({not_zip.string()}, model, feedback));
    fs::remove(not_zip);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0], "Cannot open " + not_zip.string() + ": Not a zip archive");
    EXPECT_EQ(dump(model), "package <<Unknown>>\n");
}

TEST(ClassFileImport, TheFolderOfTheTypesPackageGoesFirst) {
    const std::map<std::string, std::string> files{
        {"/mem/b/User.class", class_file_builder("b/User", "a/Util").bytes()},
        {"/mem/b/Util.class", class_file_builder("b/Util", "").bytes()},
        {"/mem/a/Other.class", class_file_builder("a/Other", "").bytes()},
        {"/mem/a/Util.class", class_file_builder("a/Util", "").bytes()},
    };
    TObjectModel model;
    recording_feedback feedback;
    TJavaClassImporter importer(model, std::make_unique<memory_provider>(files), feedback);
    importer.BuildModelFrom({"/mem/b/User.class", "/mem/a/Other.class"});
    EXPECT_EQ(dump(model),
              "package <<Unknown>>\n"
              "package b\n"
              "  public class User extends a::Util\n"
              "package a\n"
              "  public class Util\n"
              "  public class Other\n");
}

TEST(ClassFileImport, ABrokenNeighbourLeavesTheClassThatNeedsIt) {
    const std::string a = class_file_builder("A", "B").field(0x0001, "next", "LB;").bytes();
    const std::string b = class_file_builder("B", "").bytes();
    recording_feedback feedback;
    const std::string model =
        import_from_memory({{"/mem/A.class", a}, {"/mem/B.class", b.substr(0, b.size() / 2)}},
                           "/mem/A.class", feedback);
    EXPECT_EQ(feedback.messages, std::vector<std::string>{"Unexpected end of file"});
    EXPECT_EQ(model,
              "package <<Unknown>>\n"
              "  private class B\n"
              "package Default\n"
              "  public class A extends ?B\n"
              "    public attribute next : ?B\n");
}

TEST(ClassFileImport, LongChainsOfLookupsStopAtTheDepthLimit) {
    constexpr int chain = TJavaClassParser::max_depth + 20;
    std::map<std::string, std::string> files;
    for (int i = 0; i < chain; ++i) {
        files["/mem/C" + std::to_string(i) + ".class"] =
            class_file_builder("C" + std::to_string(i), "C" + std::to_string(i + 1)).bytes();
    }
    trace_recorder trace;
    recording_feedback feedback;
    const std::string model = import_from_memory(files, "/mem/C0.class", feedback);
    const std::string stopped = "C" + std::to_string(TJavaClassParser::max_depth + 1);
    EXPECT_EQ(trace.lines,
              std::vector<std::string>{"Type lookups nested too deeply, not read: " + stopped});
    EXPECT_NE(model.find("  public class C" + std::to_string(TJavaClassParser::max_depth) +
                         " extends ?" + stopped + "\n"),
              std::string::npos);
    EXPECT_TRUE(feedback.messages.empty());
}

TEST(ClassFileImport, DescriptorsOfAnyShapeEndAndAreTraced) {
    struct descriptor_case {
        std::string descriptor;
        std::string operation;
        bool traced;
    };
    const descriptor_case cases[] = {
        {"([[Ljava/lang/String;J)Z",
         "public function m(a: ?java.lang.String[][], a: ?long) : ?boolean", false},
        {"(I", "public procedure m(a: ?int)", true},
        {"(Ljava/lang/String", "public procedure m(a: ?java.lang.String)", true},
        {"(QX)V", "public procedure m(a: -, a: -)", true},
        {"([)V", "public procedure m(a: -, a: -)", true},
        {"I", "public function m() : ?int", false},
        {"", "public procedure m()", true},
    };
    for (const descriptor_case& c : cases) {
        SCOPED_TRACE(c.descriptor);
        trace_recorder trace;
        recording_feedback feedback;
        const std::string model = import_from_memory(
            {{"/mem/A.class",
              class_file_builder("A", "").method(0x0001, "m", c.descriptor).bytes()}},
            "/mem/A.class", feedback);
        EXPECT_NE(model.find("    " + c.operation + "\n"), std::string::npos) << model;
        EXPECT_EQ(!trace.lines.empty(), c.traced);
        for (const std::string& line : trace.lines) {
            EXPECT_EQ(line, "TJavaClassParser getfieldtype: " + c.descriptor);
        }
    }
}

TEST(ClassFileImport, NamesAndIndexesThatNameNothing) {
    class_file_builder builder("A", "");
    const std::uint16_t text = builder.utf8("not a class");
    builder.declaration(text, text).implements("java/io/Serializable");
    builder.field(0x0001, "", "I").field(0x0004, "$jacocoData", "[Z").field(0x0004, "kept", "I");
    recording_feedback feedback;
    const std::string model =
        import_from_memory({{"/mem/A.class", builder.bytes()}}, "/mem/A.class", feedback);
    EXPECT_EQ(model,
              "package <<Unknown>>\n"
              "  private interface java.io.Serializable\n"
              "  private datatype int\n"
              "package Default\n"
              "  public class **noname implements ?java.io.Serializable\n"
              "    protected attribute kept : ?int\n");
}

// Every cut of a real class file and flips of its bits, written to a folder and imported as one
// batch: the cut ones all fail with "Unexpected end of file", the flipped ones fail with one of
// the reader's errors or import; none may crash or read out of bounds.
TEST(ClassFileImport, ADirectoryOfBrokenClassFilesFailsCleanly) {
    const fs::path folder =
        fs::temp_directory_path() /
        ("tarnwell-broken-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(folder);
    std::vector<std::string> cut;
    std::vector<std::string> flipped;
    const auto write = [&](std::vector<std::string>& list, const std::string& bytes) {
        const std::string name =
            (folder / ("f" + std::to_string(cut.size() + flipped.size()) + ".class")).string();
        std::ofstream(name, std::ios::binary) << bytes;
        list.push_back(name);
    };
    const std::string a = read_file(classfile("pkg/A.class"));
    for (std::size_t length = 0; length < a.size(); ++length) write(cut, a.substr(0, length));
    // Every byte of A, every other byte of Modern with its constants of later versions.
    const std::pair<std::string, std::size_t> sources[] = {
        {a, 1}, {read_file(classfile("Modern.class")), 2}};
    for (const auto& [bytes, step] : sources) {
        for (std::size_t i = 0; i < bytes.size(); i += step) {
            std::string changed = bytes;
            changed[i] = static_cast<char>(changed[i] ^ (1 << (i % 8)));
            write(flipped, changed);
        }
    }
    std::vector<std::string> files = cut;
    files.insert(files.end(), flipped.begin(), flipped.end());

    TObjectModel model;
    recording_feedback feedback;
    ASSERT_TRUE(import_files(files, model, feedback));
    fs::remove_all(folder);

    ASSERT_GE(feedback.messages.size(), cut.size());
    EXPECT_LE(feedback.messages.size(), cut.size() + flipped.size());
    for (std::size_t i = 0; i < feedback.messages.size(); ++i) {
        const std::string& message = feedback.messages[i];
        if (i < cut.size()) {
            EXPECT_EQ(message, "Unexpected end of file") << cut[i];
        } else {
            EXPECT_TRUE(message == "Unexpected end of file" ||
                        message.starts_with("Not a class file: constant pool entry "))
                << message;
        }
    }
    EXPECT_FALSE(model.Locked());
}

TEST(ClassFileImport, FilterTextOfTheProgramsImporters) {
    TIntegrators integrators;
    integrators.Register(TJavaClassImporter::Class());
    integrators.Register(TJavaImporter::Class(nullptr));
    EXPECT_EQ(FilterText(integrators),
              "All types (*.class;*.jar;*.java)|*.class;*.jar;*.java|Java Class (*.class)|*.class|"
              "Java Archive (*.jar)|*.jar|Java (*.java)|*.java");
}

TEST(ClassNames, ConvertedAndSplit) {
    struct name_case {
        std::string raw;
        std::string converted;
        std::string package;
        std::string short_name;
    };
    const name_case cases[] = {
        {"java/lang/String", "java.lang.String", "java.lang", "String"},
        {"Ljava/util/Map$Entry;", "Ljava.util.Map$Entry", "Ljava.util", "Map$Entry"},
        {"Calc", "Calc", "Default", "Calc"},
        {"", "", "Default", ""},
        {"a/", "a.", "a", ""},
    };
    for (const name_case& c : cases) {
        EXPECT_EQ(ConvertClassName(c.raw), c.converted);
        EXPECT_EQ(PackagePart(c.converted), c.package);
        EXPECT_EQ(ShortName(c.converted), c.short_name);
    }
}

}  // namespace
}  // namespace tarnwell
