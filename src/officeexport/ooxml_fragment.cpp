#include "officeexport/ooxml_fragment.h"

#include "officeexport/ooxml_xml.h"

namespace tarnwell {

bool append_fragment(xmlNode* parent, xmlNode* before, std::string_view elements,
                     const std::vector<namespace_binding>& namespaces) {
    std::string xml = "<fragment";
    for (const auto& [prefix, uri] : namespaces) {
        xml += std::string(" xmlns:") + prefix + "=\"" + uri + "\"";
    }
    xml += ">";
    xml += elements;
    xml += "</fragment>";
    std::string error;
    const xml_document fragment = parse_xml_part(xml, error);
    if (!fragment) return false;
    xmlNode* wrapper = xmlDocGetRootElement(fragment.get());
    while (xmlNode* node = wrapper->children) {
        xmlUnlinkNode(node);
        if (node->type != XML_ELEMENT_NODE) {
            xmlFreeNode(node);
            continue;
        }
        if (xmlDOMWrapAdoptNode(nullptr, fragment.get(), node, parent->doc, parent, 0) != 0) {
            xmlFreeNode(node);
            return false;
        }
        if (before)
            xmlAddPrevSibling(before, node);
        else
            xmlAddChild(parent, node);
    }
    return true;
}

}  // namespace tarnwell
