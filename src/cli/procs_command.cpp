#include "cli/procs_command.h"

#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_options.h"
#include "cli/json_writer.h"
#include "explorer/function_lookup.h"
#include "explorer/proc_scanner_choice.h"
#include "parsers/language_table.h"

namespace tarnwell::cli {

namespace {

std::string_view kind_of(std::string_view tag) {
    if (tag == "void") return "function";
    if (tag == "proc") return "procedure";
    if (tag == "cons") return "constructor";
    if (tag == "des") return "destructor";
    return "unknown";
}

// The list as JSON: each function's own and qualified name, kind, declaration line and the
// lines a click in the code explorer marks.
std::string functions_json(std::string_view result_text) {
    std::string array = "[";
    for (const listed_function& f : read_listing(result_text)) {
        const std::size_t scope = f.name.find_last_of(".:");
        const std::string_view own = scope == std::string::npos
                                         ? std::string_view(f.name)
                                         : std::string_view(f.name).substr(scope + 1);
        if (array.size() > 1) array += ',';
        array += json_object()
                     .field("name", own)
                     .field("qualified_name", f.name)
                     .field("kind", kind_of(f.tag))
                     .field("declaration", f.declaration)
                     .field("begin", f.begin)
                     .field("end", f.end)
                     .str();
    }
    return json_object().raw_field("functions", array + "]").str();
}

}  // namespace

int run_procs(std::span<const std::string_view> args, std::ostream& out) {
    const cli_options options = parse_options(args, opt_lang | opt_budget | opt_json);
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
    if (options.json) {
        out << functions_json(scanner->result_text()) << '\n';
    } else {
        out << scanner->result_text();
    }
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
