// The measurement the language benchmarks share: one parse of a generated text per iteration,
// with the text's size and its number of lines in the report.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "parsers/xmls.h"

namespace tarnwell::bench {

inline void measure_parse(benchmark::State& state, tsparser& parser, const std::string& source) {
    for (auto _ : state) {
        const parser_result result = parser.parse(source);
        if (!result.ok) state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(result.markup.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(source.size()));
    state.counters["lines"] = static_cast<double>(state.range(0));
}

}  // namespace tarnwell::bench
