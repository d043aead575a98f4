// "View as model diagram" in the file manager: a desktop entry in the user's applications
// folder that offers the program for Java sources, class files and archives.
#pragma once

#include <string>

namespace tarnwell {

// "$XDG_DATA_HOME/applications/tarnwell-model-diagram.desktop", else under
// "$HOME/.local/share"; empty without either.
std::string ModelDiagramEntryFile(const char* xdg_data_home, const char* home);

// The entry's text: the program, in double quotes, opens the chosen files.
std::string ModelDiagramEntry(const std::string& program);

bool IsModelDiagramEntryRegistered(const std::string& entry_file);
// Both answer whether they succeeded; the folder is made when missing.
bool RegisterModelDiagramEntry(const std::string& entry_file, const std::string& program);
bool UnregisterModelDiagramEntry(const std::string& entry_file);

}  // namespace tarnwell
