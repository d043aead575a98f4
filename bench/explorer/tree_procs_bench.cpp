// The function list of 10,000-line Python, Go and TypeScript files, as the code explorer and
// `procs` make it, beside the parse alone that it starts with.
#include <benchmark/benchmark.h>

#include <string>
#include <thread>

#include "explorer/uTreeProcLexer.h"
#include "parsers/tree_go.h"
#include "parsers/tree_python.h"
#include "parsers/tree_syntax.h"
#include "parsers/tree_typescript.h"

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

// Classes of methods and arrow functions bound to fields and constants.
std::string typescript_file() {
    std::string out;
    int lines = 0;
    for (int c = 0; lines < file_lines; ++c) {
        const std::string k = std::to_string(c);
        out += "export class Store" + k +
               " extends Base {\n"
               "  constructor(private items: Map<string, number>) {\n"
               "    super();\n"
               "  }\n"
               "  fetch(key: string): number {\n"
               "    const v = this.items.get(key);\n"
               "    if (v === undefined) {\n"
               "      throw new Error(key);\n"
               "    }\n"
               "    return v * " +
               k +
               ";\n"
               "  }\n"
               "  onChange = (key: string) => {\n"
               "    this.fetch(key);\n"
               "  };\n"
               "}\n"
               "export const make" +
               k +
               " = (n: number) => {\n"
               "  return new Store" +
               k +
               "(new Map());\n"
               "};\n\n";
        lines += 20;
    }
    return out;
}

// As the code explorer runs it: on a thread of its own, which the long file shares out.
void scan(benchmark::State& state, const tree_grammar& grammar, const std::string& text) {
    std::size_t listed = 0;
    for (auto _ : state) {
        TTreeProcLexer scanner(grammar);
        scanner.set_source_text(text);
        scanner.start([](TKestrinProcLexer&) {});
        scanner.wait();
        if (scanner.timed_out()) state.SkipWithError("the time budget ran out");
        listed = scanner.result_text().size();
        benchmark::DoNotOptimize(listed);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// The tree-sitter parse alone: the part of the list's time that the walk cannot change.
void BM_ParsePython10kLines(benchmark::State& state) {
    static const std::string text = python_file();
    syntax_tree_parser parser(python_grammar());
    for (auto _ : state) benchmark::DoNotOptimize(parser.parse(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParsePython10kLines)->Unit(benchmark::kMillisecond);

// The same parse on a thread of its own, as the explorer's scan ran before it shared the file
// out: a new thread's memory is not yet in use, which costs more than the warm loop above.
void BM_ParsePython10kLinesOnItsOwnThread(benchmark::State& state) {
    static const std::string text = python_file();
    for (auto _ : state) {
        std::thread parsing([] {
            syntax_tree_parser parser(python_grammar());
            benchmark::DoNotOptimize(parser.parse(text));
        });
        parsing.join();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParsePython10kLinesOnItsOwnThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListPythonFunctions10kLines(benchmark::State& state) {
    static const std::string text = python_file();
    scan(state, python_grammar(), text);
}
BENCHMARK(BM_ListPythonFunctions10kLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListGoFunctions10kLines(benchmark::State& state) {
    static const std::string text = go_file();
    scan(state, go_grammar(), text);
}
BENCHMARK(BM_ListGoFunctions10kLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListTypeScriptFunctions10kLines(benchmark::State& state) {
    static const std::string text = typescript_file();
    scan(state, typescript_grammar(), text);
}
BENCHMARK(BM_ListTypeScriptFunctions10kLines)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarnwell

BENCHMARK_MAIN();
