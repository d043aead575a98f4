#include "cli/script_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"

namespace tarnwell::cli {
namespace {

std::string write_file(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct run_result {
    int status;
    std::string json;
};

run_result run(std::vector<std::string> args) {
    const std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out;
    const int status = run_script(views, out);
    return {status, out.str()};
}

const std::string first_example =
    "x = 0;\r\nif (a > 1) {\r\n    x = 1;\r\n} else\r\n    x = 2;\r\nreturn x;\r\n";

TEST(ScriptCommand, WorkedExampleAtThreeLevels) {
    const std::string file = write_file("first.c", first_example);
    const std::pair<const char*, std::string> cases[] = {
        {"0",
         "colcount6rowcount12script98(100,1,p_start,1-2)(100,2,P_code,1-6)(100,3,P_downarrow,1-6)"
         "(100,4,p_if,9-18)(99,4,p_leftdownturntruearrow,9-18)(99,5,P_code,27-32)"
         "(99,6,P_leftturn,27-32)(101,4,p_rightdownturnfalsearrow,35-35)(101,5,P_code,47-52)"
         "(101,6,P_rightturn,47-52)(100,6,p_threearrow,52-52)(100,7,P_return,55-63)"
         "(100,9,p_end,66-66)\\u0001"},
        {"2",
         "colcount4rowcount11script99(100,1,p_start,1-2)(100,2,P_code,1-6)"
         "(100,3,P_downarrow,1-6)(100,4,p_if2,9-52)(100,5,P_downarrow,9-52)"
         "(100,6,P_return,55-63)(100,8,p_end,66-66)\\u0001"},
        {"1",
         "colcount4rowcount7script99(100,1,p_start,1-2)(100,2,p_statement,1-66)"
         "(100,3,P_downarrow,1-66)(100,4,p_end,1-66)\\u0001"},
    };
    for (const auto& [level, script] : cases) {
        const run_result result = run({"--level", level, file});
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.json, std::string("{\"ok\":true,\"message\":\"yeah!! NO error\","
                                           "\"error_pos\":67,\"error_len\":5,\"layout_ok\":true,"
                                           "\"depth\":2,\"level\":") +
                                   level + ",\"offset\":0,\"script\":\"" + script + "\"}\n");
    }
}

TEST(ScriptCommand, LaysOutAGivenMarkup) {
    const std::string file = write_file("minimal.xmls", "<statement>1-1</statement>5-5\001\n");
    const run_result result = run({"--markup", file});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.json,
              "{\"ok\":true,\"message\":\"\",\"error_pos\":0,\"error_len\":0,\"layout_ok\":true,"
              "\"depth\":1,\"level\":0,\"offset\":0,\"script\":\"colcount4rowcount5script99"
              "(100,1,p_start,1-2)(100,2,p_end,5-5)\\u0001\"}\n");
}

TEST(ScriptCommand, MarkupIsLaidOutForTheParserSlotOfTheLanguage) {
    const std::string file = write_file(
        "selection.xmls",
        "<statement>1-1<switch>1-5<case/>6-8<statement>9-9<code/>9-10</statement>11-11"
        "<case/>11-13<statement>14-14<code/>14-15</statement>16-16</switch>16-16</statement>"
        "17-17\001");
    // Visual Basic leaves an empty row before the second label; the default slot does not.
    EXPECT_NE(run({"--markup", "--lang", "vb", file}).json.find("(100,9,P_case,11-13)"),
              std::string::npos);
    EXPECT_NE(run({"--markup", file}).json.find("(100,8,P_case,11-13)"), std::string::npos);
}

TEST(ScriptCommand, FailedParseStillLaysOutWhatItLeft) {
    const std::string file = write_file("broken.c", "x = 1;\nif (a) {\n  y = 2;\n");
    const run_result result = run({file});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.json.find("\"ok\":false"), std::string::npos);
    EXPECT_NE(result.json.find("\"layout_ok\":false"), std::string::npos);
    EXPECT_NE(result.json.find("p_end"), std::string::npos);
}

TEST(ScriptCommand, MalformedMarkupFailsTheLayout) {
    const std::string file = write_file("malformed.xmls", "<statement>1-1<if>1-5<code/>7-9\001");
    const run_result result = run({"--markup", file});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.json.find("\"layout_ok\":false"), std::string::npos);
}

TEST(ScriptCommand, MarkedLinesDoNotGoWithAMarkup) {
    const std::string file = write_file("lines.xmls", "<statement>1-1</statement>5-5\001");
    EXPECT_THROW(run({"--markup", "--lines", "1-2", file}), usage_error);
}

}  // namespace
}  // namespace tarnwell::cli
