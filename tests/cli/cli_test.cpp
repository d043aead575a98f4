#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "cli/json_writer.h"
#include "cli_runner.h"
#include "flowview/marked_region.h"

namespace tarnwell::cli {
namespace {

// Runs tarnwell-cli through the shell, with `input` on its standard input, and keeps stdout.
run_result run_cli(const std::string& arguments, const std::string& input = "") {
    return run_command("printf '%s' '" + input + "' | " + std::string(TARNWELL_CLI) + " " +
                       arguments + " 2>/dev/null");
}

const std::string data = TARNWELL_TEST_DATA "/cli/";

TEST(CliMarkup, ParsesTheMarkedLinesAndGivesTheirOffset) {
    const run_result r = run_cli("markup --lines 2-7 " + data + "example.c");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\"ok\":true,\"message\":\"yeah!! NO error\",\"markup\":\"<statement>1-1<code/>1-6"
              "<if>9-18<statement>27-27<code/>27-32</statement>35-35<statement>47-47<code/>47-52"
              "</statement>52-52</if>52-52<return/>55-63</statement>66-66\\u0001\","
              "\"error_pos\":67,\"error_len\":5,\"offset\":14}\n");
}

TEST(CliMarkup, ReadsStandardInputAndTakesTheLanguageOption) {
    const run_result file = run_cli("markup " + data + "example_body.java");
    const run_result piped = run_cli("markup --lang java - < " + data + "example_body.java");
    EXPECT_EQ(file.status, 0);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(file.out, piped.out);
    EXPECT_NE(file.out.find("\"offset\":0"), std::string::npos);
}

TEST(CliMarkup, ExitStatusTellsParseErrorsFromWrongCalls) {
    struct status_case {
        std::string arguments;
        int status;
    };
    const status_case cases[] = {
        {"markup --lang cpp -", 1},
        {"markup " + data + "no-such-file.c", 2},
        {"markup " + data, 2},  // a folder
        {"markup --lines 3-3 " + data + "example.c", 2},
        {"markup --lines 2-99 " + data + "example.c", 2},
        {"markup --lang cobol " + data + "example.c", 2},
        {"markup --level 2 " + data + "example.c", 2},
        {"markup", 2},
        {"frobnicate " + data + "example.c", 2},
    };
    for (const status_case& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(run_cli(c.arguments, "while (x) f()").status, c.status);
    }
}

TEST(CliMarkup, FailedParseStillWritesTheJson) {
    const run_result r = run_cli("markup --lang cpp -", "do { f(); } until (x);");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"ok\":false,\"message\":\"here should be \\\"while\\\"\""),
              std::string::npos);
}

// A function that ends on the file's last line, which has no line break, charts as it would
// with one in every line-oriented language.
TEST(CliMarkup, AFunctionEndingOnTheLastLineWithoutABreakParses) {
    struct last_line_case {
        const char* lang;
        const char* text;
    };
    const last_line_case cases[] = {
        {"vb", "Sub Main()\r\n    x = 1\r\n    If x > 0 Then\r\n        x = 2\r\n    End If"},
        {"vbnet", "Sub Main()\n    x = 1\n    x = 2"},
        {"vbs", "Sub Main()\n    x = 1\n    Do\n        x = x + 1\n    Loop Until x > 3"},
        {"bas", "x = 1\nPRINT x\nPRINT x + 1"},
        {"foxpro", "x = 1\nIF x > 0\n  x = 2\nENDIF"},
    };
    const std::string folder = testing::TempDir();
    for (const last_line_case& c : cases) {
        const std::string file = folder + "last_line_" + c.lang + ".txt";
        std::ofstream(file, std::ios::binary) << c.text;
        const std::string text = c.text;
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        const run_result r = run_cli("markup --lang " + std::string(c.lang) + " --lines 2-" +
                                     std::to_string(lines) + " " + file);
        EXPECT_EQ(r.status, 0) << c.lang << ": " << r.out;
        EXPECT_NE(r.out.find("\"ok\":true"), std::string::npos) << c.lang << ": " << r.out;
    }
}

TEST(CliProcs, ListsTheProceduresOfTheFileLanguage) {
    const run_result java = run_cli("procs " + data + "example_body.java");
    EXPECT_EQ(java.status, 0);
    EXPECT_EQ(java.out, "");
    const run_result c = run_cli("procs " + data + "example.c");
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.out, "1-1-8|void|main\r\n");
    EXPECT_EQ(run_cli("procs --lang perl " + data + "example.c").status, 2);
    EXPECT_EQ(run_cli("procs --budget -1 " + data + "example.c").status, 2);
}

TEST(CliLanguages, ListsTheSixteenRows) {
    const run_result r = run_cli("languages");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("{\"number\":0,\"name\":\"general\",\"combo_text\":\"General\""),
              std::string::npos);
    EXPECT_NE(r.out.find("{\"number\":15,\"name\":\"tsql\",\"combo_text\":\"\""),
              std::string::npos);
}

TEST(JsonString, EscapesControlsAndKeepsValidUtf8) {
    EXPECT_EQ(json_string("a\"b\\c\n\001"), "\"a\\\"b\\\\c\\n\\u0001\"");
    EXPECT_EQ(json_string("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(json_string("\xff\xc3"), "\"\\u00ff\\u00c3\"");
    EXPECT_EQ(json_string("\xe0\x80\x80"), "\"\\u00e0\\u0080\\u0080\"");  // overlong form
}

TEST(MarkedRegion, CutsFromTheBeginLineToTheStartOfTheLineAfterTheEndLine) {
    const std::string text = "a\r\nbb\ncc\nd";
    const auto middle = cut_marked_lines(text, 2, 3);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->text, "bb\ncc\n");
    EXPECT_EQ(middle->offset, 3);
    const auto to_end = cut_marked_lines(text, 3, 4);
    ASSERT_TRUE(to_end);
    EXPECT_EQ(to_end->text, "cc\nd\n");
    EXPECT_FALSE(cut_marked_lines(text, 2, 2));
    EXPECT_FALSE(cut_marked_lines(text, 3, 5));
    EXPECT_FALSE(cut_marked_lines(text, 0, 2));
}

}  // namespace
}  // namespace tarnwell::cli
