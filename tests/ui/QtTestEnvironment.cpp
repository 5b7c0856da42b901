// Every UI test runs inside one QApplication on the offscreen platform, with a settings folder
// of its own so that no test touches the user's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {

QtMessageHandler gPreviousHandler = nullptr;

// The offscreen platform reports what it cannot do on every dialog; that is not news.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
  if (msg.startsWith(QLatin1String("This plugin does not support"))) return;
  if (gPreviousHandler) gPreviousHandler(type, context, msg);
}

class TQtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    FConfigDir = std::make_unique<QTemporaryDir>();
    setenv("XDG_CONFIG_HOME", FConfigDir->path().toUtf8().constData(), 1);
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    gPreviousHandler = qInstallMessageHandler(QuietMessages);
    FApp = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override {
    FApp.reset();
    FConfigDir.reset();
  }

 private:
  std::unique_ptr<QTemporaryDir> FConfigDir;
  std::unique_ptr<QApplication> FApp;
};

[[maybe_unused]] ::testing::Environment* const gQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace
