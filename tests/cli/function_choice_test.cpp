// A chart chosen by a function's name or by a line inside it charts what the code explorer's
// lines would: the same markup as --lines over the lines the function list gives.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"

namespace tarnwell::cli {
namespace {

run_result run_cli(const std::string& arguments) {
    return run_command(std::string(TARNWELL_CLI) + " " + arguments + " 2>&1");
}

const std::string data = TARNWELL_TEST_DATA "/";

struct choice_case {
    const char* file;
    const char* choice;  // --function NAME or --at LINE
    // The lines it must mark: as a click in the code explorer does, without the line of the
    // name where the language's scanner lists a function from the line that opens its body.
    const char* lines;
    bool straight = false;  // the function holds no jump or construct
};

TEST(FunctionChoice, ANameOrALineMarksTheLinesOfItsFunction) {
    const choice_case cases[] = {
        {"cli/example.c", "--function main", "2-8"},
        {"cli/Overloads.java", "--function size#2", "7-11"},
        {"cli/Overloads.java", "--at 8", "7-11"},
        {"cli/Overloads.java", "--function width", "15-16"},
        {"tree/account.py", "--function withdraw", "6-29"},
        {"tree/account.py", "--function Account.__init__", "2-4", true},
        {"tree/account.py", "--at 20", "6-29"},
        {"tree/shapes.ts", "--function Inventory.largest", "6-31"},
        {"tree/panel.tsx", "--function Panel", "3-20"},
        {"tree/queue.go", "--function Queue.Drain", "5-31"},
        {"tree/stack.rs", "--function Stack::pop_while", "4-22"},
        {"tree/stack.rs", "--function pop_while", "4-22"},
        {"tree/settle.kt", "--at 5", "1-12"},
        {"tree/inventory.swift", "--function take", "7-38"},
        {"tree/ledger.rb", "--function Ledger.load", "5-35"},
        {"tree/describe.scala", "--function describe", "1-10"},
        {"tree/drain.lua", "--function Queue:drain", "1-15"},
        {"tree/backup.sh", "--function backup", "4-35"},
        {"tree/copy_logs.ps1", "--function Copy-Logs", "1-15"},
    };
    for (const choice_case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.choice);
        const run_result chosen = run_cli(std::string("markup ") + c.choice + " " + data + c.file);
        const run_result marked =
            run_cli(std::string("markup --lines ") + c.lines + " " + data + c.file);
        EXPECT_EQ(chosen.status, 0) << chosen.out;
        EXPECT_EQ(chosen.out, marked.out);
        // Each function holds a jump or a construct; a chart of one code box read the header
        // as a statement.
        EXPECT_TRUE(c.straight || chosen.out.find("<return/>") != std::string::npos ||
                    chosen.out.find("<if>") != std::string::npos)
            << chosen.out;
    }
}

TEST(FunctionChoice, NoneOrSeveralMatchesExitWithTwoAndSayWhich) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"markup --function withdrew tree/account.py",
         "tarnwell-cli markup: no function withdrew in " TARNWELL_TEST_DATA
         "/tree/account.py; near names: Account.withdraw, Account.__init__\n"},
        {"markup --function size cli/Overloads.java",
         "tarnwell-cli markup: several functions in " TARNWELL_TEST_DATA
         "/cli/Overloads.java are named size: size (lines 2-4), size (lines 6-11); give its "
         "qualified name or size#2\n"},
        {"script --function size#3 cli/Overloads.java",
         "tarnwell-cli script: " TARNWELL_TEST_DATA
         "/cli/Overloads.java has 2 functions named size, not 3\n"},
        {"cells --at 18 cli/Overloads.java",
         "tarnwell-cli cells: no function holds line 18 of " TARNWELL_TEST_DATA
         "/cli/Overloads.java\n"},
        {"markup --at 0 cli/example.c",
         "tarnwell-cli markup: --at takes a line number of 1 or more\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string arguments = c.arguments;
        const std::size_t file = arguments.rfind(' ') + 1;
        const run_result result =
            run_cli(arguments.substr(0, file) + data + arguments.substr(file));
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, c.message);
    }
}

TEST(FunctionChoice, ProcsListsTheFunctionsAsJson) {
    const struct {
        const char* file;
        const char* json;
    } cases[] = {
        {"tree/account.py",
         "{\"functions\":[{\"name\":\"__init__\",\"qualified_name\":\"Account.__init__\","
         "\"kind\":\"constructor\",\"declaration\":2,\"begin\":2,\"end\":4},{\"name\":"
         "\"withdraw\",\"qualified_name\":\"Account.withdraw\",\"kind\":\"function\","
         "\"declaration\":6,\"begin\":6,\"end\":29}]}\n"},
        {"tree/stack.rs",
         "{\"functions\":[{\"name\":\"pop_while\",\"qualified_name\":\"Stack::pop_while\","
         "\"kind\":\"function\",\"declaration\":4,\"begin\":4,\"end\":22}]}\n"},
        {"tree/drain.lua",
         "{\"functions\":[{\"name\":\"drain\",\"qualified_name\":\"Queue:drain\","
         "\"kind\":\"function\",\"declaration\":1,\"begin\":1,\"end\":15}]}\n"},
    };
    for (const auto& c : cases) {
        const run_result result = run_cli("procs --json " + data + c.file);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, c.json) << c.file;
    }
}

TEST(FunctionChoice, ALanguageWithoutAFunctionListSaysSo) {
    const run_result result = run_cli("markup --lang js --function f " + data + "cli/example.c");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.out.find("not js"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace tarnwell::cli
