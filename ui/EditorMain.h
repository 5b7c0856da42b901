// The editor's start-up and shut-down around the main window's run.
#pragma once

namespace qv {

// Opens the settings store, runs the main window with the command-line arguments, and frees
// (and so saves) the settings after the window is gone. Answers the exit code.
int RunEditor(int argc, char** argv);

}  // namespace qv
