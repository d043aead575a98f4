// PL/SQL and T-SQL parse throughput on generated procedures at a base size and at eight times
// it.
#include <benchmark/benchmark.h>

#include "generated_sql.h"
#include "parse_throughput.h"
#include "parsers/pl2xmls.h"
#include "parsers/tsql2xmls.h"

namespace {

constexpr int base_lines = 50000;

void BM_ParsePlsql(benchmark::State& state) {
    tarnwell::Tplsparser parser;
    tarnwell::bench::measure_parse(
        state, parser, tarnwell::bench::generated_plsql_block(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ParsePlsql)->Arg(base_lines)->Arg(8 * base_lines)->Unit(benchmark::kMillisecond);

void BM_ParseTsql(benchmark::State& state) {
    tarnwell::Ttsqlsparser parser;
    tarnwell::bench::measure_parse(
        state, parser, tarnwell::bench::generated_tsql_procedure(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ParseTsql)->Arg(base_lines)->Arg(8 * base_lines)->Unit(benchmark::kMillisecond);

}  // namespace
