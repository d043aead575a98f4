#include "officeexport/ooxml_package.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "officeexport/ooxml_xml.h"

namespace tarnwell {

namespace {

struct zip_closer {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using zip_archive = std::unique_ptr<zip_t, zip_closer>;

// A stored name that could only mean harm or confusion when taken as a part name.
bool acceptable_entry_name(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.find('\\') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view segment = name.substr(start, end - start);
        if (segment == ".." || segment == ".") return false;
        start = end + 1;
    }
    return true;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace

std::string relationships_part_of(std::string_view source) {
    if (source.empty()) return "_rels/.rels";
    const std::size_t slash = source.rfind('/');
    const std::string folder(slash == std::string_view::npos ? "" : source.substr(0, slash + 1));
    const std::string file(slash == std::string_view::npos ? source : source.substr(slash + 1));
    return folder + "_rels/" + file + ".rels";
}

std::optional<std::string> resolved_part_name(std::string_view source, std::string_view target) {
    std::vector<std::string> segments;
    if (!target.empty() && target.front() == '/') {
        target.remove_prefix(1);
    } else {
        std::size_t start = 0;
        const std::size_t folder_end = source.rfind('/');
        const std::string_view folder = folder_end == std::string_view::npos
                                            ? std::string_view{}
                                            : source.substr(0, folder_end);
        while (!folder.empty() && start <= folder.size()) {
            const std::size_t end = std::min(folder.find('/', start), folder.size());
            segments.emplace_back(folder.substr(start, end - start));
            start = end + 1;
        }
    }
    std::size_t start = 0;
    while (start <= target.size()) {
        const std::size_t end = std::min(target.find('/', start), target.size());
        const std::string_view segment = target.substr(start, end - start);
        if (segment == "..") {
            if (segments.empty()) return std::nullopt;
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.emplace_back(segment);
        }
        start = end + 1;
    }
    std::string name;
    for (const std::string& segment : segments) name += (name.empty() ? "" : "/") + segment;
    if (name.empty()) return std::nullopt;
    return name;
}

std::optional<ooxml_package> ooxml_package::read(const std::string& path, std::string& error) {
    int code = 0;
    zip_archive archive(zip_open(path.c_str(), ZIP_RDONLY, &code));
    if (!archive) {
        zip_error_t zip_error;
        zip_error_init_with_code(&zip_error, code);
        error = zip_error_strerror(&zip_error);
        zip_error_fini(&zip_error);
        return std::nullopt;
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0 || static_cast<std::size_t>(count) > max_parts) {
        error = "the package holds more than " + std::to_string(max_parts) + " parts";
        return std::nullopt;
    }
    ooxml_package package;
    std::size_t total = 0;
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE)) {
            error = "an entry of the package cannot be read";
            return std::nullopt;
        }
        const std::string_view name(stat.name);
        if (!name.empty() && name.back() == '/') continue;  // a folder entry
        if (!acceptable_entry_name(name)) {
            error = "the package names a part outside itself";
            return std::nullopt;
        }
        total += stat.size;
        if (stat.size > max_part_size || total > max_total_size) {
            error = "the package is larger than the template caps allow";
            return std::nullopt;
        }
        std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(
            zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0), zip_fclose);
        std::string bytes(static_cast<std::size_t>(stat.size), '\0');
        if (!file ||
            zip_fread(file.get(), bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
            error = "the part " + std::string(name) + " cannot be read";
            return std::nullopt;
        }
        package.parts_[std::string(name)] = std::move(bytes);
    }
    return package;
}

const std::string* ooxml_package::part(std::string_view name) const {
    const auto found = parts_.find(name);
    return found == parts_.end() ? nullptr : &found->second;
}

void ooxml_package::set_part(std::string_view name, std::string bytes) {
    parts_[std::string(name)] = std::move(bytes);
}

std::vector<package_relationship> ooxml_package::relationships(std::string_view source) const {
    std::vector<package_relationship> found;
    const std::string* rels = part(relationships_part_of(source));
    if (!rels) return found;
    std::string error;
    const xml_document doc = parse_xml_part(*rels, error);
    if (!doc) return found;
    for (xmlNode* node : xml_children(xmlDocGetRootElement(doc.get()),
                                      ooxml_ns::package_relationships, "Relationship")) {
        if (lower(xml_attribute(node, "TargetMode")) == "external") continue;
        const std::optional<std::string> target =
            resolved_part_name(source, xml_attribute(node, "Target"));
        if (!target || !part(*target)) continue;
        found.push_back({xml_attribute(node, "Id"), xml_attribute(node, "Type"), *target});
    }
    return found;
}

std::optional<package_relationship> ooxml_package::relationship(
    std::string_view source, std::string_view type_suffix) const {
    for (package_relationship& found : relationships(source)) {
        if (found.type.size() >= type_suffix.size() &&
            found.type.compare(found.type.size() - type_suffix.size(), type_suffix.size(),
                               type_suffix) == 0) {
            return std::move(found);
        }
    }
    return std::nullopt;
}

std::string ooxml_package::content_type(std::string_view name) const {
    const std::string* types = part("[Content_Types].xml");
    if (!types) return {};
    std::string error;
    const xml_document doc = parse_xml_part(*types, error);
    if (!doc) return {};
    xmlNode* root = xmlDocGetRootElement(doc.get());
    const std::string wanted = "/" + lower(name);
    for (xmlNode* node : xml_children(root, ooxml_ns::content_types, "Override")) {
        if (lower(xml_attribute(node, "PartName")) == wanted) {
            return xml_attribute(node, "ContentType");
        }
    }
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    const std::string extension = lower(name.substr(dot + 1));
    for (xmlNode* node : xml_children(root, ooxml_ns::content_types, "Default")) {
        if (lower(xml_attribute(node, "Extension")) == extension) {
            return xml_attribute(node, "ContentType");
        }
    }
    return {};
}

bool ooxml_package::write(const std::string& path, std::string& error) const {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string temporary = (slash == std::string::npos ? "./" : folder) + ".tarnwell-XXXXXX";
    const int reserved = mkstemp(temporary.data());
    if (reserved < 0) {
        error = "cannot write in " + folder + ": " + std::strerror(errno);
        return false;
    }
    close(reserved);
    const auto fail = [&](const std::string& why) {
        std::remove(temporary.c_str());
        error = "cannot write " + path + ": " + why;
        return false;
    };
    int code = 0;
    zip_archive archive(zip_open(temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!archive) return fail("the zip file cannot be created");
    // Readers that sniff the package look for the content types first.
    std::vector<const std::pair<const std::string, std::string>*> order;
    for (const auto& entry : parts_) {
        if (entry.first == "[Content_Types].xml")
            order.insert(order.begin(), &entry);
        else
            order.push_back(&entry);
    }
    for (const auto* entry : order) {
        zip_source_t* source =
            zip_source_buffer(archive.get(), entry->second.data(), entry->second.size(), 0);
        if (!source) return fail(zip_strerror(archive.get()));
        const zip_int64_t index =
            zip_file_add(archive.get(), entry->first.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return fail(zip_strerror(archive.get()));
        }
        zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                 0);
    }
    if (zip_close(archive.get()) != 0) return fail(zip_strerror(archive.get()));
    archive.release();
    // The reserved file was private; the document gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temporary.c_str(), 0666 & ~mask);
    if (std::rename(temporary.c_str(), path.c_str()) != 0) return fail(std::strerror(errno));
    return true;
}

}  // namespace tarnwell
