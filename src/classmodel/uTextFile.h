// Writing a whole text file of the class half (XMI, documentation pages).
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

// Creates or replaces the file with the bytes of `text`, through a temporary file beside it so
// that nothing is left half-written; raises std::system_error "Cannot write "<file>"" with the
// system's reason.
void WriteTextFile(const std::string& file, std::string_view text);

}  // namespace tarnwell
