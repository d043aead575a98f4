#include "cli/procs_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_options.h"
#include "explorer/proc_scanner_choice.h"
#include "parsers/language_table.h"

namespace tarnwell::cli {

int run_procs(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options = parse_options(args, opt_lang | opt_budget);
    std::string source = read_input(options.file);
    const int language = language_of(options, source);
    const std::unique_ptr<TKestrinProcLexer> scanner = make_proc_scanner(language);
    if (!scanner) {
        throw usage_error(
            "procs lists the procedures of C/C++, Java, C#, Pascal, Python, TypeScript, TSX, Go, "
            "Rust, Kotlin, Swift, Ruby, Scala, Lua, Bash and PowerShell texts, not " +
            std::string(language_table()[static_cast<std::size_t>(language)].short_name));
    }
    scanner->set_source_text(std::move(source));
    scanner->set_time_budget(options.budget);
    scanner->run();
    out << scanner->result_text();
    if (scanner->timed_out()) {
        std::cerr << "tarnwell-cli procs: the time budget of " << options.budget
                  << " ms ran out; the list ends early\n";
    }
    if (!scanner->failure().empty()) {
        std::cerr << "tarnwell-cli procs: " << scanner->failure() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace tarnwell::cli
