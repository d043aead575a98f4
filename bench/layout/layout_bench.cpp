// The layout engine on long functions and on a long else-if chain, for the grid script and for
// the export layout with the cell table the exporters build from it. Bytes processed are bytes
// of markup, so the rate reads as time per markup kilobyte; the two function sizes are eight
// times apart, for the scaling ratio.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "layout/xmls2script.h"
#include "officeexport/cell_table.h"
#include "parsers/cpp2xmls.h"

namespace {

// A C function of about `lines` lines: a steady mix of plain statements, conditionals with and
// without else, loops of each kind, selections and handlers, nested up to four deep.
std::string long_function(int lines) {
    std::string out;
    int written = 0;
    const auto line = [&](int indent, const std::string& text) {
        out += std::string(static_cast<std::size_t>(indent) * 4, ' ') + text + "\n";
        ++written;
    };
    for (int i = 0; written < lines; ++i) {
        const std::string n = std::to_string(i);
        line(0, "total += weight[" + n + "] * scale;");
        line(0, "if (total > limit" + n + ") {");
        line(1, "for (k = 0; k < n; k++) {");
        line(2, "if (values[k] < 0)");
        line(3, "continue;");
        line(2, "while (values[k] > " + n + ") {");
        line(3, "values[k] /= 2;");
        line(3, "if (values[k] == 7) break;");
        line(2, "}");
        line(1, "}");
        line(0, "} else if (total < floor" + n + ") {");
        line(1, "switch (mode) {");
        line(1, "case 1:");
        line(2, "total = floor" + n + ";");
        line(2, "break;");
        line(1, "case 2:");
        line(2, "do {");
        line(3, "total++;");
        line(2, "} while (total < floor" + n + ");");
        line(2, "break;");
        line(1, "default:");
        line(2, "return -1;");
        line(1, "}");
        line(0, "} else {");
        line(1, "try {");
        line(2, "commit(total);");
        line(1, "} catch (Error e) {");
        line(2, "report(e);");
        line(1, "}");
        line(0, "}");
    }
    return out;
}

std::string else_if_chain(int branches) {
    std::string out = "if (a0) x0();\n";
    for (int i = 1; i < branches; ++i) {
        out += "else if (a" + std::to_string(i) + ") x" + std::to_string(i) + "();\n";
    }
    return out + "else z();\n";
}

std::optional<tarnwell::parser_result> parsed_or_skip(benchmark::State& state,
                                                      const std::string& source) {
    tarnwell::Tcppsparser parser;
    tarnwell::parser_result parsed = parser.parse(source);
    if (!parsed.ok) {
        state.SkipWithError("the generated source does not parse");
        return std::nullopt;
    }
    return parsed;
}

void lay_out(benchmark::State& state, const std::string& source, int level) {
    const auto result = parsed_or_skip(state, source);
    if (!result) return;
    const tarnwell::parser_result& parsed = *result;
    tarnwell::txml2script engine;
    engine.markup = parsed.markup;
    for (auto _ : state) {
        const bool ok = engine.make_script(level);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(engine.grid_script().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(parsed.markup.size()));
    state.counters["markup_kb"] = static_cast<double>(parsed.markup.size()) / 1024.0;
    state.counters["script_kb"] = static_cast<double>(engine.grid_script().size()) / 1024.0;
}

// What an export does before it draws: the export layout and the cell table of its texts.
void lay_out_cells(benchmark::State& state, const std::string& source, int level) {
    const auto result = parsed_or_skip(state, source);
    if (!result) return;
    const tarnwell::parser_result& parsed = *result;
    tarnwell::txml2script engine;
    std::size_t cells = 0;
    for (auto _ : state) {
        engine.markup = parsed.markup;
        const bool ok = engine.make_cells(level);
        const tarnwell::cell_table table =
            tarnwell::cell_table::build(engine.cells(), {source}, 2000);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(table.entries().data());
        cells = table.entries().size();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(parsed.markup.size()));
    state.counters["cells"] = static_cast<double>(cells);
    state.counters["connectors"] = static_cast<double>(engine.cells().connectors.size());
}

void BM_Function5000Lines(benchmark::State& state) {
    lay_out(state, long_function(5000), static_cast<int>(state.range(0)));
}
void BM_Function40000Lines(benchmark::State& state) {
    lay_out(state, long_function(40000), static_cast<int>(state.range(0)));
}
void BM_ElseIfChain200(benchmark::State& state) {
    lay_out(state, else_if_chain(200), 0);
}

void BM_CellsElseIfChain200(benchmark::State& state) {
    lay_out_cells(state, else_if_chain(200), 0);
}
// Lines of the function, level code.
void BM_CellsFunction(benchmark::State& state) {
    lay_out_cells(state, long_function(static_cast<int>(state.range(0))),
                  static_cast<int>(state.range(1)));
}

// Level 0 expands everything; level 4 is a new document's level.
BENCHMARK(BM_Function5000Lines)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Function40000Lines)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElseIfChain200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellsElseIfChain200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellsFunction)
    ->Args({2000, 0})
    ->Args({2000, 4})
    ->Args({16000, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
