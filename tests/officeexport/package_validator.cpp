#include "package_validator.h"

#include <libxml/xmlerror.h>

#include <map>
#include <set>

#include "markup_compatibility.h"
#include "officeexport/ooxml_xml.h"

namespace tarnwell::test {

namespace {

const char* const visio_ns = "http://schemas.microsoft.com/office/visio/2012/main";

// The root namespaces all.xsd has a declaration for.
const std::set<std::string, std::less<>>& schema_roots() {
    static const std::set<std::string, std::less<>> roots = {
        "http://schemas.openxmlformats.org/presentationml/2006/main",
        "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
        "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
        "http://schemas.openxmlformats.org/drawingml/2006/main",
        "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing",
        "http://schemas.openxmlformats.org/drawingml/2006/chart",
        "http://schemas.openxmlformats.org/drawingml/2006/chartDrawing",
        "http://schemas.openxmlformats.org/drawingml/2006/diagram",
        "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties",
        "http://schemas.openxmlformats.org/officeDocument/2006/custom-properties",
        "http://schemas.openxmlformats.org/package/2006/content-types",
        "http://schemas.openxmlformats.org/package/2006/relationships",
        "http://schemas.openxmlformats.org/package/2006/metadata/core-properties",
        visio_ns,
    };
    return roots;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string text_of(const xmlChar* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}

// The part whose relationships a ".rels" part holds: "ppt/_rels/presentation.xml.rels" gives
// "ppt/presentation.xml", "_rels/.rels" the package itself ("").
std::string source_of_relationships(const std::string& rels) {
    const std::size_t folder = rels.rfind("_rels/");
    return rels.substr(0, folder) + rels.substr(folder + 6, rels.size() - folder - 6 - 5);
}

// Collects the messages of one validation; the handler's error type differs between libxml2
// releases, so it is deduced from the pointer type it is given to.
struct schema_messages {
    std::vector<std::string> lines;
    template <typename error_pointer>
    static void collect(void* data, error_pointer error) {
        auto* self = static_cast<schema_messages*>(data);
        std::string message = text_of(reinterpret_cast<const xmlChar*>(error->message));
        while (!message.empty() && message.back() == '\n') message.pop_back();
        std::string where;
        if (auto* node = static_cast<xmlNode*>(error->node)) {
            xmlChar* path = xmlGetNodePath(node);
            where = " at " + text_of(path);
            xmlFree(path);
        }
        self->lines.push_back("line " + std::to_string(error->line) + ": " + message + where);
    }
};

// The Visio schema wants no xml:space on a part's root, where Visio itself writes it.
void drop_visio_root_space(xmlNode* root) {
    if (text_of(root->ns ? root->ns->href : nullptr) != visio_ns) return;
    for (xmlAttr* attribute = root->properties; attribute; attribute = attribute->next) {
        if (text_of(attribute->name) == "space" && attribute->ns &&
            text_of(attribute->ns->href) == text_of(XML_XML_NAMESPACE)) {
            xmlRemoveProp(attribute);
            return;
        }
    }
}

}  // namespace

package_validator::package_validator(const std::string& schema_file) {
    std::unique_ptr<xmlSchemaParserCtxt, void (*)(xmlSchemaParserCtxt*)> parser(
        xmlSchemaNewParserCtxt(schema_file.c_str()), xmlSchemaFreeParserCtxt);
    if (!parser) {
        load_error_ = "cannot read " + schema_file;
        return;
    }
    schema_messages messages;
    xmlSchemaSetParserStructuredErrors(parser.get(), schema_messages::collect, &messages);
    schema_.reset(xmlSchemaParse(parser.get()));
    if (!schema_) {
        load_error_ = schema_file + " does not load";
        for (const std::string& line : messages.lines) load_error_ += "\n" + line;
    }
}

std::vector<std::string> package_validator::problems(const ooxml_package& package) const {
    std::vector<std::string> found = packaging_problems(package);
    for (const auto& [name, bytes] : package.parts()) {
        if (bytes.substr(0, 200).find('<') == std::string::npos) continue;  // not XML
        std::string error;
        const xml_document doc = parse_xml_part(bytes, error);
        if (!doc) {
            found.push_back(name + ": not well-formed: " + error);
            continue;
        }
        xmlNode* root = xmlDocGetRootElement(doc.get());
        const std::string ns = text_of(root->ns ? root->ns->href : nullptr);
        if (!schema_roots().count(ns)) {
            found.push_back(name + ": no schema for the root {" + ns + "}" + text_of(root->name));
            continue;
        }
        for (const std::string& fault : process_markup_compatibility(doc.get())) {
            found.push_back(name + ": " + fault);
        }
        drop_visio_root_space(root);
        std::unique_ptr<xmlSchemaValidCtxt, void (*)(xmlSchemaValidCtxt*)> validation(
            xmlSchemaNewValidCtxt(schema_.get()), xmlSchemaFreeValidCtxt);
        schema_messages messages;
        xmlSchemaSetValidStructuredErrors(validation.get(), schema_messages::collect, &messages);
        const int result = xmlSchemaValidateDoc(validation.get(), doc.get());
        for (const std::string& line : messages.lines) found.push_back(name + ": " + line);
        if (result != 0 && messages.lines.empty()) {
            found.push_back(name + ": the schema validation failed (" + std::to_string(result) +
                            ")");
        }
    }
    return found;
}

std::vector<std::string> packaging_problems(const ooxml_package& package) {
    std::vector<std::string> found;
    std::set<std::string> parts;
    for (const auto& entry : package.parts()) parts.insert(lower(entry.first));

    std::map<std::string, std::string> defaults;
    std::set<std::string> overrides;
    std::string error;
    const std::string* types_part = package.part("[Content_Types].xml");
    const xml_document types = types_part ? parse_xml_part(*types_part, error) : nullptr;
    if (!types) {
        found.push_back("[Content_Types].xml: missing or not well-formed " + error);
    } else {
        xmlNode* root = xmlDocGetRootElement(types.get());
        for (xmlNode* node : xml_children(root, ooxml_ns::content_types, "Default")) {
            defaults[lower(xml_attribute(node, "Extension"))] = xml_attribute(node, "ContentType");
        }
        for (xmlNode* node : xml_children(root, ooxml_ns::content_types, "Override")) {
            const std::string part = lower(xml_attribute(node, "PartName"));
            if (!overrides.insert(part).second) {
                found.push_back("[Content_Types].xml: two overrides for " + part);
            }
            if (!parts.count(part.substr(part.empty() ? 0 : 1))) {
                found.push_back("[Content_Types].xml: an override for the missing part " + part);
            }
        }
    }
    for (const auto& [name, bytes] : package.parts()) {
        if (name == "[Content_Types].xml") continue;
        const std::size_t slash = name.rfind('/');
        const std::size_t dot = name.rfind('.');
        const std::string extension =
            dot != std::string::npos && (slash == std::string::npos || dot > slash)
                ? lower(name.substr(dot + 1))
                : "";
        if (types && !overrides.count("/" + lower(name)) && !defaults.count(extension)) {
            found.push_back(name + ": no content type");
        }
        if (name.size() < 5 || name.compare(name.size() - 5, 5, ".rels") != 0) continue;
        const xml_document rels = parse_xml_part(bytes, error);
        if (!rels) {
            found.push_back(name + ": not well-formed: " + error);
            continue;
        }
        const std::string source = source_of_relationships(name);
        std::set<std::string> ids;
        for (xmlNode* node : xml_children(xmlDocGetRootElement(rels.get()),
                                          ooxml_ns::package_relationships, "Relationship")) {
            const std::string id = xml_attribute(node, "Id");
            if (!ids.insert(id).second) found.push_back(name + ": the id " + id + " twice");
            if (lower(xml_attribute(node, "TargetMode")) == "external") continue;
            const std::string target = xml_attribute(node, "Target");
            const std::optional<std::string> part = resolved_part_name(source, target);
            if (!part || !parts.count(lower(*part))) {
                found.push_back(name + ": " + id + " targets the missing part " + target);
            }
        }
    }
    return found;
}

}  // namespace tarnwell::test
