// The one instance of each language parser, by parser slot, shared by all documents.
#pragma once

#include <array>
#include <memory>

#include "parsers/xmls.h"

namespace tarnwell {

class parser_registry {
  public:
    static constexpr int slot_count = 26;
    // The slot that charts a document whose parser slot is unset.
    static constexpr int default_slot = 3;

    parser_registry();

    // The parser of a slot; nullptr for an empty slot or a number outside the slots.
    tsparser* parser_at(int slot) const;

  private:
    std::array<std::unique_ptr<tsparser>, slot_count> slots_;
};

}  // namespace tarnwell
