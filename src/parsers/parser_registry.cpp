#include "parsers/parser_registry.h"

#include "parsers/bas2xmls.h"
#include "parsers/cpp2xmls.h"
#include "parsers/cs2xmls.h"
#include "parsers/foxpro2xmls.h"
#include "parsers/language_table.h"
#include "parsers/op2xmls.h"
#include "parsers/pbtoxmls.h"
#include "parsers/perl2xmls.h"
#include "parsers/php2xmls.h"
#include "parsers/pl2xmls.h"
#include "parsers/tree2xmls.h"
#include "parsers/tree_languages.h"
#include "parsers/tsql2xmls.h"
#include "parsers/vb2xmls.h"
#include "parsers/vs2xmls.h"

namespace tarnwell {

parser_registry::parser_registry() {
    slots_[13] = std::make_unique<Topsparser>();
    slots_[2] = std::make_unique<Tphpparser>();
    slots_[3] = std::make_unique<Tcppsparser>();
    slots_[1] = std::make_unique<Tbasparser>();
    slots_[7] = std::make_unique<Tvbsparser>();
    slots_[5] = std::make_unique<Tfoxproparser>();
    slots_[6] = std::make_unique<Tperlparser>();
    slots_[8] = std::make_unique<Tcsparser>();
    slots_[9] = std::make_unique<Tvsparser>();
    slots_[10] = std::make_unique<Tpbsparser>();
    slots_[11] = std::make_unique<Tplsparser>();
    slots_[12] = std::make_unique<Ttsqlsparser>();
    for (const language_row& row : language_table()) {
        if (const tree_grammar* grammar = tree_grammar_of_language(row.number)) {
            slots_[static_cast<std::size_t>(row.parser_slot)] =
                std::make_unique<Ttreesparser>(*grammar);
        }
    }
}

tsparser* parser_registry::parser_at(int slot) const {
    if (slot < 0 || slot >= slot_count) return nullptr;
    return slots_[static_cast<std::size_t>(slot)].get();
}

}  // namespace tarnwell
