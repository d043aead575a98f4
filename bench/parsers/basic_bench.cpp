// Parse throughput of the line-based dialects on generated procedures, at a base size and at
// eight times it.
#include <benchmark/benchmark.h>

#include <string>

#include "generated_basic.h"
#include "parsers/bas2xmls.h"
#include "parsers/foxpro2xmls.h"
#include "parsers/pbtoxmls.h"
#include "parsers/vb2xmls.h"
#include "parsers/vs2xmls.h"

namespace {

constexpr int base_lines = 50000;

template <class Parser, std::string (*generate)(int)>
void BM_ParseLineDialect(benchmark::State& state) {
    const std::string source = generate(static_cast<int>(state.range(0)));
    Parser parser;
    for (auto _ : state) {
        const tarnwell::parser_result result = parser.parse(source);
        if (!result.ok) state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(result.markup.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(source.size()));
    state.counters["lines"] = static_cast<double>(state.range(0));
}

using namespace tarnwell;
using namespace tarnwell::bench;

BENCHMARK(BM_ParseLineDialect<Tvbsparser, generated_vb_function>)
    ->Name("BM_ParseVb")
    ->Arg(base_lines)
    ->Arg(8 * base_lines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLineDialect<Tvsparser, generated_vbnet_function>)
    ->Name("BM_ParseVbNet")
    ->Arg(base_lines)
    ->Arg(8 * base_lines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLineDialect<Tbasparser, generated_basic_program>)
    ->Name("BM_ParseBasic")
    ->Arg(base_lines)
    ->Arg(8 * base_lines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLineDialect<Tfoxproparser, generated_foxpro_function>)
    ->Name("BM_ParseFoxpro")
    ->Arg(base_lines)
    ->Arg(8 * base_lines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLineDialect<Tpbsparser, generated_powerbuilder_script>)
    ->Name("BM_ParsePowerBuilder")
    ->Arg(base_lines)
    ->Arg(8 * base_lines)
    ->Unit(benchmark::kMillisecond);

// Nested one-line IFs on one line: each would look ahead over the same rest of the line.
void BM_ParseNestedOneLineIfs(benchmark::State& state) {
    std::string source;
    for (int i = 0; i < 900; ++i) source += "If a Then ";
    source += "x = 1";
    source.append(static_cast<std::size_t>(state.range(0)), ' ');
    source += "\r\n";
    Tvbsparser parser;
    for (auto _ : state) benchmark::DoNotOptimize(parser.parse(source).ok);
}
BENCHMARK(BM_ParseNestedOneLineIfs)->Arg(100000)->Arg(800000)->Unit(benchmark::kMillisecond);

}  // namespace
