// tarnwell-cli and the programs it hands commands to: each loads only the libraries its own
// commands use, and the hand-over finds its program wherever tarnwell-cli was started from.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "temp_dir.h"

namespace tarnwell::cli {
namespace {

namespace fs = std::filesystem;

const fs::path cli = TARNWELL_CLI;

// The shared libraries a program names as needed, as readelf lists them.
std::vector<std::string> needed_libraries(const fs::path& program) {
    const run_result r = run_command("readelf -d '" + program.string() + "'");
    EXPECT_EQ(r.status, 0) << program;
    std::vector<std::string> names;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t open = line.find("Shared library: [");
        if (open == std::string::npos) continue;
        const std::size_t first = open + 17;
        names.push_back(line.substr(first, line.find(']', first) - first));
    }
    return names;
}

TEST(CliPrograms, LoadOnlyTheLibrariesTheirCommandsUse) {
    struct program_case {
        const char* program;
        std::vector<std::string> left_out;
    };
    const program_case cases[] = {
        {"tarnwell-cli", {"libQt6", "libxml2", "libzip", "libxslt", "libqscintilla"}},
        {"tarnwell-cli-documents", {"libQt6", "libqscintilla"}},
        {"tarnwell-cli-pictures", {"libQt6Widgets", "libQt6DBus", "libqscintilla"}},
    };
    for (const program_case& c : cases) {
        SCOPED_TRACE(c.program);
        const std::vector<std::string> needed = needed_libraries(cli.parent_path() / c.program);
        EXPECT_FALSE(needed.empty());
        for (const std::string& library : needed) {
            for (const std::string& prefix : c.left_out) {
                EXPECT_FALSE(library.starts_with(prefix)) << library;
            }
        }
    }
}

// A command handed over runs in the program beside the executable itself, not beside the
// name it was started by; without that program it fails with status 2 and says so.
TEST(CliPrograms, HandOverFindsTheProgramBesideTheExecutable) {
    const temp_dir folder;
    const fs::path link = folder.path() / "linked" / "tarnwell-cli";
    const fs::path alone = folder.path() / "alone" / "tarnwell-cli";
    fs::create_directories(link.parent_path());
    fs::create_directories(alone.parent_path());
    fs::create_symlink(cli, link);
    fs::copy_file(cli, alone);
    const std::string missing = (folder.path() / "missing.java").string();

    const run_result direct = run_command("'" + cli.string() + "' model " + missing + " 2>&1");
    const run_result linked = run_command("'" + link.string() + "' model " + missing + " 2>&1");
    EXPECT_EQ(direct.status, 1);
    EXPECT_EQ(linked.status, direct.status);
    EXPECT_EQ(linked.out, direct.out);

    const run_result lost = run_command("'" + alone.string() + "' model " + missing + " 2>&1");
    EXPECT_EQ(lost.status, 2);
    EXPECT_EQ(lost.out.rfind("tarnwell-cli model: cannot start " +
                                 (alone.parent_path() / "tarnwell-cli-documents").string(),
                             0),
              0U)
        << lost.out;
}

}  // namespace
}  // namespace tarnwell::cli
