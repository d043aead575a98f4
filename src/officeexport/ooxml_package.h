// An Office Open XML package: the parts of a zip file by name, read within size caps, its
// relationships and content types, and an atomic save.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

struct package_relationship {
    std::string id;
    std::string type;    // the full relationship type URI
    std::string target;  // the part name it resolves to, without a leading "/"
};

class ooxml_package {
  public:
    // Caps on what a package may hold; a template beyond them is refused.
    static constexpr std::size_t max_parts = 4096;
    static constexpr std::size_t max_part_size = 32u << 20;
    static constexpr std::size_t max_total_size = 128u << 20;

    // Reads every part of the zip file at `path`; nothing and `error` set when the file is not
    // a zip, breaks a cap or names a part outside the package.
    static std::optional<ooxml_package> read(const std::string& path, std::string& error);

    // Part names are written without a leading "/" ("ppt/slides/slide1.xml").
    const std::string* part(std::string_view name) const;
    void set_part(std::string_view name, std::string bytes);
    const std::map<std::string, std::string, std::less<>>& parts() const { return parts_; }

    // The relationships of a part (of the package itself for an empty name), internal ones
    // only, with their targets resolved to part names; targets that leave the package or name
    // no part are left out. Empty when the part has none or they do not parse.
    std::vector<package_relationship> relationships(std::string_view source) const;
    // The first relationship of `source` of the type ending in `type_suffix`.
    std::optional<package_relationship> relationship(std::string_view source,
                                                     std::string_view type_suffix) const;
    // The content type of a part from [Content_Types].xml (its Override, else the Default of
    // its extension); empty when the package does not say.
    std::string content_type(std::string_view name) const;

    // Writes the package as a zip to a temporary file in the folder of `path` and renames it
    // into place, so a failed save leaves no half-written file.
    bool write(const std::string& path, std::string& error) const;

  private:
    std::map<std::string, std::string, std::less<>> parts_;
};

// The part that holds the relationships of `source` ("ppt/_rels/presentation.xml.rels"), of the
// package itself for an empty name ("_rels/.rels").
std::string relationships_part_of(std::string_view source);

// A relative relationship target taken from the folder of `source`; nothing when it climbs
// out of the package.
std::optional<std::string> resolved_part_name(std::string_view source, std::string_view target);

}  // namespace tarnwell
