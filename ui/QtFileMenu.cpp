#include "QtFileMenu.h"

#include <QAction>
#include <QMenu>

#include "QtStrings.h"

namespace qv {

namespace {
const char* const kCommand = "qvCommand";
const char* const kText = "qvText";

int32_t CommandOf(const QAction* a) {
  bool ok = false;
  int32_t id = a->property(kCommand).toInt(&ok);
  return ok ? id : 0;
}
}  // namespace

TQtFileMenu::TQtFileMenu(QMenu& menu, std::function<void(int32_t)> onCommand)
    : FMenu(menu), FOnCommand(std::move(onCommand)) {}

int32_t TQtFileMenu::LastCommand() const {
  const QList<QAction*> items = FMenu.actions();
  return items.isEmpty() ? 0 : CommandOf(items.last());
}

QAction* TQtFileMenu::Item(int32_t command) const {
  for (QAction* a : FMenu.actions())
    if (CommandOf(a) == command) return a;
  return nullptr;
}

bool TQtFileMenu::FindText(int32_t command, std::string& text) const {
  const QAction* a = Item(command);
  if (!a) return false;
  text = FromQ(a->property(kText).toString());
  return true;
}

void TQtFileMenu::AppendItem(int32_t command, const std::string& text) {
  const QString raw = ToQ(text);
  // The leading "&n" is the access key; an ampersand in the path is shown as it is.
  QString shown = raw.left(3) + QString(raw.mid(3)).replace(QLatin1Char('&'), "&&");
  QAction* a = FMenu.addAction(shown);
  a->setProperty(kCommand, command);
  a->setProperty(kText, raw);
  QObject::connect(a, &QAction::triggered, a, [this, command] {
    if (FOnCommand) FOnCommand(command);
  });
}

void TQtFileMenu::DeleteItem(int32_t command) {
  if (QAction* a = Item(command)) {
    FMenu.removeAction(a);
    a->deleteLater();
  }
}

}  // namespace qv
