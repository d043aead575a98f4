#include "cli/model_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cmdline/file_arguments.h"
#include "test_support.h"

namespace tarnwell::cli {
namespace {

namespace fs = std::filesystem;
using test::data_path;

// A scratch folder of files for the argument tests, removed afterwards.
class FileArguments : public testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("tarnwell-args-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(root_ / "c.java");
        for (const char* name : {"b.java", "a.java", ".hidden.java", "notes.txt"}) write(name, "");
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string path(const std::string& name) const { return (root_ / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(root_ / name, std::ios::binary) << text;
    }

    fs::path root_;
};

TEST_F(FileArguments, WildcardsListsAndPlainNames) {
    write("list.txt", path("notes.txt") + "\r\n\r\n@" + path("inner.txt") + "\r\n");
    write("inner.txt", path("*.java") + "\n" + path("x/../zz.java"));
    const std::string list = "@" + path("list.txt");
    const std::vector<std::string_view> args{list, "rel/Q.java"};
    EXPECT_EQ(
        expand_file_arguments(args),
        (std::vector<std::string>{path("notes.txt"), path("a.java"), path("b.java"),
                                  path("zz.java"), (fs::current_path() / "rel/Q.java").string()}));
}

TEST_F(FileArguments, ListsThatCannotBeReadOrNameThemselvesAreRefused) {
    write("self.txt", path("a.java") + "\n@" + path("self.txt") + "\n");
    for (const std::string& list : {"@" + path("self.txt"), "@" + path("missing.txt")}) {
        const std::vector<std::string_view> args{list};
        EXPECT_THROW(expand_file_arguments(args), usage_error) << list;
    }
}

TEST(ModelCommand, PrintsTheModelAsJson) {
    const std::string a = data_path("mixed/A.java");
    const std::vector<std::string_view> args{a};
    std::ostringstream out;
    EXPECT_EQ(run_model(args, out), 0);
    EXPECT_EQ(out.str(),
              "{\"files\":[\"" + a +
                  "\"],\n\"packages\":[\n"
                  "{\"name\":\"<<Unknown>>\",\"full_name\":\"::<<Unknown>>\",\"classifiers\":["
                  "{\"kind\":\"class\",\"name\":\"B\",\"full_name\":\"::<<Unknown>>::B\","
                  "\"visibility\":\"private\",\"ancestor\":null,\"implements\":[],"
                  "\"documentation\":\"\",\"features\":[]}]},\n"
                  "{\"name\":\"Default\",\"full_name\":\"::Default\",\"classifiers\":["
                  "{\"kind\":\"class\",\"name\":\"A\",\"full_name\":\"::Default::A\","
                  "\"visibility\":\"public\",\"ancestor\":null,\"implements\":[],"
                  "\"documentation\":\"\",\"features\":[{\"kind\":\"attribute\",\"name\":"
                  "\"partner\",\"visibility\":\"public\",\"type\":\"::<<Unknown>>::B\","
                  "\"documentation\":\"\"}]}]}]}\n");
}

TEST(ModelCommand, OperationsCarryTheirParametersAndKinds) {
    const std::string shape = data_path("shapes/Shape.java");
    const std::vector<std::string_view> args{shape, "-TRACEON"};
    std::ostringstream out;
    EXPECT_EQ(run_model(args, out), 0);
    EXPECT_NE(out.str().find("{\"kind\":\"operation\",\"name\":\"area\",\"visibility\":\"public\","
                             "\"type\":\"::<<Unknown>>::double\",\"operation_type\":\"function\","
                             "\"abstract\":true,\"parameters\":[],"
                             "\"documentation\":\"The area enclosed. \"}"),
              std::string::npos)
        << out.str();
}

TEST(ModelCommand, FailedFilesAndWrongCallsAreReported) {
    const std::string missing = data_path("mixed/Missing.java");
    const std::string a = data_path("mixed/A.java");
    const std::string not_a_class = data_path("mixed/B.class");
    const std::vector<std::vector<std::string_view>> failing{{missing, a}, {not_a_class, a}};
    for (const auto& args : failing) {
        std::ostringstream out;
        EXPECT_EQ(run_model(args, out), 1);
        EXPECT_NE(out.str().find("{\"files\":"), std::string::npos);
    }

    const std::string notes = data_path("mixed/notes.TXT");
    const std::vector<std::vector<std::string_view>> wrong_calls{{}, {notes, a}, {"-x", a}, {"-"}};
    for (const auto& args : wrong_calls) {
        std::ostringstream ignored;
        EXPECT_THROW(run_model(args, ignored), usage_error);
    }
}

TEST(ModelCommand, ReadsClassFilesAndJars) {
    const std::string jar = data_path("classfiles/classes.jar");
    const std::string calc = data_path("classfiles/Calc.class");
    const std::string java = data_path("mixed/A.java");
    const std::vector<std::string_view> args{jar, java, calc};
    std::ostringstream out;
    EXPECT_EQ(run_model(args, out), 0);
    EXPECT_TRUE(out.str().starts_with("{\"files\":[\"" + jar + "\",\"" + calc + "\"]"))
        << out.str();
    for (const char* name : {"\"full_name\":\"::pkg::A\",", "\"full_name\":\"::Default::Calc\","}) {
        EXPECT_NE(out.str().find(name), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace tarnwell::cli
