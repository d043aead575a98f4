#include "generated_pascal.h"

#include <algorithm>
#include <string_view>

namespace tarnwell::bench {

namespace {

// One chart's worth of constructs, with nested calls, strings, character literals and all
// three kinds of comment between them.
constexpr std::string_view pascal_statements =
    "  x := Compute(a, f(g(1)), 'text ( with ; end', #13#10, $FF); { brace comment }\r\n"
    "  // line comment\r\n"
    "  if (x > 0) and Check(y) then\r\n"
    "  begin\r\n"
    "    y := x * 2;\r\n"
    "  end\r\n"
    "  else if x < -5 then\r\n"
    "    y := -x\r\n"
    "  else\r\n"
    "    y := 0;\r\n"
    "  for i := 0 to n - 1 do\r\n"
    "  begin\r\n"
    "    if items[i] = key then Break;\r\n"
    "    if Skip(i) then Continue;\r\n"
    "    Inc(total, items[i]);\r\n"
    "  end;\r\n"
    "  while Queue.Count > 0 do\r\n"
    "    (* block\r\n"
    "       comment *)\r\n"
    "    Step(Queue);\r\n"
    "  case state of\r\n"
    "    1: Run;\r\n"
    "    2, 3:\r\n"
    "      begin\r\n"
    "        Wait;\r\n"
    "      end;\r\n"
    "  else\r\n"
    "    state := 0;\r\n"
    "  end;\r\n"
    "  repeat\r\n"
    "    Dec(n);\r\n"
    "  until n <= 0;\r\n"
    "  with Target do\r\n"
    "    Value := n;\r\n"
    "  try\r\n"
    "    Risky;\r\n"
    "  except\r\n"
    "    on E: Exception do\r\n"
    "      Report(E.Message);\r\n"
    "  end;\r\n"
    "  try\r\n"
    "    Open;\r\n"
    "  finally\r\n"
    "    Close;\r\n"
    "  end;\r\n"
    "  10:\r\n"
    "  if attempts < 3 then goto 10;\r\n"
    "  if fatal then Exit(-1);\r\n";

}  // namespace

std::string generated_pascal_routine(int lines) {
    const auto per_copy =
        static_cast<int>(std::count(pascal_statements.begin(), pascal_statements.end(), '\n'));
    std::string text = "begin\r\n";
    for (int written = 0; written < lines; written += per_copy) text += pascal_statements;
    return text + "end;\r\n";
}

}  // namespace tarnwell::bench
