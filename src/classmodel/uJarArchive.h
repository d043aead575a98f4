// A jar (a zip archive) held in memory, for reading the class files it holds.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct zip;

namespace tarnwell {

class TJarArchive {
  public:
    // A class file larger than this is not read: no real one comes near it, and a jar must not
    // make the import unpack without limit.
    static constexpr std::uint64_t max_entry_size = std::uint64_t{64} << 20;

    // Takes the bytes of the archive; `name` is for the errors. Raises when the bytes are no
    // zip archive.
    TJarArchive(const std::string& name, std::string bytes);
    TJarArchive(const TJarArchive&) = delete;
    TJarArchive& operator=(const TJarArchive&) = delete;
    ~TJarArchive();

    // The names of the class files, in archive order, leaving out what lies under "META-INF/"
    // (the other releases of a multi-release jar, signatures).
    const std::vector<std::string>& ClassEntries() const { return class_entries_; }
    bool Contains(const std::string& entry) const { return index_.contains(entry); }
    // The unpacked bytes of an entry; raises when it cannot be read or is too large.
    std::string Read(const std::string& entry) const;

  private:
    std::string bytes_;
    struct zip* archive_ = nullptr;
    std::vector<std::string> class_entries_;
    std::unordered_map<std::string, std::uint64_t> index_;
};

}  // namespace tarnwell
