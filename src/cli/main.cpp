// tarnwell-cli: the structure extraction and layout of the desktop program, without a window.
// The text commands run here; the others in the programs beside it that this one hands over to.
#include <iostream>
#include <string_view>

#include "cli/cells_command.h"
#include "cli/command_run.h"
#include "cli/languages_command.h"
#include "cli/layered_command.h"
#include "cli/markup_command.h"
#include "cli/procs_command.h"
#include "cli/script_command.h"
#include "cli/sibling_program.h"

namespace {

using tarnwell::cli::command_function;

// The commands that draw or write packaged documents run in programs of their own beside this
// one, so that the text commands start without loading Qt, libxml2 or libzip.
constexpr std::string_view pictures = "tarnwell-cli-pictures";
constexpr std::string_view documents = "tarnwell-cli-documents";
constexpr std::string_view printout = "tarnwell-cli-print";

struct command {
    std::string_view name;
    std::string_view usage;
    command_function run;      // runs here
    std::string_view program;  // else runs in this program
};

constexpr command commands[] = {
    {"markup",
     "markup [--lang L] [--lines B-E | --function NAME[#K] | --at LINE] FILE",
     tarnwell::cli::run_markup,
     {}},
    {"procs", "procs [--lang L] [--budget MS] [--json] FILE", tarnwell::cli::run_procs, {}},
    {"script",
     "script [--lang L] [--lines B-E | --function NAME[#K] | --at LINE] [--level N] [--markup] "
     "FILE",
     tarnwell::cli::run_script,
     {}},
    {"cells",
     "cells [--lang L] [--lines B-E | --function NAME[#K] | --at LINE] [--level N] [--markup] "
     "FILE",
     tarnwell::cli::run_cells,
     {}},
    {"render",
     "render [--lang L] [--lines B-E | --function NAME[#K] | --at LINE] [--level N] [--small] "
     "[--page a4|letter|a3|WxH-mm] [--markdown] -o OUT.png|.bmp|.svg|.pdf|.mmd|.dot FILE",
     nullptr, pictures},
    {"languages", "languages", tarnwell::cli::run_languages, {}},
    {"model", "model [-traceon] FILES... | @LIST", nullptr, documents},
    {"layered", "layered GRAPH.json", tarnwell::cli::run_layered, {}},
    {"xmi", "xmi [--simple] [-traceon] -o OUT.xmi FILES... | @LIST", nullptr, documents},
    {"export",
     "export --to pptx|docx|xlsx|vsdx [--lang L] [--lines B-E | --function NAME[#K] | --at LINE] "
     "[--level N] [--template T] [--ini F] -o OUT FILE",
     nullptr, documents},
    {"diagram",
     "diagram [--package NAME|--root|--all] [--assoc|--no-assoc] [--filter N] [--json] "
     "-o OUT.png|.svg FILES... | @LIST",
     nullptr, pictures},
    {"docs", "docs -o DIR FILES... | @LIST", nullptr, pictures},
    {"print", "print [--lang L] -o OUT.pdf FILE", nullptr, printout},
};

int usage(std::ostream& out) {
    out << "usage: tarnwell-cli COMMAND [OPTIONS] FILE   (FILE \"-\" reads standard input)\n";
    for (const command& c : commands) out << "  tarnwell-cli " << c.usage << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(std::cerr);
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h") {
        usage(std::cout);
        return 0;
    }
    for (const command& c : commands) {
        if (c.name != name) continue;
        if (c.run == nullptr) return tarnwell::cli::hand_over(c.program, argv);
        return tarnwell::cli::run_command(name, c.run, argc, argv);
    }
    std::cerr << "tarnwell-cli: unknown command \"" << name << "\"\n";
    return usage(std::cerr);
}
