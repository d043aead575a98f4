// The settings file reader on arbitrary bytes: no input may crash or hang, and the text the
// settings are written back as must read again to the same values.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "workspace/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tarnwell::ini_file settings = tarnwell::ini_file::parse(text);
    const std::string written = settings.text();
    const tarnwell::ini_file again = tarnwell::ini_file::parse(written);
    if (again.text() != written) std::abort();
    // A value stored and read back is the value given, or refused.
    tarnwell::ini_file changed = settings;
    const std::string_view value = text.substr(0, text.find('\n'));
    if (changed.set_value("fuzz", "key", value)) {
        if (changed.value("FUZZ", "KEY") != std::string(value)) std::abort();
        if (tarnwell::ini_file::parse(changed.text()).value("fuzz", "key") != std::string(value)) {
            std::abort();
        }
    }
    changed.int_value("fuzz", "key", 0);
    return 0;
}
