#include "classmodel/uTextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace tarnwell {

namespace {

[[noreturn]] void fail(const std::string& file, int error) {
    throw std::system_error(error != 0 ? error : EIO, std::generic_category(),
                            "Cannot write \"" + file + "\"");
}

// The permissions a newly created file gets under the process's file mode mask.
mode_t new_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void WriteTextFile(const std::string& file, std::string_view text) {
    // The text goes to a new file beside the target, which then takes its name: a failed write
    // leaves the old file as it was and no half-written one.
    std::string temporary = file + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) fail(file, errno);
    const char* data = text.data();
    std::size_t left = text.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno != EINTR) error = errno;
            continue;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (error == 0 && ::fchmod(fd, new_file_mode()) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), file.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        fail(file, error);
    }
}

}  // namespace tarnwell
