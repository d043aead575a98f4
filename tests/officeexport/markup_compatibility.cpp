#include "markup_compatibility.h"

#include <optional>
#include <sstream>
#include <utility>

#include "officeexport/ooxml_xml.h"

namespace tarnwell::test {

namespace {

const char* const xml_ns = "http://www.w3.org/XML/1998/namespace";
const char* const xsi_ns = "http://www.w3.org/2001/XMLSchema-instance";

// An element's place in the rules: the ignorable namespaces and the elements whose content is
// kept when they are dropped, both inherited by the descendants.
struct compatibility_scope {
    std::set<std::string, std::less<>> ignorable;
    std::set<std::pair<std::string, std::string>> process_content;
};

std::string namespace_of(const xmlNode* node) {
    return node->ns && node->ns->href ? reinterpret_cast<const char*>(node->ns->href) : "";
}

std::string namespace_of(const xmlAttr* attribute) {
    return attribute->ns && attribute->ns->href ? reinterpret_cast<const char*>(attribute->ns->href)
                                                : "";
}

bool understood(const std::string& uri) {
    return understood_namespaces().count(uri) != 0;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// The namespace a prefix names where `node` stands; nothing when it is not declared there.
std::optional<std::string> prefix_namespace(xmlNode* node, const std::string& prefix) {
    const xmlNs* ns =
        xmlSearchNs(node->doc, node, prefix.empty() ? nullptr : BAD_CAST prefix.c_str());
    if (!ns || !ns->href) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(ns->href));
}

class processor {
  public:
    std::vector<std::string> faults;

    void walk(xmlNode* element, const compatibility_scope& inherited) {
        const compatibility_scope here = scope_of(element, inherited);
        strip_attributes(element, here);
        xmlNode* child = element->children;
        while (child) {
            if (child->type != XML_ELEMENT_NODE) {
                child = child->next;
                continue;
            }
            const std::string ns = namespace_of(child);
            const std::string name = reinterpret_cast<const char*>(child->name);
            if (ns == markup_compatibility_ns && name == "AlternateContent") {
                // The chosen branch's children take its place and are looked at in turn.
                child = splice(child, chosen(child));
                continue;
            }
            if (here.ignorable.count(ns) && !understood(ns)) {
                const bool keep_content = here.process_content.count({ns, name}) != 0;
                child = splice(child, keep_content ? child : nullptr);
                continue;
            }
            walk(child, here);
            child = child->next;
        }
    }

  private:
    compatibility_scope scope_of(xmlNode* element, const compatibility_scope& inherited) {
        compatibility_scope here = inherited;
        const std::string ignorable = xml_attribute(element, "Ignorable", markup_compatibility_ns);
        for (const std::string& prefix : words(ignorable)) {
            if (const auto uri = prefix_namespace(element, prefix)) {
                here.ignorable.insert(*uri);
            } else {
                faults.push_back("mc:Ignorable prefix \"" + prefix + "\" is not declared");
            }
        }
        const std::string process =
            xml_attribute(element, "ProcessContent", markup_compatibility_ns);
        for (const std::string& qualified : words(process)) {
            const std::size_t colon = qualified.find(':');
            const std::string prefix = colon == std::string::npos ? "" : qualified.substr(0, colon);
            const std::string local =
                colon == std::string::npos ? qualified : qualified.substr(colon + 1);
            if (const auto uri = prefix_namespace(element, prefix)) {
                here.process_content.insert({*uri, local});
            }
        }
        return here;
    }

    void strip_attributes(xmlNode* element, const compatibility_scope& here) {
        xmlAttr* attribute = element->properties;
        while (attribute) {
            xmlAttr* next = attribute->next;
            const std::string ns = namespace_of(attribute);
            if (ns == markup_compatibility_ns) {
                if (reinterpret_cast<const char*>(attribute->name) ==
                    std::string_view("MustUnderstand")) {
                    for (const std::string& prefix :
                         words(xml_attribute(element, "MustUnderstand", markup_compatibility_ns))) {
                        const auto uri = prefix_namespace(element, prefix);
                        if (!uri || !understood(*uri)) {
                            faults.push_back("mc:MustUnderstand names \"" + prefix +
                                             "\", which is not understood");
                        }
                    }
                }
                xmlRemoveProp(attribute);
            } else if (!ns.empty() && here.ignorable.count(ns) && !understood(ns)) {
                xmlRemoveProp(attribute);
            }
            attribute = next;
        }
    }

    // The branch of an mc:AlternateContent a reader takes; null when there is none.
    xmlNode* chosen(xmlNode* alternate) {
        for (xmlNode* branch = alternate->children; branch; branch = branch->next) {
            if (branch->type != XML_ELEMENT_NODE) continue;
            const std::string name = reinterpret_cast<const char*>(branch->name);
            if (namespace_of(branch) != markup_compatibility_ns ||
                (name != "Choice" && name != "Fallback")) {
                faults.push_back("mc:AlternateContent holds " + name);
                continue;
            }
            if (name == "Fallback") return branch;
            bool all_known = true;
            bool declared = true;
            for (const std::string& prefix : words(xml_attribute(branch, "Requires"))) {
                const auto uri = prefix_namespace(branch, prefix);
                declared = declared && uri.has_value();
                all_known = all_known && uri && understood(*uri);
            }
            if (!declared) {
                faults.push_back("mc:Choice Requires \"" + xml_attribute(branch, "Requires") +
                                 "\" names an undeclared prefix");
                continue;
            }
            if (all_known) return branch;
        }
        return nullptr;
    }

    // Puts the children of `source` (none when it is null) where `element` is, and removes
    // `element`; the children keep their namespaces. Returns the first node put in, else the
    // node after `element`.
    xmlNode* splice(xmlNode* element, xmlNode* source) {
        xmlNode* after = element->next;
        xmlNode* first = nullptr;
        while (source && source->children) {
            xmlNode* moved = source->children;
            xmlUnlinkNode(moved);
            xmlAddPrevSibling(element, moved);
            if (!first) first = moved;
        }
        // Declarations made on the removed elements are made again where they are used.
        for (xmlNode* moved = first; moved && moved != element; moved = moved->next) {
            if (moved->type == XML_ELEMENT_NODE) xmlReconciliateNs(element->doc, moved);
        }
        xmlUnlinkNode(element);
        xmlFreeNode(element);
        return first ? first : after;
    }
};

}  // namespace

const std::set<std::string, std::less<>>& understood_namespaces() {
    static const std::set<std::string, std::less<>> known = {
        markup_compatibility_ns,
        xml_ns,
        xsi_ns,
        "http://schemas.openxmlformats.org/presentationml/2006/main",
        "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
        "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
        "http://schemas.openxmlformats.org/drawingml/2006/main",
        "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing",
        "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing",
        "http://schemas.openxmlformats.org/drawingml/2006/chart",
        "http://schemas.openxmlformats.org/drawingml/2006/chartDrawing",
        "http://schemas.openxmlformats.org/drawingml/2006/diagram",
        "http://schemas.openxmlformats.org/drawingml/2006/lockedCanvas",
        "http://schemas.openxmlformats.org/drawingml/2006/picture",
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
        "http://schemas.openxmlformats.org/officeDocument/2006/math",
        "http://schemas.openxmlformats.org/officeDocument/2006/sharedTypes",
        "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties",
        "http://schemas.openxmlformats.org/officeDocument/2006/custom-properties",
        "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes",
        "http://schemas.openxmlformats.org/package/2006/content-types",
        "http://schemas.openxmlformats.org/package/2006/relationships",
        "http://schemas.openxmlformats.org/package/2006/metadata/core-properties",
        "http://schemas.openxmlformats.org/schemaLibrary/2006/main",
        "http://purl.org/dc/elements/1.1/",
        "http://purl.org/dc/terms/",
        "http://purl.org/dc/dcmitype/",
        "urn:schemas-microsoft-com:vml",
        "urn:schemas-microsoft-com:office:office",
        "urn:schemas-microsoft-com:office:word",
        "urn:schemas-microsoft-com:office:excel",
        "urn:schemas-microsoft-com:office:powerpoint",
        "http://schemas.microsoft.com/office/word/2010/wordprocessingShape",
        "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup",
        "http://schemas.microsoft.com/office/visio/2012/main",
    };
    return known;
}

std::vector<std::string> process_markup_compatibility(xmlDoc* doc) {
    processor run;
    if (xmlNode* root = xmlDocGetRootElement(doc)) run.walk(root, {});
    return std::move(run.faults);
}

}  // namespace tarnwell::test
