// The editor's start-up and shut-down around the main window's run.
#pragma once

namespace qv {

// Opens the settings store, runs the main window with the command-line arguments, and frees
// (and so saves) the settings after the window is gone. Answers the exit code.
int RunEditor(int argc, char** argv);

// "--help" or "--version" among the arguments: prints the usage or the version on standard
// output and answers 0, before any window or display is needed. Answers -1 otherwise.
int EditorInfoOption(int argc, char** argv);

}  // namespace qv
