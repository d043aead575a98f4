#include "officeexport/package_properties.h"

#include <span>

#include "officeexport/ooxml_xml.h"

namespace tarnwell {

namespace {

constexpr const char* core_ns =
    "http://schemas.openxmlformats.org/package/2006/metadata/core-properties";
constexpr const char* dc_ns = "http://purl.org/dc/elements/1.1/";
constexpr const char* extended_ns =
    "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties";

struct property_element {
    const char* ns;
    const char* name;
};

constexpr property_element kept_core[] = {
    {dc_ns, "title"},       {dc_ns, "subject"},    {core_ns, "keywords"},
    {dc_ns, "description"}, {core_ns, "category"}, {core_ns, "contentStatus"},
    {dc_ns, "language"},    {dc_ns, "identifier"},
};
constexpr property_element kept_extended[] = {
    {extended_ns, "Company"}, {extended_ns, "Manager"}, {extended_ns, "HyperlinkBase"}};

std::string fresh_core(std::time_t now) {
    const std::string time = w3cdtf_time(now);
    return std::string(xml_declaration) + "<cp:coreProperties xmlns:cp=\"" + core_ns +
           "\" xmlns:dc=\"" + dc_ns +
           "\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator>" +
           properties_author + "</dc:creator><cp:lastModifiedBy>" + properties_author +
           "</cp:lastModifiedBy><cp:revision>1</cp:revision><dcterms:created "
           "xsi:type=\"dcterms:W3CDTF\">" +
           time + "</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + time +
           "</dcterms:modified></cp:coreProperties>";
}

std::string fresh_extended(std::time_t) {
    return std::string(xml_declaration) + "<Properties xmlns=\"" + extended_ns +
           "\" xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/"
           "docPropsVTypes\"><Application>" +
           properties_author +
           "</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>"
           "<LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc>"
           "<HyperlinksChanged>false</HyperlinksChanged></Properties>";
}

struct properties_part {
    const char* relationship;
    const char* default_name;
    const char* content_type;
    const char* root_ns;
    const char* root_name;
    std::string (*fresh)(std::time_t);
    std::span<const property_element> kept;
};

const properties_part parts[] = {
    {"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
     "docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml", core_ns,
     "coreProperties", fresh_core, kept_core},
    {"http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties",
     "docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml",
     extended_ns, "Properties", fresh_extended, kept_extended},
};

// The part the package relationship of `type` names; the relationship is made, to the default
// name, when there is none that stays inside the package.
std::string related_part(xmlNode* relationships, const properties_part& part) {
    for (xmlNode* entry :
         xml_children(relationships, ooxml_ns::package_relationships, "Relationship")) {
        if (xml_attribute(entry, "Type") != part.relationship) continue;
        if (const std::optional<std::string> name =
                resolved_part_name("", xml_attribute(entry, "Target"))) {
            return *name;
        }
        xmlUnlinkNode(entry);
        xmlFreeNode(entry);
    }
    add_relationship_entry(relationships, part.relationship, part.default_name);
    return part.default_name;
}

// The fresh part with the kept elements of the old one in front, in their old order.
std::string written_part(const properties_part& part, const std::string* old, std::time_t now) {
    std::string error;
    const xml_document fresh = parse_xml_part(part.fresh(now), error);
    const xml_document previous = old ? parse_xml_part(*old, error) : nullptr;
    xmlNode* old_root = previous ? xmlDocGetRootElement(previous.get()) : nullptr;
    if (!xml_is(old_root, part.root_ns, part.root_name)) return part.fresh(now);
    xmlNode* root = xmlDocGetRootElement(fresh.get());
    xmlNode* first = root->children;
    for (xmlNode* node = old_root->children; node; node = node->next) {
        for (const property_element& kept : part.kept) {
            if (!xml_is(node, kept.ns, kept.name)) continue;
            // Made anew under the root's declarations rather than copied whole, which would
            // declare its namespace again.
            xmlNode* copy =
                xmlNewDocNode(fresh.get(), xmlSearchNsByHref(fresh.get(), root, BAD_CAST kept.ns),
                              node->name, nullptr);
            xmlAddPrevSibling(first, copy);
            xmlAddChildList(copy, xmlDocCopyNodeList(fresh.get(), node->children));
            copy->properties = xmlCopyPropList(copy, node->properties);
        }
    }
    return serialised(fresh.get());
}

}  // namespace

std::string w3cdtf_time(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

void set_package_properties(ooxml_package& package, std::time_t now) {
    std::string error;
    const std::string rels_name = relationships_part_of("");
    const std::string* rels_bytes = package.part(rels_name);
    const std::string* types_bytes = package.part("[Content_Types].xml");
    xml_document rels =
        rels_bytes ? parse_xml_part(*rels_bytes, error)
                   : parse_xml_part(std::string(xml_declaration) + "<Relationships xmlns=\"" +
                                        ooxml_ns::package_relationships + "\"/>",
                                    error);
    const xml_document types = types_bytes ? parse_xml_part(*types_bytes, error) : nullptr;
    // A package this broken was refused when it was opened.
    if (!rels || !types) return;
    for (const properties_part& part : parts) {
        const std::string name = related_part(xmlDocGetRootElement(rels.get()), part);
        package.set_part(name, written_part(part, package.part(name), now));
        set_content_type_entry(xmlDocGetRootElement(types.get()), name, part.content_type);
    }
    package.set_part(rels_name, serialised(rels.get()));
    package.set_part("[Content_Types].xml", serialised(types.get()));
}

}  // namespace tarnwell
