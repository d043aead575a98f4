// tarnwell-cli-documents: the commands of tarnwell-cli that read or write packaged documents
// (class files and jars, XMI, Office packages), on libzip and libxml2. tarnwell-cli hands them
// over, so that its text commands start without those libraries.
#include "cli/command_run.h"
#include "cli/export_command.h"
#include "cli/model_command.h"
#include "cli/xmi_command.h"

namespace {

constexpr tarnwell::cli::named_command commands[] = {
    {"model", tarnwell::cli::run_model},
    {"xmi", tarnwell::cli::run_xmi},
    {"export", tarnwell::cli::run_export},
};

}  // namespace

int main(int argc, char** argv) {
    return tarnwell::cli::run_named_command(commands, argc, argv);
}
