#include "officeexport/ooxml_placeholders.h"

#include <string>
#include <vector>

#include "officeexport/ooxml_xml.h"
#include "officeexport/placeholder_spelling.h"

namespace tarnwell {

namespace {

// The text elements that belong to `paragraph` itself, in document order.
std::vector<xmlNode*> own_texts(xmlNode* paragraph, const char* ns, const char* paragraph_name,
                                const char* text_name) {
    std::vector<xmlNode*> found;
    xmlNode* node = paragraph->children;
    while (node) {
        const bool nested = xml_is(node, ns, paragraph_name);
        if (xml_is(node, ns, text_name)) found.push_back(node);
        if (!nested && node->children && node->type == XML_ELEMENT_NODE &&
            !xml_is(node, ns, text_name)) {
            node = node->children;
            continue;
        }
        while (node && node != paragraph && !node->next) node = node->parent;
        if (!node || node == paragraph) break;
        node = node->next;
    }
    return found;
}

void set_text(xmlNode* element, const std::string& text) {
    while (element->children) {
        xmlNode* child = element->children;
        xmlUnlinkNode(child);
        xmlFreeNode(child);
    }
    xmlNodeAddContentLen(element, reinterpret_cast<const xmlChar*>(text.data()),
                         static_cast<int>(text.size()));
    // Word drops leading and trailing blanks of a text element unless told to keep them.
    if (element->ns && element->ns->href &&
        std::string_view(reinterpret_cast<const char*>(element->ns->href)) ==
            ooxml_ns::wordprocessingml) {
        xmlNodeSetSpacePreserve(element, 1);
    }
}

}  // namespace

int replace_in_paragraphs(xmlNode* root, const char* ns, const char* paragraph, const char* text,
                          std::string_view placeholder, std::string_view replacement) {
    if (placeholder.empty()) return 0;
    int replaced = 0;
    for (xmlNode* p : xml_descendants(root, ns, paragraph)) {
        const std::vector<xmlNode*> elements = own_texts(p, ns, paragraph, text);
        std::vector<std::string> pieces;
        std::string whole;
        for (xmlNode* element : elements) {
            pieces.push_back(xml_text(element));
            whole += pieces.back();
        }
        std::vector<std::size_t> found;
        for (std::size_t at = find_placeholder(whole, placeholder); at != std::string::npos;
             at = find_placeholder(whole, placeholder, at + placeholder.size())) {
            found.push_back(at);
        }
        if (found.empty()) continue;
        // From the last occurrence back, so the positions of the earlier ones stay right. The
        // replacement goes where the placeholder starts; the rest of it is cut from the pieces
        // it spans, which keeps each run's formatting.
        std::vector<bool> changed(pieces.size(), false);
        for (auto at = found.rbegin(); at != found.rend(); ++at) {
            std::size_t start = *at;
            std::size_t remaining = placeholder.size();
            bool inserted = false;
            std::size_t offset = 0;
            for (std::size_t i = 0; i < pieces.size() && remaining > 0; ++i) {
                const std::size_t length = pieces[i].size();
                if (start >= offset + length) {
                    offset += length;
                    continue;
                }
                const std::size_t from = start - offset;
                const std::size_t cut = std::min(remaining, length - from);
                pieces[i].replace(from, cut, inserted ? std::string_view{} : replacement);
                inserted = true;
                changed[i] = true;
                remaining -= cut;
                offset += length;
                // The piece changed length; later pieces start where this one used to end.
                start = offset;
            }
            ++replaced;
        }
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (changed[i]) set_text(elements[i], pieces[i]);
        }
    }
    return replaced;
}

}  // namespace tarnwell
