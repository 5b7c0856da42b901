#include "EditorMain.h"

#include <QApplication>
#include <cstring>
#include <iostream>

#include "CodecDialog.h"
#include "CompressorDialog.h"
#include "Dialogs.h"
#include "MorphForm.h"
#include "ProgramVersion.h"
#include "QtDialogs.h"
#include "UserSettings.h"

namespace qv {

namespace {

const char* const kEditorUsage =
    "Aufruf:\n"
    "  quorvel [DATEI]\n"
    "  quorvel --help | --version\n"
    "\n"
    "DATEI ist ein Quorvel-Projekt (.qvp) oder eine Morphingsequenz (.msq), die beim Start\n"
    "geöffnet wird. Ohne DATEI öffnet der Editor das zuletzt geöffnete Projekt wieder.\n"
    "Optionen von Qt (etwa -platform offscreen) werden an Qt weitergegeben.\n"
    "\n"
    "  --help, -h   zeigt diese Hilfe\n"
    "  --version    zeigt die Programmversion\n";

}  // namespace

int EditorInfoOption(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::cout << kEditorUsage;
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << "quorvel " << GetProgramVersion() << "\n";
      return 0;
    }
  }
  return -1;
}

int RunEditor(int argc, char** argv) {
  if (const int rc = EditorInfoOption(argc, argv); rc >= 0) return rc;
  try {
    GetUserSettings();
  } catch (const std::exception& e) {
    // Without a settings folder the editor works, it just remembers nothing.
    std::cerr << MessageLinesToNewlines(e.what()) << std::endl;
  }
  int rc = 0;
  {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    TQtDialogs dialogs;
    IDialogs* previous = SetDialogs(&dialogs);
    TQtCompressorDialog codecs;  // the writer's codec choice as a window
    TCompressorDialogScope codecScope(codecs);
    {
      TForm1 form(QApplication::arguments().mid(1));
      dialogs.SetMainWindow(&form);
      form.show();
      rc = QApplication::exec();
      dialogs.SetMainWindow(nullptr);
    }
    SetDialogs(previous);
  }
  FreeUserSettings();
  return rc;
}

}  // namespace qv
