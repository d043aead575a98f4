// Placeholder replacement in the paragraphs of an Office XML part, also where the editor that
// wrote the template split the placeholder over several runs ("#file" + "name#").
#pragma once

#include <libxml/tree.h>

#include <string_view>

namespace tarnwell {

// Replaces `placeholder`, in whatever letter case a template's author wrote it, by
// `replacement` (UTF-8) in every paragraph (`paragraph` elements of `ns`) below `root`; the
// text of a paragraph is its `text` elements of `ns`, in order, not counting those of
// paragraphs nested in it. Returns the number of replacements.
int replace_in_paragraphs(xmlNode* root, const char* ns, const char* paragraph, const char* text,
                          std::string_view placeholder, std::string_view replacement);

}  // namespace tarnwell
