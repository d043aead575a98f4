// The Office export of a function of 2,000 lines, format by format, as tarnwell-cli export
// runs it after the parse: the export layout, the cell table, the drawing, the document from
// the built-in template, and the package written to a file.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "generated_source.h"
#include "layout/xmls2script.h"
#include "officeexport/office_automation.h"
#include "officeexport/office_export.h"
#include "officeexport/powerpoint1.h"
#include "officeexport/word1.h"
#include "parsers/cpp2xmls.h"

namespace {

using namespace tarnwell;

constexpr int function_lines = 2000;

struct parsed_function {
    parsed_function() {
        text = bench::generated_cpp_function(function_lines);
        Tcppsparser parser;
        markup = parser.parse(text).markup;
    }
    std::string text;
    std::string markup;
};

const parsed_function& function() {
    static const parsed_function parsed;
    return parsed;
}

template <office_kind kind, export_application application,
          void (*assemble)(office_drawing, const export_parameters&, office_document&)>
void BM_Export(benchmark::State& state) {
    const parsed_function& source = function();
    export_parameters parameters = default_export_parameters(application, "/nowhere");
    parameters.template_file.clear();  // the built-in template: no file to read
    const std::string output =
        (std::filesystem::temp_directory_path() / "tarnwell_export_bench").string();
    std::size_t shapes = 0;
    for (auto _ : state) {
        txml2script engine;
        engine.markup = source.markup;
        engine.make_cells(0);
        const cell_table table = cell_table::build(engine.cells(), charted_text{source.text, 0, -1},
                                                   parameters.character_limit());
        office_drawing drawing = draw_flowchart(table, parameters);
        shapes = drawing.shapes().size() + drawing.connectors().size();
        std::string message;
        const auto document = open_office_document(kind, parameters.template_file, message);
        assemble(std::move(drawing), parameters, *document);
        std::string error;
        if (!document->save(output, error)) state.SkipWithError(error.c_str());
    }
    state.counters["objects"] = static_cast<double>(shapes);
    std::filesystem::remove(output);
}

BENCHMARK(BM_Export<office_kind::presentation, export_application::powerpoint, powerpoint_export>)
    ->Name("BM_ExportPptx")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export<office_kind::word_document, export_application::word, word_export>)
    ->Name("BM_ExportDocx")
    ->Unit(benchmark::kMillisecond);

// The whole export through the writer table, as tarnwell-cli export runs it after the parse.
template <export_application application>
void BM_ExportWritten(benchmark::State& state) {
    const parsed_function& source = function();
    export_parameters parameters = default_export_parameters(application, "/nowhere");
    parameters.template_file.clear();  // the built-in template and stencil: no file to read
    parameters.stencil_file.clear();
    const std::string output =
        (std::filesystem::temp_directory_path() / "tarnwell_export_bench").string();
    office_export_summary summary;
    for (auto _ : state) {
        txml2script engine;
        engine.markup = source.markup;
        engine.make_cells(0);
        const cell_table table = cell_table::build(engine.cells(), charted_text{source.text, 0, -1},
                                                   parameters.character_limit());
        std::string notice;
        std::string error;
        if (!write_office_export(table, parameters, output, summary, notice, error)) {
            state.SkipWithError(error.c_str());
        }
    }
    state.counters["objects"] = static_cast<double>(summary.shapes + summary.connectors);
    std::filesystem::remove(output);
}

BENCHMARK(BM_ExportWritten<export_application::excel>)
    ->Name("BM_ExportXlsx")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportWritten<export_application::visio>)
    ->Name("BM_ExportVsdx")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
