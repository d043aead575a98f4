// The program's start-up: the editor data module, then the main window, then the files of
// the command line (or the sample when there are none), and the event loop until the main
// window closes.
#pragma once

namespace tarnwell {

int program_entry(int argc, char** argv);

}  // namespace tarnwell
