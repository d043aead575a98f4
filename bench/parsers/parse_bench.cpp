// Parse throughput on generated functions, and how it scales: the time for eight times the
// input should be close to eight times the time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
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

// Prints, after the usual table, for every benchmark run at a base size N and at 8N, the
// ratio of its time at 8N to its time at N.
class scaling_reporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [name, time] : times_) {
            const std::size_t slash = name.rfind('/');
            if (slash == std::string::npos || time <= 0) continue;
            const long size = std::strtol(name.c_str() + slash + 1, nullptr, 10);
            const auto large = times_.find(name.substr(0, slash + 1) + std::to_string(8 * size));
            if (size > 0 && large != times_.end()) {
                std::printf("%s: time at 8x input / time at 1x input = %.2f\n",
                            name.substr(0, slash).c_str(), large->second / time);
            }
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
