// The function list of a 10,000-line Python file and of a 10,000-line Go file, as the code
// explorer and `procs` make it.
#include <benchmark/benchmark.h>

#include <string>

#include "explorer/uTreeProcLexer.h"
#include "parsers/tree_go.h"
#include "parsers/tree_python.h"

namespace tarnwell {
namespace {

constexpr int file_lines = 10'000;

// Classes of ten methods of eight lines, with a nested function now and then.
std::string python_file() {
    std::string out;
    int lines = 0;
    for (int c = 0; lines < file_lines; ++c) {
        out += "class Store" + std::to_string(c) + "(Base):\n";
        ++lines;
        for (int m = 0; m < 10 && lines < file_lines; ++m) {
            const std::string n = std::to_string(m);
            out += "    @cached\n    def fetch" + n +
                   "(self, key, default=None):\n"
                   "        value = self.items.get(key)\n"
                   "        if value is None:\n"
                   "            def fallback():\n"
                   "                return default\n"
                   "            return fallback()\n"
                   "        return value * " +
                   n + "\n\n";
            lines += 9;
        }
    }
    return out;
}

std::string go_file() {
    std::string out = "package store\n\n";
    int lines = 2;
    for (int f = 0; lines < file_lines; ++f) {
        const std::string n = std::to_string(f);
        out += "func (s *Store) Fetch" + n +
               "(key string) (int, error) {\n"
               "\tv, ok := s.items[key]\n"
               "\tif !ok {\n"
               "\t\treturn 0, ErrMissing\n"
               "\t}\n"
               "\treturn v * " +
               n +
               ", nil\n"
               "}\n\n";
        lines += 8;
    }
    return out;
}

void scan(benchmark::State& state, const tree_grammar& grammar, const std::string& text) {
    std::size_t listed = 0;
    for (auto _ : state) {
        TTreeProcLexer scanner(grammar);
        scanner.set_source_text(text);
        scanner.run();
        if (scanner.timed_out()) state.SkipWithError("the time budget ran out");
        listed = scanner.result_text().size();
        benchmark::DoNotOptimize(listed);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_ListPythonFunctions10kLines(benchmark::State& state) {
    static const std::string text = python_file();
    scan(state, python_grammar(), text);
}
BENCHMARK(BM_ListPythonFunctions10kLines)->Unit(benchmark::kMillisecond);

void BM_ListGoFunctions10kLines(benchmark::State& state) {
    static const std::string text = go_file();
    scan(state, go_grammar(), text);
}
BENCHMARK(BM_ListGoFunctions10kLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnwell

BENCHMARK_MAIN();
