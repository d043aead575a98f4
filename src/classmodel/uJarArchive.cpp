#include "classmodel/uJarArchive.h"

#include <zip.h>

#include <array>
#include <memory>

#include "classmodel/uError.h"

namespace tarnwell {

namespace {

struct file_closer {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

TJarArchive::TJarArchive(const std::string& name, std::string bytes) : bytes_(std::move(bytes)) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
    if (source != nullptr) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (archive_ == nullptr) zip_source_free(source);
    }
    if (archive_ == nullptr) {
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw model_error("Cannot open " + name + ": " + text);
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0);
        if (raw == nullptr) continue;
        const std::string name = raw;
        if (!index_.try_emplace(name, static_cast<zip_uint64_t>(i)).second) continue;
        if (name.size() > 6 && name.ends_with(".class") && !name.starts_with("META-INF/")) {
            class_entries_.push_back(name);
        }
    }
}

TJarArchive::~TJarArchive() {
    zip_discard(archive_);
}

std::string TJarArchive::Read(const std::string& entry) const {
    const auto found = index_.find(entry);
    if (found == index_.end()) throw model_error("No entry " + entry);
    const std::unique_ptr<zip_file_t, file_closer> file(
        zip_fopen_index(archive_, found->second, 0));
    if (!file) throw model_error("Cannot read " + entry + ": " + zip_strerror(archive_));
    std::string bytes;
    std::array<char, 65536> chunk;
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), chunk.data(), chunk.size());
        if (n < 0) {
            throw model_error("Cannot read " + entry + ": " + zip_file_strerror(file.get()));
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<std::uint64_t>(n) > max_entry_size) {
            throw model_error("Not read, larger than 64 MiB: " + entry);
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(n));
    }
    return bytes;
}

}  // namespace tarnwell
