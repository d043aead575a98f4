// The program's start-up: the editor data module, then the main window, then the files of
// the command line (or the sample when there are none), and the event loop until the main
// window closes.
#pragma once

namespace tarnwell {

class TMainform;
class explorer_actions;
class flowchart_actions;
class TMainModule;

// Docks the code explorer in the window and ties it to the flowchart commands: a chosen
// procedure is charted, and valid marks select the procedure that holds them.
explorer_actions* add_code_explorer(TMainform& window, flowchart_actions& flowchart);

// Attaches the class half (its page, commands and settings) to the window, which owns it.
TMainModule* add_class_model(TMainform& window);

int program_entry(int argc, char** argv);

}  // namespace tarnwell
