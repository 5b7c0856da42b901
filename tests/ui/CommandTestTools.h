// Shared pieces of the tests of the dialogs, the player and the commands: a fresh settings
// store per test, scripted message boxes, a scratch folder, and running an action on the next
// modal window so that no test waits for a user.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "FileLocations.h"
#include "ScriptedDialogs.h"
#include "UserSettings.h"

namespace qv {

class CommandTest : public ::testing::Test {
 protected:
  // In the constructor, so that the members of a derived fixture see the fresh store.
  CommandTest() {
    FreeUserSettings();
    std::filesystem::remove_all(RoamingAppDataFolder() + "/Zunt");
    GetUserSettings();
  }
  ~CommandTest() override { FreeUserSettings(); }

  std::string Dir() const { return FDir.path().toStdString() + "/"; }
  static TUserSettings& Settings() { return *GetUserSettings(); }

  TScriptedDialogs FDialogs;
  QTemporaryDir FDir;
};

// Runs action on the modal window that opens next (polling, so that the window can be opened
// by a nested call); the window must appear within two seconds.
inline void OnNextModal(std::function<void(QWidget*)> action, int triesLeft = 200) {
  QTimer::singleShot(10, [action, triesLeft] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) {
      if (triesLeft > 0) return OnNextModal(action, triesLeft - 1);
      ADD_FAILURE() << "no modal window opened";
      return;
    }
    action(w);
  });
}

}  // namespace qv
