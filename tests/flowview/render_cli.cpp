#include "render_cli.h"

#include <sys/wait.h>

#include <cstdlib>

namespace tarnwell {

int render(const std::string& arguments) {
    const std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " +
                                std::string(TARNWELL_CLI) + " render " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tarnwell
