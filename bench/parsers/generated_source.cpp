#include "generated_source.h"

#include <array>
#include <string_view>

namespace tarnwell::bench {

namespace {

// Each block is one chart's worth of constructs; together they use every item of the markup
// the C-family parser writes, with nested calls, strings, comments and directives between.
constexpr std::array<std::string_view, 8> cpp_blocks{
    "x = compute(a, f(g(h(1))), \"text ( with ; parens\");\r\n"
    "// a line comment\r\n",
    "if (x > 0 && check(y)) {\r\n    y = x * 2;\r\n} else if (x < -5) {\r\n    y = -x;\r\n}"
    " else\r\n    y = 0;\r\n",
    "for (int i = 0; i < n; i++) {\r\n    if (items[i] == key) break;\r\n"
    "    if (skip(i)) continue;\r\n    total += items[i];\r\n}\r\n",
    "while (queue.size() > 0) {\r\n    /* block\r\n       comment */\r\n    step(queue);\r\n"
    "}\r\n",
    "switch (state) {\r\ncase 1:\r\n    run();\r\n    break;\r\ncase READY:\r\n    wait();\r\n"
    "default:\r\n    state = 0;\r\n}\r\n",
    "do {\r\n    n--;\r\n} while (n > 0 && ok(n));\r\n",
    "try {\r\n    risky();\r\n} catch (const error& e) {\r\n    report(e);\r\n}\r\n"
    "#ifdef TRACE\r\n",
    "retry:\r\nif (attempts++ < 3) goto retry;\r\nif (fatal) return -1;\r\n",
};

}  // namespace

std::string generated_cpp_function(int lines) {
    std::string text;
    int written = 0;
    for (std::size_t i = 0; written < lines; ++i) {
        const std::string_view block = cpp_blocks[i % cpp_blocks.size()];
        text += block;
        for (char c : block) written += c == '\n';
    }
    text += "return x;\r\n";
    return text;
}

}  // namespace tarnwell::bench
