// The texts the documentation generator carries inside the program: "css_file",
// "p_overview_xsl_file" and "p_detail_xsl_file".
#pragma once

#include <string_view>

namespace tarnwell {

// The resource's bytes; empty for an unknown name.
std::string_view DocGenResource(std::string_view name);

}  // namespace tarnwell
