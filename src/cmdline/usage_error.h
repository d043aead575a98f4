// A wrong call or an unreadable file named on a command line: tarnwell-cli shows it as one line
// on stderr and exits with status 2; the desktop program lists it among its start-up messages.
#pragma once

#include <stdexcept>

namespace tarnwell::cli {

struct usage_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace tarnwell::cli
