#include "workspace/file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tarnwell {

namespace fs = std::filesystem;

namespace {

std::string error_text(const std::string& path, int error_number) {
    return path + ": " + std::strerror(error_number);
}

// Writes all bytes to an open descriptor; 0 or the errno of the failure.
int write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Writes the bytes to a fresh file in the target's folder; its name, or empty with `error`
// set. The new file takes the permission bits of `mode_source` when that file exists.
std::string write_temporary(const std::string& path, std::string_view bytes,
                            const std::string& mode_source, int& error) {
    const fs::path target(path);
    std::string name =
        (target.parent_path() / ("." + target.filename().string() + ".tarnwell-XXXXXX")).string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return {};
    }
    struct stat info {};
    if (::stat(mode_source.c_str(), &info) == 0) {
        ::fchmod(fd, info.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    error = write_all(fd, bytes);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(name.c_str());
        return {};
    }
    return name;
}

// The file a path names once symbolic links are followed, so that a save through a link
// rewrites the file it points to and leaves the link in place.
std::string resolved(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    const fs::path target = fs::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

std::string replace_with(const std::string& path, std::string_view bytes, bool keep_backup) {
    const std::string target = resolved(path);
    std::error_code ec;
    const bool exists = fs::exists(target, ec);
    int error = 0;
    const std::string temporary = write_temporary(target, bytes, target, error);
    // A folder that takes no new file fails here, before anything has been touched.
    if (temporary.empty()) return error_text(path, error);
    if (exists && keep_backup) {
        const std::string backup = backup_path_of(target);
        if (backup != target) {
            ::unlink(backup.c_str());
            ::rename(target.c_str(), backup.c_str());
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return error_text(path, error);
    }
    return {};
}

}  // namespace

file_read read_file(const std::string& path) {
    file_read result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.error = error_text(path, errno);
        return result;
    }
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (static_cast<std::uintmax_t>(info.st_size) > max_file_size) {
        error = EFBIG;
    }
    char buffer[65536];
    while (error == 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno != EINTR) error = errno;
            continue;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
        if (result.bytes.size() > max_file_size) error = EFBIG;
    }
    ::close(fd);
    if (error != 0) {
        result.bytes.clear();
        result.error = error_text(path, error);
        return result;
    }
    result.ok = true;
    return result;
}

std::string backup_path_of(std::string_view path) {
    fs::path backup(path);
    backup.replace_extension(".vbak");
    return backup.string();
}

std::string write_file(const std::string& path, std::string_view bytes) {
    return replace_with(path, bytes, false);
}

std::string save_with_backup(const std::string& path, std::string_view bytes) {
    return replace_with(path, bytes, true);
}

}  // namespace tarnwell
