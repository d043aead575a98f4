// tarnwell-cli: the structure extraction and layout of the desktop program, without a window.
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cells_command.h"
#include "cli/cli_options.h"
#include "cli/diagram_command.h"
#include "cli/docs_command.h"
#include "cli/export_command.h"
#include "cli/languages_command.h"
#include "cli/layered_command.h"
#include "cli/markup_command.h"
#include "cli/model_command.h"
#include "cli/print_command.h"
#include "cli/procs_command.h"
#include "cli/render_command.h"
#include "cli/script_command.h"
#include "cli/xmi_command.h"

namespace {

using command_function = int (*)(std::span<const std::string_view>, std::ostream&);

struct command {
    std::string_view name;
    std::string_view usage;
    command_function run;
};

constexpr command commands[] = {
    {"markup", "markup [--lang L] [--lines B-E] FILE", tarnwell::cli::run_markup},
    {"procs", "procs [--lang L] [--budget MS] FILE", tarnwell::cli::run_procs},
    {"script", "script [--lang L] [--lines B-E] [--level N] [--markup] FILE",
     tarnwell::cli::run_script},
    {"cells", "cells [--lang L] [--lines B-E] [--level N] [--markup] FILE",
     tarnwell::cli::run_cells},
    {"render",
     "render [--lang L] [--lines B-E] [--level N] [--small] [--page a4|letter|a3|WxH-mm] "
     "[--function NAME] -o OUT.png|.bmp|.svg|.pdf FILE",
     tarnwell::cli::run_render},
    {"languages", "languages", tarnwell::cli::run_languages},
    {"model", "model [-traceon] FILES... | @LIST", tarnwell::cli::run_model},
    {"layered", "layered GRAPH.json", tarnwell::cli::run_layered},
    {"xmi", "xmi [--simple] [-traceon] -o OUT.xmi FILES... | @LIST", tarnwell::cli::run_xmi},
    {"export",
     "export --to pptx|docx|xlsx|vsdx [--lang L] [--lines B-E] [--level N] [--function NAME] "
     "[--template T] [--ini F] -o OUT FILE",
     tarnwell::cli::run_export},
    {"diagram",
     "diagram [--package NAME|--root|--all] [--assoc|--no-assoc] [--filter N] [--json] "
     "-o OUT.png|.svg FILES... | @LIST",
     tarnwell::cli::run_diagram},
    {"docs", "docs -o DIR FILES... | @LIST", tarnwell::cli::run_docs},
    {"print", "print [--lang L] -o OUT.pdf FILE", tarnwell::cli::run_print},
};

int usage(std::ostream& out) {
    out << "usage: tarnwell-cli COMMAND [OPTIONS] FILE   (FILE \"-\" reads standard input)\n";
    for (const command& c : commands) out << "  tarnwell-cli " << c.usage << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc < 2) return usage(std::cerr);
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h") {
        usage(std::cout);
        return 0;
    }
    const std::vector<std::string_view> args(argv + 2, argv + argc);
    for (const command& c : commands) {
        if (c.name != name) continue;
        try {
            return c.run(args, std::cout);
        } catch (const tarnwell::cli::usage_error& error) {
            std::cerr << "tarnwell-cli " << name << ": " << error.what() << '\n';
            return 2;
        }
    }
    std::cerr << "tarnwell-cli: unknown command \"" << name << "\"\n";
    return usage(std::cerr);
}
