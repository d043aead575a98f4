// tarnwell-cli-print: the source printout of tarnwell-cli. The editor component styles the text
// as on screen, so this program alone loads the widgets; tarnwell-cli hands the command over.
#include "cli/command_run.h"
#include "cli/print_command.h"

namespace {

constexpr tarnwell::cli::named_command commands[] = {
    {"print", tarnwell::cli::run_print},
};

}  // namespace

int main(int argc, char** argv) {
    return tarnwell::cli::run_named_command(commands, argc, argv);
}
