#include "cli/xmi_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "test_support.h"

namespace tarnwell::cli {
namespace {

namespace fs = std::filesystem;
using test::data_path;
using test::read_file;
using test::well_formed;

// The file the command writes, removed afterwards.
class XmiCommand : public testing::Test {
  protected:
    void TearDown() override { fs::remove(output_); }

    int run(std::vector<std::string_view> args) {
        std::ostringstream out;
        const int status = run_xmi(args, out);
        EXPECT_EQ(out.str(), "");
        return status;
    }

    const std::string output_ =
        (fs::temp_directory_path() /
         ("tarnwell-xmi-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
          ".xmi"))
            .string();
};

TEST_F(XmiCommand, WritesEitherFormOfWhatItImports) {
    struct form_case {
        std::vector<std::string> args;
        std::string model_start;
    };
    const form_case cases[] = {
        {{data_path("classfiles/classes.jar")},
         "<Model_Management.Model xmi.id=\"xmi.1\" xmi.uuid=\"-84-17-1--58:11e4a7c2d9b:-8000\">"},
        {{"--simple", data_path("classfiles/classes.jar")},
         "<Model_Management.Model>\r\n<Model_Management.Package xmi.id=\"xmi_1\">"},
        {{data_path("shapes/Circle.java"), "-traceon"}, "<Model_Management.Model xmi.id="},
    };
    for (const form_case& c : cases) {
        std::vector<std::string_view> args{"-o", output_};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(run(args), 0);
        const std::string xmi = read_file(output_);
        EXPECT_NE(xmi.find(c.model_start), std::string::npos) << xmi.substr(0, 800);
        EXPECT_TRUE(well_formed(xmi));
    }
}

TEST_F(XmiCommand, FilesThatFailLeaveTheRestWritten) {
    const std::string broken = data_path("classfiles/broken.jar");
    EXPECT_EQ(run({"-o", output_, broken}), 1);
    const std::string xmi = read_file(output_);
    EXPECT_NE(xmi.find("<Foundation.Core.ModelElement.name>Shape<"), std::string::npos);
    EXPECT_EQ(xmi.find("<Foundation.Core.ModelElement.name>A<"), std::string::npos);
}

TEST_F(XmiCommand, WrongCallsAreRefused) {
    const std::string jar = data_path("classfiles/classes.jar");
    const std::string notes = data_path("mixed/notes.TXT");
    const std::vector<std::vector<std::string_view>> wrong_calls{
        {jar},
        {jar, "-o"},
        {"-o", output_},
        {"-o", output_, "--lang", jar},
        {"-o", output_, notes},
        {"-o", "/nonexistent-folder/out.xmi", jar},
    };
    for (const auto& args : wrong_calls) {
        std::ostringstream out;
        EXPECT_THROW(run_xmi(args, out), usage_error);
    }
}

}  // namespace
}  // namespace tarnwell::cli
