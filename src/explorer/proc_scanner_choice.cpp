#include "explorer/proc_scanner_choice.h"

#include "explorer/uCppProcLexer.h"
#include "explorer/uPasProcLexer.h"
#include "explorer/uTreeProcLexer.h"
#include "parsers/language_table.h"
#include "parsers/tree_languages.h"

namespace tarnwell {

namespace {

constexpr int language_pascal = 6;
constexpr int language_csharp = 11;

}  // namespace

int explorer_language_kind(int language) {
    switch (language) {
        case language_c:
            return 2;
        case language_pascal:
            return 3;
        case language_java:
        case language_csharp:
            return 4;
        default:
            return tree_grammar_of_language(language) != nullptr ? 5 : 0;
    }
}

bool lists_whole_definitions(int language) {
    return tree_grammar_of_language(language) != nullptr;
}

std::unique_ptr<TKestrinProcLexer> make_proc_scanner(int language) {
    if (const tree_grammar* grammar = tree_grammar_of_language(language)) {
        return std::make_unique<TTreeProcLexer>(*grammar);
    }
    switch (explorer_language_kind(language)) {
        case 2:
            return std::make_unique<TCppProcLexer>();
        case 3:
            return std::make_unique<TPasProcLexer>();
        case 4:
            return std::make_unique<TJavaProcLexer>();
        default:
            return nullptr;
    }
}

}  // namespace tarnwell
