#include "cli/xmi_command.h"

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "classmodel/uModel.h"
#include "classmodel/uXmiExport.h"
#include "classmodel/uXmiExportArgoUML.h"
#include "cli/cli_options.h"
#include "cmdline/model_import.h"

namespace tarnwell::cli {

int run_xmi(std::span<const std::string_view> args, std::ostream&) {
    bool simple = false;
    std::string output;
    std::vector<std::string_view> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--simple") {
            simple = true;
        } else if (args[i] == "-o") {
            if (i + 1 == args.size()) throw usage_error("-o needs a file name");
            output = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    if (output.empty()) throw usage_error("-o OUT.xmi is needed");
    import_arguments import = read_import_arguments(rest);

    terminal_feedback feedback("xmi");
    TObjectModel model;
    import_files(import, model, feedback);
    std::unique_ptr<TXMIWriter> exporter;
    if (simple) {
        exporter = std::make_unique<TXMIExporter>(model, &feedback);
    } else {
        exporter = std::make_unique<TXMIExporterArgoUML>(model, &feedback);
    }
    exporter->Export();
    try {
        exporter->SaveToFile(output);
    } catch (const std::system_error& error) {
        throw usage_error(error.what());
    }
    return feedback.messages() == 0 ? 0 : 1;
}

}  // namespace tarnwell::cli
