// Speed of the Java source import over a generated source tree of thousands of files, through
// the file system as the program reads it, and of the parser alone on text in memory.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "classmodel/uIntegrator.h"
#include "classmodel/uJavaParser.h"
#include "classmodel/uModel.h"

namespace {

namespace fs = std::filesystem;
using namespace tarnwell;

constexpr int package_count = 60;
constexpr int classes_per_package = 60;

std::string class_name(int package, int index) {
    std::string name = "P";
    name.append(std::to_string(package)).append("C");
    return name.append(std::to_string(index % classes_per_package));
}

// One source file: a documented class with fields, methods with bodies, and references to
// classes of its own package and of the next one, some declared in files not read yet.
std::string source_of(int package, int index) {
    const int next_package = (package + 1) % package_count;
    const std::string self = class_name(package, index);
    std::ostringstream out;
    out << "package gen.p" << package << ";\n\n"
        << "import gen.p" << next_package << ".*;\n"
        << "import java.util.List;\n\n"
        << "/**\n * Class " << self << ", generated for the benchmark.\n */\n"
        << "public class " << self << " extends " << class_name(package, index + 1)
        << " implements Runnable, Comparable {\n"
        << "    private static final long serialVersionUID = 1L;\n"
        << "    private int count = 0, limit;\n"
        << "    protected " << class_name(package, index * 7 + 3) << " partner;\n"
        << "    " << class_name(next_package, index) << " neighbour;\n"
        << "    List items;\n\n";
    for (int m = 0; m < 6; ++m) {
        out << "    /**\n     * Method " << m << " of " << self << ".\n     */\n"
            << "    public " << class_name(package, index + m) << " method" << m << "("
            << class_name(next_package, index + m) << " other, String[] names, final int n) {\n"
            << "        for (int k = 0; k < n; k++) {\n"
            << "            if (names[k].equals(\"}\")) { count++; } else { limit--; }\n"
            << "        }\n"
            << "        return null;\n"
            << "    }\n\n";
    }
    out << "    public void run() { method0(null, new String[] { \"a\", \"b\" }, 0); }\n"
        << "    public abstract int compareTo(Object other);\n"
        << "}\n";
    return out.str();
}

// The generated tree, written once and removed when the program ends.
struct source_tree {
    source_tree() {
        root = fs::temp_directory_path() /
               std::string("tarnwell-bench-").append(std::to_string(::getpid()));
        for (int p = 0; p < package_count; ++p) {
            const fs::path folder = root / "gen" / std::string("p").append(std::to_string(p));
            fs::create_directories(folder);
            for (int c = 0; c < classes_per_package; ++c) {
                const fs::path file = folder / (class_name(p, c) + ".java");
                const std::string text = source_of(p, c);
                std::ofstream(file, std::ios::binary) << text;
                files.push_back(file.string());
                bytes += static_cast<std::int64_t>(text.size());
            }
        }
    }
    ~source_tree() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path root;
    std::vector<std::string> files;
    std::int64_t bytes = 0;
};

const source_tree& tree() {
    static const source_tree generated;
    return generated;
}

struct silent_feedback : IImportFeedback {
    void ShowStatus(const std::string&) override {}
    void ShowMessage(const std::string& text) override { messages += text; }
    std::unique_ptr<IProgressWindow> OpenProgress(const std::string&, int) override {
        return nullptr;
    }
    void SetBusy(bool) override {}
    std::string messages;
};

void BM_ImportSourceTree(benchmark::State& state) {
    const source_tree& sources = tree();
    TIntegrators integrators;
    integrators.Register(TJavaImporter::Class(nullptr));
    std::size_t classifiers = 0;
    for (auto _ : state) {
        TObjectModel model;
        silent_feedback feedback;
        std::vector<std::string> files = sources.files;
        ImportFileList(integrators, model, files, feedback);
        if (!feedback.messages.empty()) state.SkipWithError(feedback.messages.c_str());
        classifiers = model.ModelRoot()->GetAllClassifiers()->Count();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(sources.files.size()));
    state.SetBytesProcessed(state.iterations() * sources.bytes);
    state.counters["files"] = static_cast<double>(sources.files.size());
    state.counters["classifiers"] = static_cast<double>(classifiers);
}
// Wall time: reading the files is part of the work.
BENCHMARK(BM_ImportSourceTree)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ParseInMemory(benchmark::State& state) {
    std::string text;
    for (int c = 0; c < classes_per_package; ++c) text += source_of(0, c);
    for (auto _ : state) {
        TObjectModel model;
        TJavaParser parser(nullptr);
        parser.ParseStream(std::make_unique<std::istringstream>(text), *model.ModelRoot(), model);
        benchmark::DoNotOptimize(model.ModelRoot());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseInMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
