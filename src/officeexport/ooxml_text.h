// Source text as it goes into an Office document: the source is bytes in no stated encoding,
// the document wants well-formed XML 1.0 in UTF-8, one paragraph per line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

// Valid UTF-8 sequences are kept as they are; every other byte is read as Windows-1252.
// Characters XML 1.0 forbids (controls other than tab, and the noncharacters U+FFFE, U+FFFF)
// become U+FFFD, so the text always serialises.
std::string office_text(std::string_view bytes);

// The text cut into its lines: CR LF, LF and CR each end one line.
std::vector<std::string_view> text_paragraphs(std::string_view text);

// `text` escaped for XML character data and attribute values (after `office_text`).
std::string xml_escaped(std::string_view text);

}  // namespace tarnwell
