// tarnwell-cli render: the flowchart of a source text as a picture (BMP, PNG or SVG) or as
// printed pages (PDF).
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace tarnwell::cli {

int run_render(std::span<const std::string_view> args, std::ostream& out);

}  // namespace tarnwell::cli
