// Feeds arbitrary bytes to every parser in the registry: no input may crash, hang or read
// out of bounds, and every result must keep the markup's closing character.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "parsers/parser_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tarnwell::parser_registry registry;
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    for (int slot = 0; slot < tarnwell::parser_registry::slot_count; ++slot) {
        tarnwell::tsparser* parser = registry.parser_at(slot);
        if (parser == nullptr) continue;
        const tarnwell::parser_result result = parser->parse(source);
        if (result.markup.empty() || result.markup.back() != '\001' || result.error_len < 5) {
            std::abort();
        }
    }
    return 0;
}
