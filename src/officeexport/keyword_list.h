// The keyword list: the caption text of every symbol code, shared by the export dialogs and
// the exporters that write shape texts.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tarnwell {

// Slots 0 to 29 are the symbol codes of the export layout; 30 to 32 are always empty.
inline constexpr int keyword_slot_count = 33;

using keyword_list = std::array<std::string, keyword_slot_count>;

// The caption of a slot on the dialogs' keywords page ("Start", ..., "False Line"); empty for
// slots 30 to 32 and for numbers outside the list.
std::string_view keyword_caption(int slot);

// The text a fresh installation shows in every slot ("Start", "Statement", ..., "True",
// "False"; empty for the switch end, the junction, the plain connector and slots 30 to 32).
const keyword_list& default_keywords();

// The text of a slot, or empty for numbers outside the list.
std::string_view keyword_of(const keyword_list& keywords, int slot);

}  // namespace tarnwell
