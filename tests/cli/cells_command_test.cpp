#include "cli/cells_command.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"

namespace tarnwell::cli {
namespace {

struct cells_run {
    int status;
    std::string json;
};

cells_run cells(const std::vector<std::string>& args) {
    const std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out;
    const int status = run_cells(views, out);
    return {status, out.str()};
}

std::string written(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

const std::string first_example_markup =
    "<statement>1-1<code/>1-6<if>9-18<statement>27-27<code/>27-32</statement>35-35"
    "<statement>47-47<code/>47-52</statement>52-52</if>52-52<return/>55-63</statement>66-66\001";

std::string connector(int c1, int r1, const char* a1, int c2, int r2, const char* a2, int code) {
    return "{\"first_column\":" + std::to_string(c1) + ",\"first_row\":" + std::to_string(r1) +
           ",\"first_anchor\":\"" + a1 + "\",\"second_column\":" + std::to_string(c2) +
           ",\"second_row\":" + std::to_string(r2) + ",\"second_anchor\":\"" + a2 +
           "\",\"code\":" + std::to_string(code) + "}";
}

// What the program itself writes for a call, and its exit status.
cells_run program(const std::string& arguments) {
    const std::string answer = ::testing::TempDir() + "cells-answer.json";
    const int status = std::system(
        (std::string(TARNWELL_CLI) + " cells " + arguments + " > " + answer + " 2>/dev/null")
            .c_str());
    std::ifstream in(answer, std::ios::binary);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(std::istreambuf_iterator<char>(in), {})};
}

TEST(CellsCommand, WorkedExampleOfTheFirstMarkup) {
    const std::string file = written("first.xmls", first_example_markup);
    const std::string expected =
        "{\"ok\":true,\"message\":\"\",\"layout_ok\":true,\"level\":0,\"column_count\":6,"
        "\"row_count\":13,\"column_offset\":98,\"cells\":["
        "{\"column\":100,\"row\":1,\"code\":0,\"range\":\"1-2\",\"text\":\"\"},"
        "{\"column\":100,\"row\":3,\"code\":2,\"range\":\"1-6\",\"text\":\"\"},"
        "{\"column\":100,\"row\":5,\"code\":25,\"range\":\"9-18\",\"text\":\"\"},"
        "{\"column\":99,\"row\":6,\"code\":2,\"range\":\"27-32\",\"text\":\"\"},"
        "{\"column\":101,\"row\":6,\"code\":2,\"range\":\"47-52\",\"text\":\"\"},"
        "{\"column\":100,\"row\":8,\"code\":3,\"range\":\"55-63\",\"text\":\"\"},"
        "{\"column\":100,\"row\":10,\"code\":12,\"range\":\"66-66\",\"text\":\"\"}],"
        "\"connectors\":[" +
        connector(100, 1, "Alignbottom", 100, 3, "Aligntop", 27) + "," +
        connector(100, 3, "Alignbottom", 100, 5, "Aligntop", 27) + "," +
        connector(100, 5, "Alignleft", 99, 6, "Aligntop", 28) + "," +
        connector(99, 6, "Alignbottom", 100, 8, "Aligntop", 27) + "," +
        connector(100, 5, "Alignright", 101, 6, "Aligntop", 29) + "," +
        connector(101, 6, "Alignbottom", 100, 8, "Aligntop", 27) + "]}\n";
    const cells_run in_process = cells({"--markup", file});
    EXPECT_EQ(in_process.status, 0);
    EXPECT_EQ(in_process.json, expected);
    const cells_run run = program("--markup " + file);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.json, expected);
}

TEST(CellsCommand, CellsOfMarkedSourceLinesCarryTheirText) {
    const cells_run r = cells({"--lines", "2-7", TARNWELL_TEST_DATA "/cli/example.c"});
    EXPECT_EQ(r.status, 0);
    for (const char* cell :
         {"{\"column\":100,\"row\":1,\"code\":0,\"range\":\"1-2\",\"text\":\"x \"}",
          "{\"column\":100,\"row\":5,\"code\":25,\"range\":\"9-18\",\"text\":\"if (a > 1)\"}",
          "{\"column\":101,\"row\":6,\"code\":2,\"range\":\"47-52\",\"text\":\"x = 2;\"}",
          "{\"column\":100,\"row\":8,\"code\":3,\"range\":\"55-63\",\"text\":\"return x;\"}",
          "{\"column\":100,\"row\":10,\"code\":12,\"range\":\"66-66\",\"text\":\"\"}"}) {
        EXPECT_NE(r.json.find(cell), std::string::npos) << cell << "\n" << r.json;
    }
}

TEST(CellsCommand, FailuresAreReportedWithWhatWasLaidOut) {
    struct failure_case {
        const char* name;
        std::vector<std::string> args;
        const char* expected;  // a part of the answer
    };
    const failure_case cases[] = {
        {"failed parse", {written("broken.c", "x = 1;\nif (a) {\n  y = 2;\n")}, "\"ok\":false"},
        {"cut markup",
         {"--markup", written("cut.xmls", "<statement>1-1<code/>1-5<if>7-9\001")},
         "\"layout_ok\":false,\"level\":0,\"column_count\":4,\"row_count\":8"},
        {"no sequence first",
         {"--markup", written("junk.xmls", "<code/>1-5\001")},
         "\"layout_ok\":false,\"level\":0,\"column_count\":0,\"row_count\":0,\"column_offset\":0,"
         "\"cells\":[],\"connectors\":[]}"},
    };
    for (const failure_case& c : cases) {
        const cells_run r = cells(c.args);
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_NE(r.json.find(c.expected), std::string::npos) << c.name << "\n" << r.json;
    }
    EXPECT_THROW(cells({"--markup", "--lines", "1-2", written("lines.xmls", "<statement>1-1")}),
                 usage_error);
    EXPECT_THROW(cells({"--level"}), usage_error);
}

TEST(CellsCommand, LevelAndLanguageReachTheLayout) {
    const std::string selection = written(
        "selection.xmls",
        "<statement>1-1<switch>1-5<case/>6-8<statement>9-9<code/>9-10</statement>11-11"
        "<case/>11-13<statement>14-14<code/>14-15</statement>16-16</switch>16-16</statement>"
        "17-17\001");
    const auto end_cells = [](const std::string& json) {
        std::size_t count = 0;
        for (std::size_t at = json.find("\"code\":23"); at != std::string::npos;
             at = json.find("\"code\":23", at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(end_cells(cells({"--markup", selection}).json), 1u);
    EXPECT_EQ(end_cells(cells({"--markup", "--lang", "vb", selection}).json), 2u);
    EXPECT_NE(cells({"--markup", "--level", "2", selection}).json.find("\"code\":19"),
              std::string::npos);
}

}  // namespace
}  // namespace tarnwell::cli
