#include "explorer/uPasProcLexer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "scanner_test_support.h"

namespace tarnwell {
namespace {

std::string scan(const std::string& source) {
    TPasProcLexer scanner;
    scanner.set_source_text(source);
    scanner.run();
    EXPECT_EQ(scanner.failure(), "");
    EXPECT_FALSE(scanner.timed_out());
    return scanner.result_text();
}

struct scan_case {
    const char* name;
    std::string source;
    std::string result;
};

class PasScan : public testing::TestWithParam<scan_case> {};

TEST_P(PasScan, ReportsTheseRoutines) {
    EXPECT_EQ(scan(GetParam().source), GetParam().result);
}

const scan_case scan_cases[] = {
    {"unit_implementation_only",
     "unit U;\n"
     "interface\n"
     "procedure Hidden;\n"
     "implementation\n"
     "procedure TForm1.Button1Click(Sender: TObject);\n"
     "begin\n"
     "end;\n"
     "function Max(A, B: Integer): Integer;\n"
     "begin\n"
     "  Result := A;\n"
     "end;\n"
     "end.\n",
     "5-6-7|proc|TForm1.Button1Click\r\n"
     "8-9-11|void|Max\r\n"},
    {"include_file_without_heading_counts_lines_from_one",
     "\n"
     "procedure A;\n"
     "begin end;\n",
     "2-3-3|proc|A\r\n"},
    {"program",
     "program P;\r\n"
     "procedure Register;\r\n"
     "begin\r\n"
     "end;\r\n"
     "begin\r\n"
     "  Register;\r\n"
     "end.\r\n",
     "2-3-4|proc|Register\r\n"},
    {"class_routines_and_constructors",
     "implementation\n"
     "class function TFoo.Create: TFoo;\n"
     "begin end;\n"
     "class procedure TFoo.Reset;\n"
     "begin end;\n"
     "class constructor TFoo.Boot;\n"
     "begin end;\n"
     "class destructor TFoo.Halt;\n"
     "begin end;\n"
     "constructor TFoo.Make(A: Integer);\n"
     "begin end;\n"
     "destructor TFoo.Destroy;\n"
     "begin end;\n",
     "2-3-3|void|TFoo.Create\r\n"
     "4-5-5|proc|TFoo.Reset\r\n"
     "6-7-7|Unknown|TFoo.Boot\r\n"
     "8-9-9|Unknown|TFoo.Halt\r\n"
     "10-11-11|cons|TFoo.Make\r\n"
     "12-13-13|des|TFoo.Destroy\r\n"},
    {"method_headings_inside_a_class_type_are_not_routines",
     "program P;\n"
     "type\n"
     "  TFoo = class(TBase)\n"
     "  private\n"
     "    procedure A;\n"
     "    class function B: Integer;\n"
     "    property Read: Integer read FValue;\n"
     "  end;\n"
     "  TBar = class;\n"
     "procedure TFoo.A;\n"
     "begin\n"
     "end;\n",
     "10-11-12|proc|TFoo.A\r\n"},
    {"nested_routine_is_read_through",
     "procedure Outer;\n"
     "  function Inner: Integer;\n"
     "  begin\n"
     "  end;\n"
     "var X: Integer;\n"
     "begin\n"
     "  case X of\n"
     "    1: try X := 2; finally end;\n"
     "  end;\n"
     "end;\n"
     "procedure Next;\n"
     "begin end;\n",
     "1-6-10|proc|Outer\r\n"
     "11-12-12|proc|Next\r\n"},
    {"heading_over_lines_with_comments",
     "function {x}\n"
     "  Sum(const A: array of Integer;\n"
     "      B: Integer): Int64; overload;\n"
     "// begin in a comment\n"
     "{ end; }\n"
     "begin\n"
     "end;\n",
     "1-6-7|void|{x} Sum\r\n"},
    {"procedural_types_and_variables_are_not_routines",
     "type TEvent = procedure(Sender: TObject) of object;\n"
     "var F: function(X: Integer): Integer;\n"
     "procedure Real;\n"
     "begin end;\n",
     "3-4-4|proc|Real\r\n"},
    {"class_with_only_ancestors_is_a_complete_declaration",
     "type\n"
     "  EFoo = class(Exception);\n"
     "  TBar = class(TInterfacedObject, IBar);\n"
     "procedure Shown;\n"
     "begin end;\n",
     "4-5-5|proc|Shown\r\n"},
    {"forward_and_external_routines_have_no_body",
     "program P;\n"
     "function Later(X: Integer): Integer; forward;\n"
     "procedure Beep; stdcall; external 'user32' name 'MessageBeep';\n"
     "procedure Outer;\n"
     "  procedure Inner; forward;\n"
     "  procedure Inner;\n"
     "  begin end;\n"
     "begin\n"
     "end;\n"
     "function Later(X: Integer): Integer;\n"
     "begin\n"
     "end;\n",
     "4-8-9|proc|Outer\r\n"
     "10-11-12|void|Later\r\n"},
    {"assembler_body",
     "procedure Fast; assembler;\n"
     "asm\n"
     "  mov eax, 1\n"
     "end;\n"
     "procedure Next;\n"
     "begin end;\n",
     "1-2-4|proc|Fast\r\n"
     "5-6-6|proc|Next\r\n"},
    {"body_not_closed", "procedure Open;\nbegin\n  if X then\n", "1-2--1|proc|Open\r\n"},
    {"heading_at_the_end", "procedure Last", "1--1--1|proc|Last\r\n"},
    {"nothing_to_report", "begin end.", ""},
    {"empty_text", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, PasScan, testing::ValuesIn(scan_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PasScan, UnitWithoutImplementationFailsAndReportsNothing) {
    TPasProcLexer scanner;
    scanner.set_source_text("unit U;\ninterface\nprocedure A;\nbegin end;\nend.\n");
    scanner.run();
    EXPECT_EQ(scanner.failure(), implementation_not_found);
    EXPECT_EQ(scanner.result_text(), "");
}

TEST(PasScan, AnyBytesGiveWellFormedLines) {
    std::mt19937 random(5);
    const std::string pieces[] = {
        "procedure ", "function ", "begin ", "end ", "case ", "try ",  "class ",
        "= ",         "(",         ")",      ";",    "{",     "}",     "(*",
        "*)",         "'",         "\n",     "\r",   "X",     "unit ", "implementation ",
        "object "};
    for (int round = 0; round < 300; ++round) {
        const std::string source = random_source(random, pieces);
        TPasProcLexer scanner;
        scanner.set_source_text(source);
        scanner.run();
        EXPECT_TRUE(parse_result_lines(scanner.result_text())) << source;
    }
}

}  // namespace
}  // namespace tarnwell
