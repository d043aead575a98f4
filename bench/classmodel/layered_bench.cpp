// Speed of the layered layout on generated class-diagram graphs, as a whole and phase by phase.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "classmodel/SugiyamaLayout.h"
#include "layered_graph_generator.h"

namespace {

using namespace tarnwell;

void BM_LayeredLayout(benchmark::State& state) {
    const TLayoutGraph generated = generate_layered_graph(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TLayoutGraph graph = generated;
        const TLayoutResult result = TVixLayout::CreateLayout(graph)->Execute();
        if (!result.Ok) state.SkipWithError(result.Message.c_str());
        benchmark::DoNotOptimize(graph.Boxes.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LayeredLayout)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// The share of each phase, in milliseconds per layout, and the size of the layered graph.
void BM_LayeredPhases(benchmark::State& state) {
    using namespace sugiyama;
    const TLayoutGraph generated = generate_layered_graph(static_cast<std::size_t>(state.range(0)));
    using clock = std::chrono::steady_clock;
    double ms[6] = {};
    std::size_t nodes_after_dummies = 0;
    std::size_t layer_count = 0;
    for (auto _ : state) {
        TLayoutGraph graph = generated;
        auto start = clock::now();
        int phase = 0;
        const auto lap = [&] {
            const auto now = clock::now();
            ms[phase++] += std::chrono::duration<double, std::milli>(now - start).count();
            start = now;
        };
        TNodeList nodes = LoadGraph(graph);
        RemoveCycles(nodes);
        lap();
        AssignLayers(nodes);
        lap();
        InsertDummies(nodes);
        TLayerList layers = BuildLayers(nodes);
        lap();
        ReduceCrossings(layers);
        lap();
        AssignRows(layers);
        AssignColumns(layers);
        lap();
        WriteBack(nodes);
        lap();
        nodes_after_dummies = nodes.size();
        layer_count = layers.size();
    }
    const char* names[6] = {"cycles", "layers", "dummies", "crossings", "coordinates", "write"};
    for (int i = 0; i < 6; ++i)
        state.counters[std::string(names[i]) + "_ms"] =
            ms[i] / static_cast<double>(state.iterations());
    state.counters["nodes"] = static_cast<double>(nodes_after_dummies);
    state.counters["layer_count"] = static_cast<double>(layer_count);
}
BENCHMARK(BM_LayeredPhases)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
