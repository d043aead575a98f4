#include "officeexport/ooxml_document.h"

#include <ctime>

#include "officeexport/package_properties.h"

namespace tarnwell {

bool ooxml_document::load(ooxml_package package, std::string_view main_type, std::string& error,
                          std::string_view main_relationship) {
    package_ = std::move(package);
    const std::optional<package_relationship> main = package_.relationship("", main_relationship);
    if (!main) {
        error = "the package has no main document part";
        return false;
    }
    if (package_.content_type(main->target) != main_type) {
        error = "the main part " + main->target + " is not of the type " + std::string(main_type);
        return false;
    }
    main_part_ = main->target;
    return true;
}

xmlDoc* ooxml_document::edit(const std::string& part, std::string& error) {
    if (const auto found = edited_.find(part); found != edited_.end()) return found->second.get();
    const std::string* bytes = package_.part(part);
    if (!bytes) {
        error = "the part " + part + " is missing";
        return nullptr;
    }
    std::string why;
    xml_document doc = parse_xml_part(*bytes, why);
    if (!doc) {
        error = part + ": " + why;
        return nullptr;
    }
    return edited_.emplace(part, std::move(doc)).first->second.get();
}

std::string ooxml_document::add_relationship(const std::string& source, const std::string& type,
                                             const std::string& target, std::string& error) {
    const std::string rels = relationships_part_of(source);
    if (!package_.part(rels)) {
        package_.set_part(rels, std::string(xml_declaration) + "<Relationships xmlns=\"" +
                                    ooxml_ns::package_relationships + "\"/>");
    }
    xmlDoc* doc = edit(rels, error);
    if (!doc) return {};
    return add_relationship_entry(xmlDocGetRootElement(doc), type, target);
}

bool ooxml_document::set_content_type(const std::string& part, const std::string& type,
                                      std::string& error) {
    xmlDoc* types = edit("[Content_Types].xml", error);
    if (!types) return false;
    set_content_type_entry(xmlDocGetRootElement(types), part, type);
    return true;
}

bool ooxml_document::save(const std::string& path, std::string& error) const {
    ooxml_package out = package_;
    for (const auto& [name, doc] : edited_) out.set_part(name, serialised(doc.get()));
    set_package_properties(out, std::time(nullptr));
    return out.write(path, error);
}

}  // namespace tarnwell
