// The syntax-tree reader on a long function of Python and of Go: the parse alone, and the parse
// with the layout of every level, which is what Create flowchart does.
#include <benchmark/benchmark.h>

#include <string>

#include "layout/xmls2script.h"
#include "parsers/language_table.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_go.h"
#include "parsers/tree_python.h"

namespace tarnwell {
namespace {

// A Python function body of about `lines` lines, indented as a method's: plain statements,
// conditionals with elif chains, loops with else, handlers and selections, nested four deep.
std::string python_body(int lines) {
    std::string out;
    int written = 0;
    const auto line = [&](int indent, const std::string& text) {
        out += std::string(static_cast<std::size_t>(indent + 2) * 4, ' ') + text + "\n";
        ++written;
    };
    for (int i = 0; written < lines; ++i) {
        const std::string n = std::to_string(i);
        line(0, "total += weight[" + n + "] * scale");
        line(0, "if total > limit" + n + ":");
        line(1, "for k in range(n):");
        line(2, "if values[k] < 0:");
        line(3, "continue");
        line(2, "while values[k] > " + n + ":");
        line(3, "values[k] //= 2");
        line(3, "if values[k] == 7: break");
        line(1, "else:");
        line(2, "log('done " + n + "')");
        line(0, "elif total < floor" + n + ":");
        line(1, "match mode:");
        line(2, "case 1:");
        line(3, "total = floor" + n);
        line(2, "case _:");
        line(3, "return total");
        line(0, "try:");
        line(1, "check(total, " + n + ")");
        line(0, "except ValueError as e:");
        line(1, "raise Failure(e)");
        line(0, "with lock:");
        line(1, "count += 1");
    }
    return out;
}

// The same shapes in Go.
std::string go_body(int lines) {
    std::string out;
    int written = 0;
    const auto line = [&](int indent, const std::string& text) {
        out += std::string(static_cast<std::size_t>(indent + 1), '\t') + text + "\n";
        ++written;
    };
    for (int i = 0; written < lines; ++i) {
        const std::string n = std::to_string(i);
        line(0, "total += weight[" + n + "] * scale");
        line(0, "if total > limit" + n + " {");
        line(1, "for k := range values {");
        line(2, "if values[k] < 0 {");
        line(3, "continue");
        line(2, "}");
        line(2, "for values[k] > " + n + " {");
        line(3, "values[k] /= 2");
        line(2, "}");
        line(1, "}");
        line(0, "} else if total < floor" + n + " {");
        line(1, "switch mode {");
        line(1, "case 1:");
        line(2, "total = floor" + n);
        line(1, "default:");
        line(2, "return total");
        line(1, "}");
        line(0, "}");
        line(0, "defer done(" + n + ")");
    }
    return out;
}

void parse_only(benchmark::State& state, const tree_grammar& grammar, const std::string& text) {
    Ttreesparser parser(grammar);
    for (auto _ : state) {
        const parser_result result = parser.parse(text);
        if (!result.ok) state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(result.markup.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void parse_and_lay_out(benchmark::State& state, const tree_grammar& grammar, int parser_slot,
                       const std::string& text) {
    Ttreesparser parser(grammar);
    txml2script engine;
    engine.parser_slot = parser_slot;
    for (auto _ : state) {
        const parser_result result = parser.parse(text);
        engine.markup = result.markup;
        if (!result.ok || !engine.make_script(0)) state.SkipWithError("the chart failed");
        benchmark::DoNotOptimize(engine.grid_script().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_ParsePython2000Lines(benchmark::State& state) {
    static const std::string text = python_body(2000);
    parse_only(state, python_grammar(), text);
}
BENCHMARK(BM_ParsePython2000Lines)->Unit(benchmark::kMillisecond);

void BM_ChartPython2000Lines(benchmark::State& state) {
    static const std::string text = python_body(2000);
    parse_and_lay_out(state, python_grammar(), parser_slot_of_language(16), text);
}
BENCHMARK(BM_ChartPython2000Lines)->Unit(benchmark::kMillisecond);

void BM_ChartPython16000Lines(benchmark::State& state) {
    static const std::string text = python_body(16000);
    parse_and_lay_out(state, python_grammar(), parser_slot_of_language(16), text);
}
BENCHMARK(BM_ChartPython16000Lines)->Unit(benchmark::kMillisecond);

void BM_ChartGo2000Lines(benchmark::State& state) {
    static const std::string text = go_body(2000);
    parse_and_lay_out(state, go_grammar(), parser_slot_of_language(19), text);
}
BENCHMARK(BM_ChartGo2000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnwell

BENCHMARK_MAIN();
