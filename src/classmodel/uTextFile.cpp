#include "classmodel/uTextFile.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace tarnwell {

void WriteTextFile(const std::string& file, std::string_view text) {
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (out) out.close();
    if (!out) {
        throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(),
                                "Cannot write \"" + file + "\"");
    }
}

}  // namespace tarnwell
