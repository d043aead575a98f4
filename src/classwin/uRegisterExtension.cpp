#include "classwin/uRegisterExtension.h"

#include <filesystem>
#include <fstream>

namespace tarnwell {

namespace {

namespace fs = std::filesystem;

// A quoted argument of an Exec line escapes these with a backslash, and the entry's string
// value escapes every backslash once more.
std::string QuotedArgument(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\n' || c == '\r') continue;
        if (c == '\\') {
            quoted += "\\\\\\\\";
            continue;
        }
        if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string ModelDiagramEntryFile(const char* xdg_data_home, const char* home) {
    fs::path base;
    if (xdg_data_home != nullptr && *xdg_data_home == '/') {
        base = xdg_data_home;
    } else if (home != nullptr && *home != '\0') {
        base = fs::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return (base / "applications" / "tarnwell-model-diagram.desktop").string();
}

std::string ModelDiagramEntry(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=View as model diagram\n"
           "Exec=" +
           QuotedArgument(program) +
           " %F\n"
           "Icon=tarnwell\n"
           "MimeType=text/x-java;text/x-java-source;application/x-java;"
           "application/x-java-archive;application/java-archive;application/x-java-class;\n"
           "NoDisplay=true\n"
           "Terminal=false\n";
}

bool IsModelDiagramEntryRegistered(const std::string& entry_file) {
    std::error_code error;
    return !entry_file.empty() && fs::is_regular_file(entry_file, error);
}

bool RegisterModelDiagramEntry(const std::string& entry_file, const std::string& program) {
    if (entry_file.empty()) return false;
    std::error_code error;
    fs::create_directories(fs::path(entry_file).parent_path(), error);
    if (error) return false;
    const std::string partial = entry_file + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << ModelDiagramEntry(program);
        if (!out.flush()) return false;
    }
    fs::rename(partial, entry_file, error);
    if (error) fs::remove(partial, error);
    return IsModelDiagramEntryRegistered(entry_file);
}

bool UnregisterModelDiagramEntry(const std::string& entry_file) {
    std::error_code error;
    if (entry_file.empty()) return false;
    fs::remove(entry_file, error);
    return !error;
}

}  // namespace tarnwell
