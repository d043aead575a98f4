#include "parsers/parser_registry.h"

#include "parsers/cpp2xmls.h"

namespace tarnwell {

parser_registry::parser_registry() {
    slots_[3] = std::make_unique<Tcppsparser>();
}

tsparser* parser_registry::parser_at(int slot) const {
    if (slot < 0 || slot >= slot_count) return nullptr;
    return slots_[static_cast<std::size_t>(slot)].get();
}

}  // namespace tarnwell
