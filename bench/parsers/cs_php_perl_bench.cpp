// Parse throughput of the C#, PHP and Perl parsers on generated functions, at a base size and
// eight times it.
#include <benchmark/benchmark.h>

#include <string>

#include "generated_cs_php_perl.h"
#include "parsers/cs2xmls.h"
#include "parsers/perl2xmls.h"
#include "parsers/php2xmls.h"

namespace {

constexpr int base_lines = 50000;

// The source must parse: a failure would measure the way to the first error only.
template <class Parser>
void parse_generated(benchmark::State& state, std::string (*generate)(int)) {
    const std::string source = generate(static_cast<int>(state.range(0)));
    Parser parser;
    const tarnwell::parser_result first = parser.parse(source);
    if (!first.ok) state.SkipWithError(first.message.c_str());
    for (auto _ : state) benchmark::DoNotOptimize(parser.parse(source).markup.data());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

void BM_ParseCs(benchmark::State& state) {
    parse_generated<tarnwell::Tcsparser>(state, tarnwell::bench::generated_cs_function);
}
BENCHMARK(BM_ParseCs)->Arg(base_lines)->Arg(8 * base_lines)->Unit(benchmark::kMillisecond);

void BM_ParsePhp(benchmark::State& state) {
    parse_generated<tarnwell::Tphpparser>(state, tarnwell::bench::generated_php_function);
}
BENCHMARK(BM_ParsePhp)->Arg(base_lines)->Arg(8 * base_lines)->Unit(benchmark::kMillisecond);

void BM_ParsePerl(benchmark::State& state) {
    parse_generated<tarnwell::Tperlparser>(state, tarnwell::bench::generated_perl_function);
}
BENCHMARK(BM_ParsePerl)->Arg(base_lines)->Arg(8 * base_lines)->Unit(benchmark::kMillisecond);

}  // namespace
