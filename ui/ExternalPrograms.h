// Handing files to other programs: the desktop's program for a file type, and the external
// text editor "Tibo". Nothing waits for the program started, and no failure is reported.
#pragma once

#include <string>
#include <vector>

namespace qv {

// Opens the file with the program the desktop associates with its type.
void ShellOpen(const std::string& fileName);

// Opens fileName in the text editor: the program "Tibo" (or "tibo") from the program's own
// folder or from PATH when it is installed, else the desktop's default editor of plain text
// (xdg-mime query default text/plain). True when a program was started; an empty file name
// starts nothing.
bool OpenInTextEditor(const std::string& fileName);

// The editor program Tibo, empty when it is not installed.
std::string FindTiboProgram();

// The program and arguments of a desktop entry's Exec value started with one file: the field
// codes %f, %F, %u and %U become the file (appended when there is none), %% a "%", the other
// field codes are left out. Quoted arguments follow the desktop entry rules. Empty for an
// Exec value without a program.
std::vector<std::string> DesktopEntryCommand(const std::string& exec, const std::string& file);

}  // namespace qv
