// Parse throughput on generated functions, and how it scales: the time for eight times the
// input should be close to eight times the time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "generated_source.h"
#include "parsers/cpp2xmls.h"

namespace {

constexpr int base_lines = 50000;

void BM_ParseCpp(benchmark::State& state) {
    const std::string source =
        tarnwell::bench::generated_cpp_function(static_cast<int>(state.range(0)));
    tarnwell::Tcppsparser parser;
    for (auto _ : state) {
        const tarnwell::parser_result result = parser.parse(source);
        if (!result.ok) state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(result.markup.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(source.size()));
    state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ParseCpp)->Arg(base_lines)->Arg(8 * base_lines)->Unit(benchmark::kMillisecond);

void BM_ParseNestedCalls(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    std::string source = "x = ";
    for (int i = 0; i < depth; ++i) source += "f(";
    source += "x";
    source.append(static_cast<std::size_t>(depth), ')');
    source += ";\r\n";
    tarnwell::Tcppsparser parser;
    for (auto _ : state) benchmark::DoNotOptimize(parser.parse(source).ok);
}
BENCHMARK(BM_ParseNestedCalls)->Arg(500)->Unit(benchmark::kMillisecond);

// Prints, after the usual table, the ratio of each benchmark's time at 8x its base size to
// its time at the base size.
class scaling_reporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto base = times_.find("BM_ParseCpp/" + std::to_string(base_lines));
        const auto large = times_.find("BM_ParseCpp/" + std::to_string(8 * base_lines));
        if (base != times_.end() && large != times_.end() && base->second > 0) {
            std::printf("BM_ParseCpp: time at 8x input / time at 1x input = %.2f\n",
                        large->second / base->second);
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    scaling_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
