// The editor: the settings store is opened before any window and saved after all of them.
#include "EditorMain.h"

int main(int argc, char** argv) {
  return qv::RunEditor(argc, argv);
}
