// Our own generated XML put into a template's part: parsed on its own with the namespaces it
// uses, then adopted into the part, whatever prefixes the template chose for them.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwell {

// Prefix and URI of a namespace the fragment uses.
using namespace_binding = std::pair<const char*, const char*>;

// Parses `elements` inside a wrapper that declares `namespaces`, and appends its top-level
// elements to `parent` (before `before` when it is given). False when the fragment does not
// parse, which is a fault of ours.
bool append_fragment(xmlNode* parent, xmlNode* before, std::string_view elements,
                     const std::vector<namespace_binding>& namespaces);

}  // namespace tarnwell
