// tarnwell-cli-pictures: the commands of tarnwell-cli that draw, on Qt Gui. tarnwell-cli hands
// them over, so that its other commands start without Qt.
#include "cli/command_run.h"
#include "cli/diagram_command.h"
#include "cli/docs_command.h"
#include "cli/render_command.h"

namespace {

constexpr tarnwell::cli::named_command commands[] = {
    {"render", tarnwell::cli::run_render},
    {"diagram", tarnwell::cli::run_diagram},
    {"docs", tarnwell::cli::run_docs},
};

}  // namespace

int main(int argc, char** argv) {
    return tarnwell::cli::run_named_command(commands, argc, argv);
}
