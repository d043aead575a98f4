// Feeds arbitrary bytes to the procedure scanners: the three line scanners, and the syntax-tree
// scanner of the language the first byte picks. No input may crash, hang or read out of bounds,
// and every result line keeps its "decl-begin-end|tag|name" CR LF form.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <string_view>

#include "explorer/uCppProcLexer.h"
#include "explorer/uPasProcLexer.h"
#include "explorer/uTreeProcLexer.h"
#include "parsers/language_table.h"
#include "parsers/tree_languages.h"

namespace {

bool well_formed(std::string_view result) {
    static const std::regex line(
        R"((-?\d+)-(-?\d+)-(-?\d+)\|(void|proc|cons|des|Unknown)\|[^\r\n]*)");
    while (!result.empty()) {
        const std::size_t end = result.find("\r\n");
        if (end == std::string_view::npos) return false;
        const std::string text(result.substr(0, end));
        if (!std::regex_match(text, line)) return false;
        result.remove_prefix(end + 2);
    }
    return true;
}

void scan_with(std::unique_ptr<tarnwell::TKestrinProcLexer> scanner, const std::string& text) {
    scanner->set_source_text(text);
    // Generous: the fuzzer's own timeout catches a scan that does not end.
    scanner->set_time_budget(60000);
    scanner->run();
    if (!well_formed(scanner->result_text())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    scan_with(std::make_unique<tarnwell::TCppProcLexer>(), text);
    scan_with(std::make_unique<tarnwell::TJavaProcLexer>(), text);
    scan_with(std::make_unique<tarnwell::TPasProcLexer>(), text);
    if (size == 0) return 0;
    const tarnwell::tree_grammar* grammar =
        tarnwell::tree_grammar_of_language(data[0] % tarnwell::language_count);
    if (grammar != nullptr) {
        scan_with(std::make_unique<tarnwell::TTreeProcLexer>(*grammar), text.substr(1));
    }
    return 0;
}
