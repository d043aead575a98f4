// Markup Compatibility processing of an Office XML part, as a reader does before it looks at
// the part: it knows a fixed set of namespaces, takes the first mc:Choice whose Requires it
// knows (else the mc:Fallback) of each mc:AlternateContent, drops the elements and attributes
// of ignorable namespaces it does not know (unwrapping those named in mc:ProcessContent), and
// removes the mc attributes themselves. What is left is what a schema of the known namespaces
// can judge.
#pragma once

#include <libxml/tree.h>

#include <set>
#include <string>
#include <vector>

namespace tarnwell::test {

inline constexpr const char* markup_compatibility_ns =
    "http://schemas.openxmlformats.org/markup-compatibility/2006";

// The namespaces the schema set under tests/data/ooxml-schemas declares.
const std::set<std::string, std::less<>>& understood_namespaces();

// Processes `doc` in place. Returns the faults a reader refuses a part for: an mc:Ignorable or
// Requires prefix that is not declared, an mc:MustUnderstand namespace that is not known, an
// element other than Choice or Fallback inside mc:AlternateContent.
std::vector<std::string> process_markup_compatibility(xmlDoc* doc);

}  // namespace tarnwell::test
