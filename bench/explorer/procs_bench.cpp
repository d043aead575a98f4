// The procedure scan of a 200,000-line C text, whole and in its splitting step.
#include <benchmark/benchmark.h>

#include "c_source_generator.h"
#include "explorer/uCppProcLexer.h"
#include "explorer/zrBCBTokenList.h"

namespace tarnwell {
namespace {

constexpr int source_lines = 200'000;

const generated_c_source& source() {
    static const generated_c_source s = generate_c_source(source_lines);
    return s;
}

void BM_ScanC200kLines(benchmark::State& state) {
    std::size_t reported = 0;
    for (auto _ : state) {
        TCppProcLexer scanner;
        scanner.set_source_text(source().text);
        scanner.run();
        reported = scanner.result_text().size();
        benchmark::DoNotOptimize(reported);
        if (scanner.timed_out()) state.SkipWithError("the time budget ran out");
    }
    state.counters["functions"] = source().functions;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source().text.size()));
}
BENCHMARK(BM_ScanC200kLines)->Unit(benchmark::kMillisecond);

void BM_SplitC200kLines(benchmark::State& state) {
    for (auto _ : state) {
        TBCBTokenList tokens;
        tokens.load(source().text);
        benchmark::DoNotOptimize(tokens.count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source().text.size()));
}
BENCHMARK(BM_SplitC200kLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnwell

BENCHMARK_MAIN();
