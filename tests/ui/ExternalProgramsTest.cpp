// Starting other programs: the text editor Tibo, the desktop's default text editor by its
// desktop entry, and the desktop's program for a file type.
#include <QDesktopServices>
#include <QFile>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <filesystem>

#include "CommandTestTools.h"
#include "ExternalPrograms.h"
#include "FrameExport.h"
#include "Morph.h"

namespace qv {

// Receives what the program hands to the desktop instead of the desktop.
class TUrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Urls;
 public slots:
  void Open(const QUrl& url) { Urls << url; }
};

namespace {

// Sets an environment variable for the lifetime of the object.
class TEnvScope {
 public:
  TEnvScope(const char* name, const std::string& value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old, FHadOld = true;
    setenv(name, value.c_str(), 1);
  }
  ~TEnvScope() {
    if (FHadOld)
      setenv(FName, FOld.c_str(), 1);
    else
      unsetenv(FName);
  }

 private:
  const char* FName;
  std::string FOld;
  bool FHadOld = false;
};

class ExternalProgramsTest : public CommandTest {
 protected:
  // An executable shell script in the folder bin of the scratch folder.
  void Script(const std::string& name, const std::string& body) {
    std::filesystem::create_directories(Dir() + "bin");
    const std::string path = Dir() + "bin/" + name;
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("#!/bin/sh\n" + body + "\n").c_str());
    f.close();
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  }
  // A program that writes its arguments, one a line, into the file record.
  void Recorder(const std::string& name) {
    Script(name, "for a in \"$@\"; do echo \"$a\"; done > '" + Dir() + "record.tmp' && mv '" +
                     Dir() + "record.tmp' '" + Dir() + "record'");
  }
  std::string Recorded() {
    const std::string file = Dir() + "record";
    if (!QTest::qWaitFor([&] { return std::filesystem::exists(file); }, 5000)) return "(none)";
    QFile f(QString::fromStdString(file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll().toStdString();
  }
  // Only the scratch programs and the shell's own folders are on PATH.
  TEnvScope PathScope() { return TEnvScope("PATH", Dir() + "bin:/usr/bin:/bin"); }
};

TEST_F(ExternalProgramsTest, TiboOnThePathGetsTheFileName) {
  Recorder("tibo");
  TEnvScope path = PathScope();
  EXPECT_EQ(FindTiboProgram(), Dir() + "bin/tibo");
  EXPECT_TRUE(OpenInTextEditor(Dir() + "my project.qvp"));
  EXPECT_EQ(Recorded(), Dir() + "my project.qvp\n");
}

TEST_F(ExternalProgramsTest, WithoutTiboTheDefaultTextEditorOfTheDesktopIsStarted) {
  Recorder("editor");
  Script("xdg-mime", "[ \"$*\" = \"query default text/plain\" ] && echo qvtest-editor.desktop");
  std::filesystem::create_directories(Dir() + "data/applications");
  {
    QFile f(QString::fromStdString(Dir() + "data/applications/qvtest-editor.desktop"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("[Desktop Entry]\nType=Application\nName=Editor\nExec=" + Dir() +
             "bin/editor --new %F\n[Desktop Action other]\nExec=nothing\n")
                .c_str());
  }
  TEnvScope path = PathScope();
  TEnvScope data("XDG_DATA_HOME", Dir() + "data");
  EXPECT_EQ(FindTiboProgram(), "");
  EXPECT_TRUE(OpenInTextEditor(Dir() + "p.qvp"));
  EXPECT_EQ(Recorded(), "--new\n" + Dir() + "p.qvp\n");
}

TEST_F(ExternalProgramsTest, NoEditorAtAllOrNoFileStartsNothing) {
  Script("xdg-mime", "exit 4");
  TEnvScope path = PathScope();
  EXPECT_FALSE(OpenInTextEditor(Dir() + "p.qvp"));
  Recorder("tibo");
  EXPECT_FALSE(OpenInTextEditor(""));
  QTest::qWait(100);
  EXPECT_FALSE(std::filesystem::exists(Dir() + "record"));
}

TEST_F(ExternalProgramsTest, DesktopEntryCommandsTakeTheFileForTheirFieldCodes) {
  struct Case {
    const char* exec;
    std::vector<std::string> command;
  } cases[] = {
      {"gedit %U", {"gedit", "/f"}},
      {"kate -b %u", {"kate", "-b", "/f"}},
      {"xed", {"xed", "/f"}},
      {"\"/opt/my editor/ed\" --title \"a \\\"b\\\"\" %f",
       {"/opt/my editor/ed", "--title", "a \"b\"", "/f"}},
      {"ed %i %c %k --x=%%y %F", {"ed", "--x=%y", "/f"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(DesktopEntryCommand(c.exec, "/f"), c.command) << c.exec;
}

TEST_F(ExternalProgramsTest, PicturesGoToTheDesktopsProgramForThem) {
  TUrlRecorder recorder;
  QDesktopServices::setUrlHandler("file", &recorder, "Open");
  TMorphing m;
  m.NewProject("", 40, 30);
  m.Source1().SetSourceImageName(std::string(QUORVEL_SOURCE_DIR) + "/examples/anfang.bmp");
  EditPictureExternally(&m.Source1());
  TFileDialog dlg;
  InitPictureSaveDialog(dlg);
  FDialogs.QueueFile(Dir() + "section.bmp");
  SaveImageSectionAndEdit(dlg, &m.Source1());
  FDialogs.QueueFile("");
  SaveImageSectionAndEdit(dlg, &m.Source1());  // cancelled: nothing is opened
  QDesktopServices::unsetUrlHandler("file");
  ASSERT_EQ(recorder.Urls.size(), 2);
  EXPECT_EQ(recorder.Urls[0].toLocalFile().toStdString(), m.Source1().SourceImageName());
  EXPECT_EQ(recorder.Urls[1].toLocalFile().toStdString(), Dir() + "section.bmp");
}

}  // namespace
}  // namespace qv

#include "ExternalProgramsTest.moc"
