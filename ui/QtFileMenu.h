// The recent-file entries of the file menu as QActions: each entry carries its command
// identifier, so the identifiers of the list never meet anything of Qt's own.
#pragma once

#include <functional>

#include "FileHst.h"

class QAction;
class QMenu;

namespace qv {

class TQtFileMenu : public IFileMenu {
 public:
  // onCommand runs when the user picks an entry, with its command identifier.
  TQtFileMenu(QMenu& menu, std::function<void(int32_t)> onCommand);

  int32_t LastCommand() const override;
  bool FindText(int32_t command, std::string& text) const override;
  void AppendItem(int32_t command, const std::string& text) override;
  void DeleteItem(int32_t command) override;

  // The entry with that command identifier, nullptr when there is none.
  QAction* Item(int32_t command) const;

 private:
  QMenu& FMenu;
  std::function<void(int32_t)> FOnCommand;
};

}  // namespace qv
