#include "EditorMain.h"

#include <QApplication>
#include <iostream>

#include "Dialogs.h"
#include "MorphForm.h"
#include "QtDialogs.h"
#include "UserSettings.h"

namespace qv {

int RunEditor(int argc, char** argv) {
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
