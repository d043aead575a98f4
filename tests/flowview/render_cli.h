// Runs the built tarnwell-cli render as a user would, with no display and no platform chosen
// (the program must choose off-screen painting itself).
#pragma once

#include <string>

namespace tarnwell {

// The exit status of `tarnwell-cli render <arguments>`; standard error is dropped.
int render(const std::string& arguments);

}  // namespace tarnwell
