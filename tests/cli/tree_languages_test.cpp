// The syntax-tree languages through every road of the command line: the language follows the
// file's extension, a function marked whole charts its body, and the chart goes out as text, a
// picture and an Office file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace tarnwell::cli {
namespace {

// Runs tarnwell-cli and keeps what it writes on both outputs.
run_result run_cli(const std::string& arguments) {
    return run_command(std::string(TARNWELL_CLI) + " " + arguments + " 2>&1");
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string data = TARNWELL_TEST_DATA "/tree/";

struct road_case {
    const char* file;
    const char* lines;  // the whole function, from its declaration to its last line
    // Nodes of the Mermaid text: each construct of the body with its first line and its code.
    std::vector<const char*> nodes;
    const char* absent;  // what charting the body must leave out: the function's own header
};

TEST(TreeLanguages, ChartAMarkedFunctionThroughEveryRoad) {
    const road_case cases[] = {
        {"account.py",
         "6-29",
         {"{\"IF<br/>8-8<br/>if amount #lt;= 0:\"}",
          "([\"Exit<br/>9-9<br/>raise ValueError(#quot;amount must be positive#quot;)\"])",
          "{{\"For<br/>12-12<br/>for attempt in range(3):\"}}",
          "[[\"Catch<br/>15-17<br/>except TimeoutError as exc:", "{\"IF<br/>20-20<br/>else:\"}",
          "{\"Switch<br/>22-22<br/>match self.kind:\"}", "[\"Default<br/>25-25<br/>case _:\"]",
          "([\"Return<br/>29-29<br/>return True\"])"},
         "def withdraw"},
        {"shapes.ts",
         "6-31",
         {"[\"Label<br/>8-8<br/>outer:\"]",
          "{{\"For<br/>8-8<br/>for (const item of this.items)\"}}",
          "(\"Continue<br/>10-10<br/>continue outer;\")",
          "{\"Switch<br/>15-15<br/>switch (this.items.length)\"}",
          "([\"Exit<br/>17-17<br/>throw new Error(#quot;empty#quot;);\"])",
          "[[\"Catch<br/>25-27<br/>catch (e)", "([\"Return<br/>30-30<br/>return best;\"])"},
         "largest(limit"},
        {"panel.tsx",
         "3-20",
         {"{\"IF<br/>4-4<br/>if (busy)\"}",
          "{{\"For<br/>8-8<br/>for (let i = 0; i #lt; rows.length; i++)\"}}",
          "(\"Break<br/>9-9<br/>break;\")",
          "{\"While<br/>14-14<br/>while (items.length #gt; 10);\"}"},
         "Panel({"},
        {"queue.go",
         "5-31",
         {"{\"IF<br/>6-6<br/>if len(q.items) == 0\"}", "[\"Code<br/>9-9<br/>defer close(ch)\"]",
          "[\"Label<br/>10-10<br/>loop:\"]", "{{\"For<br/>11-11<br/>for i, v := range q.items\"}}",
          "(\"Break<br/>16-16<br/>break loop\")", "{\"Switch<br/>23-23<br/>select\"}",
          "[\"Default<br/>25-25<br/>default:\"]"},
         "func (q *Queue)"},
        {"stack.rs",
         "4-22",
         {"{\"IF<br/>5-5<br/>let Some(top) = self.items.last() else\"}",
          "{\"Switch<br/>8-8<br/>match self.items.pop()\"}",
          "[\"Case<br/>9-9<br/>Some(v) if keep(#amp;v) =#gt;\"]",
          "(\"Break<br/>12-12<br/>break 'outer;\")",
          "{\"While<br/>17-17<br/>while let Some(x) = self.items.first()\"}",
          "[\"Code<br/>21-21<br/>last\"]"},
         "pub fn pop_while"},
    };
    const std::string out = ::testing::TempDir() + "tree_road";
    for (const road_case& c : cases) {
        const std::string file = data + c.file;
        const std::string lines = std::string("--lines ") + c.lines + " ";
        const run_result markup = run_cli("markup " + lines + file);
        EXPECT_EQ(markup.status, 0) << c.file << "\n" << markup.out;
        EXPECT_NE(markup.out.find("\"ok\":true"), std::string::npos) << c.file;

        const run_result text = run_cli("render " + lines + "-o " + out + ".mmd " + file);
        ASSERT_EQ(text.status, 0) << c.file << "\n" << text.out;
        const std::string mermaid = read_file(out + ".mmd");
        for (const char* node : c.nodes) {
            EXPECT_NE(mermaid.find(node), std::string::npos) << c.file << ": " << node << "\n"
                                                             << mermaid;
        }
        EXPECT_EQ(mermaid.find(c.absent), std::string::npos) << c.file << "\n" << mermaid;

        EXPECT_EQ(run_cli("render " + lines + "-o " + out + ".svg " + file).status, 0) << c.file;
        const run_result office =
            run_cli("export --to pptx " + lines + "--function f -o " + out + ".pptx " + file);
        EXPECT_EQ(office.status, 0) << c.file << "\n" << office.out;
        EXPECT_NE(office.out.find("\"layout_ok\":true"), std::string::npos) << c.file;
    }
}

TEST(TreeLanguages, ABrokenFunctionIsAParseErrorAtItsPlace) {
    const std::string file = ::testing::TempDir() + "broken.py";
    std::ofstream(file, std::ios::binary) << "x = 1\nif x >:\n    y = 2\n";
    const run_result r = run_cli("markup " + file);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"ok\":false"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("<code/>1-5"), std::string::npos)
        << "the code before the error is charted\n"
        << r.out;
}

TEST(TreeLanguages, AFileOfNoLanguageAsksForOne) {
    const std::string file = ::testing::TempDir() + "notes.txt";
    std::ofstream(file, std::ios::binary) << "x := f()\n";
    const run_result plain = run_cli("markup " + file);
    EXPECT_EQ(plain.status, 2);
    EXPECT_NE(plain.out.find("no language is chosen for " + file + ": name one with --lang"),
              std::string::npos)
        << plain.out;
    EXPECT_EQ(run_cli("markup --lang go " + file).status, 0);
}

}  // namespace
}  // namespace tarnwell::cli
