// A main window on a fresh settings store, with scripted dialogs, and the gestures the tests
// perform on its panes.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>

#include "FileLocations.h"
#include "Morph.h"
#include "MorphForm.h"
#include "PaintBox.h"
#include "ScriptedDialogs.h"
#include "UserSettings.h"

namespace qv {

inline std::string ExampleFile(const char* name) {
  return std::string(QUORVEL_SOURCE_DIR) + "/examples/" + name;
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeUserSettings();
    std::filesystem::remove_all(RoamingAppDataFolder() + "/Zunt");
    GetUserSettings();
  }
  void TearDown() override {
    FForm.reset();
    FreeUserSettings();
  }

  TForm1& Form(QStringList arguments = {}) {
    if (!FForm) FForm = std::make_unique<TForm1>(std::move(arguments));
    return *FForm;
  }
  // The window shown and through its first activation.
  TForm1& ShownForm(QStringList arguments = {}) {
    TForm1& f = Form(std::move(arguments));
    f.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.FormActivate();
    QApplication::processEvents();
    return f;
  }

  // A w x h morphing of the two example pictures in the given mode, at zoom 1000.
  TMorphing& PicturesMorphing(TMorphEditMode mode, int32_t w = 400, int32_t h = 300) {
    TForm1& f = Form();
    TMorphing& m = f.Morphing();
    m.NewProject("", w, h);
    m.Source1().SetSourceImageName(ExampleFile("anfang.bmp"));
    m.Source2().SetSourceImageName(ExampleFile("ende.bmp"));
    f.SetAutoZoom(false);
    f.SetZoom(1000);
    f.SetEditMode(mode);
    return m;
  }

  // Mouse gestures on a pane, in pane pixels.
  static void Press(QWidget* w, QPoint p, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(w, Qt::LeftButton, mods, p);
  }
  static void Release(QWidget* w, QPoint p, Qt::KeyboardModifiers mods = {}) {
    QTest::mouseRelease(w, Qt::LeftButton, mods, p);
  }
  static void Click(QWidget* w, QPoint p, Qt::KeyboardModifiers mods = {}) {
    Press(w, p, mods);
    Release(w, p, mods);
  }
  // A move with the buttons and modifiers given (QTest's move carries no modifiers).
  static void Move(QWidget* w, QPoint p, Qt::MouseButtons buttons = Qt::NoButton,
                   Qt::KeyboardModifiers mods = {}) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, buttons,
                  mods);
    QApplication::sendEvent(w, &e);
  }
  // A real double click: press, release, the double-click press, release.
  static void DoubleClick(QWidget* w, QPoint p) {
    Click(w, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    Release(w, p);
  }

  TScriptedDialogs FDialogs;
  QTemporaryDir FDir;
  std::unique_ptr<TForm1> FForm;
};

}  // namespace qv
