// The desktop program's command line for the class half: switches, files and "@" lists.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

struct TCommandLine {
    std::vector<std::string> Files;
    // "-d": the documentation folder; empty asks for one.
    std::optional<std::string> DocFolder;
    // "-x": the XMI file.
    std::optional<std::string> XmiFile;
    std::optional<bool> ShowAssoc;
    std::optional<int> VisibilityFilter;
    bool ShowSyntax = false;
    bool Trace = false;
    // "Ignoring unknown switch: -Q", list files that cannot be read, and the like.
    std::vector<std::string> Messages;

    // -d or -x: the program closes itself once it has done them.
    bool ClosesAfterwards() const { return DocFolder.has_value() || XmiFile.has_value(); }
};

// Reads the arguments after the program's name, in order.
TCommandLine ReadCommandLine(std::span<const std::string_view> args);

// The syntax message, lines ending with CR LF.
std::string CommandLineSyntax(std::string_view program_name);

}  // namespace tarnwell
