#include "classwin/uCommandLine.h"

#include <algorithm>
#include <charconv>

#include "cmdline/file_arguments.h"
#include "cmdline/usage_error.h"

namespace tarnwell {

TCommandLine ReadCommandLine(std::span<const std::string_view> args) {
    TCommandLine line;
    for (const std::string_view arg : args) {
        const std::string_view head = arg.substr(0, 2);
        const std::string rest(arg.size() > 2 ? arg.substr(2) : std::string_view());
        if (arg == "-?" || arg == "-help") {
            line.ShowSyntax = true;
        } else if (arg == "-traceon") {
            line.Trace = true;
        } else if (head == "-d") {
            line.DocFolder = rest;
        } else if (head == "-x") {
            line.XmiFile = rest;
        } else if (head == "-a") {
            line.ShowAssoc = rest.empty() || rest.front() != '-';
        } else if (head == "-v") {
            int digit = 0;
            if (rest.size() != 1 ||
                std::from_chars(rest.data(), rest.data() + 1, digit).ec != std::errc())
                digit = 0;
            // The filter has four entries; a larger digit means the last.
            line.VisibilityFilter = std::min(digit, 3);
        } else if (!arg.empty() && arg.front() == '-') {
            line.Messages.push_back("Ignoring unknown switch: " + std::string(arg));
        } else if (!arg.empty()) {
            try {
                const std::vector<std::string> files =
                    cli::expand_file_arguments(std::span(&arg, 1));
                line.Files.insert(line.Files.end(), files.begin(), files.end());
            } catch (const cli::usage_error& error) {
                line.Messages.emplace_back(error.what());
            }
        }
    }
    return line;
}

std::string CommandLineSyntax(std::string_view program_name) {
    std::string text =
        "Syntax: \t" + std::string(program_name) + " [options] [@list] [files...]\r\n\r\n";
    text += "Valid options are:\r\n\r\n";
    text += "    -d[path]\tGenerate documentation to the path specified\r\n";
    text += "    -a[+/-]\tShow associations on generated diagrams on/off\r\n";
    text += "    -v[0-3]\tVisibility filter for generated diagrams\r\n";
    text += "    -x[file]\tExport model to xmi file\r\n";
    return text;
}

}  // namespace tarnwell
