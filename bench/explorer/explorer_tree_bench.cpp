// The code explorer's work on the user-interface thread for a 200,000-line C text: filling
// the tree from the scan's result, and finding the procedure at a line.
#include <benchmark/benchmark.h>

#include "c_source_generator.h"
#include "explorer/explorer_tree.h"
#include "explorer/uCppProcLexer.h"

namespace tarnwell {
namespace {

const std::string& scan_result() {
    static const std::string result = [] {
        TCppProcLexer scanner;
        scanner.set_source_text(generate_c_source(200'000).text);
        scanner.set_time_budget(60'000);
        scanner.run();
        return scanner.result_text();
    }();
    return result;
}

void BM_FillTree(benchmark::State& state) {
    TCodeExplorerProperties properties;
    properties.AlphaSort = state.range(0) != 0;
    std::size_t nodes = 0;
    for (auto _ : state) {
        explorer_tree tree;
        tree.build_roots(2, properties);
        tree.add_result(scan_result(), properties);
        nodes = tree.node_count();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_FillTree)->Arg(0)->Arg(1)->ArgName("alpha_sort")->Unit(benchmark::kMillisecond);

// The last procedure of the text: the search reads the whole node position list.
void BM_ProcedureAtLastLine(benchmark::State& state) {
    TCodeExplorerProperties properties;
    explorer_tree tree;
    tree.build_roots(2, properties);
    tree.add_result(scan_result(), properties);
    const int line = parse_position(tree.entries().back().position).begin;
    for (auto _ : state) benchmark::DoNotOptimize(tree.procedure_at_line(line));
}
BENCHMARK(BM_ProcedureAtLastLine)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarnwell

BENCHMARK_MAIN();
