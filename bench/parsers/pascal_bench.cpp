// Pascal parse throughput on generated routine bodies at a base size and at eight times it.
#include <benchmark/benchmark.h>

#include "generated_pascal.h"
#include "parse_throughput.h"
#include "parsers/op2xmls.h"

namespace {

constexpr int base_lines = 50000;

void BM_ParsePascal(benchmark::State& state) {
    tarnwell::Topsparser parser;
    tarnwell::bench::measure_parse(
        state, parser, tarnwell::bench::generated_pascal_routine(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ParsePascal)->Arg(base_lines)->Arg(8 * base_lines)->Unit(benchmark::kMillisecond);

}  // namespace
