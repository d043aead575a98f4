#include "officeexport/ooxml_xml.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <set>

namespace tarnwell {

namespace {

// A part larger than this is not a document part of ours or of any sane template.
constexpr std::size_t max_xml_part = 32u << 20;

}  // namespace

xml_document parse_xml_part(std::string_view bytes, std::string& error) {
    if (bytes.size() > max_xml_part) {
        error = "an XML part is larger than " + std::to_string(max_xml_part >> 20) + " MB";
        return nullptr;
    }
    // NONET: no network; without NOENT and DTDLOAD entities stay unexpanded and no external
    // subset is read. Any DTD at all is refused below: a package part never needs one.
    xml_document doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) {
        const xmlError* last = xmlGetLastError();
        error = last && last->message ? std::string("not well-formed XML: ") + last->message
                                      : std::string("not well-formed XML");
        while (!error.empty() && error.back() == '\n') error.pop_back();
        return nullptr;
    }
    if (doc->intSubset || doc->extSubset) {
        error = "an XML part carries a document type declaration";
        return nullptr;
    }
    if (!xmlDocGetRootElement(doc.get())) {
        error = "an XML part has no root element";
        return nullptr;
    }
    return doc;
}

std::string serialised(xmlDoc* doc) {
    xmlChar* memory = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc, &memory, &size, "UTF-8");
    std::string out(reinterpret_cast<const char*>(memory), static_cast<std::size_t>(size));
    xmlFree(memory);
    return out;
}

bool xml_is(const xmlNode* node, const char* ns, const char* name) {
    if (!node || node->type != XML_ELEMENT_NODE) return false;
    if (std::strcmp(reinterpret_cast<const char*>(node->name), name) != 0) return false;
    if (!ns) return node->ns == nullptr;
    return node->ns && node->ns->href &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0;
}

std::vector<xmlNode*> xml_children(xmlNode* parent, const char* ns, const char* name) {
    std::vector<xmlNode*> found;
    if (!parent) return found;
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (xml_is(child, ns, name)) found.push_back(child);
    }
    return found;
}

xmlNode* xml_first_child(xmlNode* parent, const char* ns, const char* name) {
    if (!parent) return nullptr;
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (xml_is(child, ns, name)) return child;
    }
    return nullptr;
}

std::vector<xmlNode*> xml_descendants(xmlNode* root, const char* ns, const char* name) {
    std::vector<xmlNode*> found;
    xmlNode* node = root;
    while (node) {
        if (xml_is(node, ns, name)) found.push_back(node);
        if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node && node != root && !node->next) node = node->parent;
        if (!node || node == root) break;
        node = node->next;
    }
    return found;
}

long long xml_highest_id(xmlNode* root, const char* ns, const char* name) {
    long long highest = 0;
    for (xmlNode* node : xml_descendants(root, ns, name)) {
        const std::string id = xml_attribute(node, "id");
        long long value = 0;
        const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), value);
        if (error == std::errc() && end == id.data() + id.size())
            highest = std::max(highest, value);
    }
    return highest;
}

std::string xml_attribute(xmlNode* node, const char* name, const char* ns) {
    xmlChar* value = ns ? xmlGetNsProp(node, reinterpret_cast<const xmlChar*>(name),
                                       reinterpret_cast<const xmlChar*>(ns))
                        : xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name));
    if (!value) return {};
    std::string out(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return out;
}

std::string xml_text(xmlNode* node) {
    xmlChar* value = xmlNodeGetContent(node);
    if (!value) return {};
    std::string out(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return out;
}

std::string add_relationship_entry(xmlNode* relationships, std::string_view type,
                                   std::string_view target) {
    std::set<std::string> taken;
    for (xmlNode* node = relationships->children; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) taken.insert(xml_attribute(node, "Id"));
    }
    std::string id;
    for (int n = 1; id.empty() || taken.count(id); ++n) id = "rId" + std::to_string(n);
    xmlNode* relationship =
        xmlNewChild(relationships, relationships->ns, BAD_CAST "Relationship", nullptr);
    xmlSetProp(relationship, BAD_CAST "Id", BAD_CAST id.c_str());
    xmlSetProp(relationship, BAD_CAST "Type", BAD_CAST std::string(type).c_str());
    xmlSetProp(relationship, BAD_CAST "Target", BAD_CAST std::string(target).c_str());
    return id;
}

void set_content_type_entry(xmlNode* types, std::string_view part, std::string_view type) {
    const std::string name = "/" + std::string(part);
    xmlNode* entry = nullptr;
    for (xmlNode* node : xml_children(types, ooxml_ns::content_types, "Override")) {
        if (xmlStrcasecmp(BAD_CAST xml_attribute(node, "PartName").c_str(),
                          BAD_CAST name.c_str()) == 0) {
            entry = node;
        }
    }
    if (!entry) {
        entry = xmlNewChild(types, types->ns, BAD_CAST "Override", nullptr);
        xmlSetProp(entry, BAD_CAST "PartName", BAD_CAST name.c_str());
    }
    xmlSetProp(entry, BAD_CAST "ContentType", BAD_CAST std::string(type).c_str());
}

}  // namespace tarnwell
