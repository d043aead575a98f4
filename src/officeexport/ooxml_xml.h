// The XML of Office packages through libxml2, read as untrusted input: no DTD, no entity
// expansion, no network, a size cap; and the few tree walks the document writers need.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

struct xml_doc_free {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using xml_document = std::unique_ptr<xmlDoc, xml_doc_free>;

// Namespaces of the parts we read and write.
namespace ooxml_ns {
inline constexpr const char* package_relationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr const char* content_types =
    "http://schemas.openxmlformats.org/package/2006/content-types";
inline constexpr const char* relationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* drawingml = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr const char* presentationml =
    "http://schemas.openxmlformats.org/presentationml/2006/main";
inline constexpr const char* wordprocessingml =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr const char* wordprocessing_drawing =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
}  // namespace ooxml_ns

// The declaration every part we write begins with.
inline constexpr const char* xml_declaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";

// Parses one part; null with `error` set when it is not well-formed, too large or carries a DTD.
xml_document parse_xml_part(std::string_view bytes, std::string& error);

// The document as UTF-8 with an XML declaration.
std::string serialised(xmlDoc* doc);

// The element children of `parent` with the namespace and local name.
std::vector<xmlNode*> xml_children(xmlNode* parent, const char* ns, const char* name);
xmlNode* xml_first_child(xmlNode* parent, const char* ns, const char* name);
// Every element below `root` (itself included) with the namespace and local name, in document
// order; the walk is iterative, so a deep template cannot exhaust the stack.
std::vector<xmlNode*> xml_descendants(xmlNode* root, const char* ns, const char* name);

bool xml_is(const xmlNode* node, const char* ns, const char* name);
// The highest numeric "id" of those elements below `root`; 0 when there is none. Ids that do
// not read as numbers are passed over.
long long xml_highest_id(xmlNode* root, const char* ns, const char* name);
// An attribute without a namespace (`ns` null) or in `ns`; empty when absent.
std::string xml_attribute(xmlNode* node, const char* name, const char* ns = nullptr);
// The text content of a node.
std::string xml_text(xmlNode* node);

// Adds a relationship to the root of a relationships part, under the first "rIdN" it does not
// use yet; returns that id.
std::string add_relationship_entry(xmlNode* relationships, std::string_view type,
                                   std::string_view target);
// Gives a part (named without a leading "/") its content type in the root of
// "[Content_Types].xml": its override is added, or changed when it names another type.
void set_content_type_entry(xmlNode* types, std::string_view part, std::string_view type);

}  // namespace tarnwell
