// The video commands of the main window: "Video erzeugen" writing a file ffprobe accepts, the
// auto-play rules, errors in an information box, the button for the last video and the hidden
// conversion command.
#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QSlider>
#include <QToolButton>
#include <QUrl>

#include "CompressorDialog.h"
#include "EditorFixture.h"
#include "FormOpt.h"
#include "FormPlay.h"
#include "VideoTestTools.h"

namespace qv {

// Receives what the program hands to the desktop instead of the desktop.
class TDesktopRecorder : public QObject {
  Q_OBJECT
 public:
  TDesktopRecorder() { QDesktopServices::setUrlHandler("file", this, "Open"); }
  ~TDesktopRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
  QStringList Files;
 public slots:
  void Open(const QUrl& url) { Files << url.toLocalFile(); }
};

namespace {

using Kind = TScriptedDialogs::TKind;

class VideoCommandsTest : public EditorTest {
 protected:
  std::string Dir() const { return FDir.path().toStdString() + "/"; }
  // A small morphing of the two example pictures with a transition of four frames.
  TMorphing& SmallMorphing() {
    TMorphing& m = PicturesMorphing(mm_Net, 80, 60);
    m.SetFramesMorph(4);
    m.SetStillImagesAtStart(0);
    m.SetStillImagesAtEnd(0);
    m.SetFramesPerSecond(25);
    return m;
  }
  // The two auto-play switches of the settings dialog, as the user clicks them.
  void SetAutoPlay(bool on, bool intern) {
    TFormSettings& s = Form().FormSettings();
    if (s.CheckBoxAutoPlay->isChecked() != on) s.CheckBoxAutoPlay->click();
    s.CheckBoxAutoPlayIntern->setEnabled(true);
    if (s.CheckBoxAutoPlayIntern->isChecked() != intern) s.CheckBoxAutoPlayIntern->click();
    s.CheckBoxAutoPlayIntern->setEnabled(on);
  }
  TFixedCompressorDialog FCodecs;  // the preset: uncompressed frames
  TCompressorDialogScope FCodecScope{FCodecs};
};

TEST_F(VideoCommandsTest, VideoCommandWritesTheFileAndPlaysItInTheOwnPlayer) {
  TForm1& f = ShownForm();
  SmallMorphing();
  f.Morphing().SetFileName(Dir() + "Gesicht.qvp");
  const std::string file = Dir() + "clip.avi";
  FDialogs.QueueFile(file);
  f.ActionVideo->trigger();
  const TFileDialog& dlg = FDialogs.FileDialogs().back();
  EXPECT_EQ(dlg.Title, "AVI-Datei speichern");
  EXPECT_EQ(dlg.DefaultExt, ".avi");
  EXPECT_EQ(dlg.FileName, "Gesicht.AVI") << "the project's name without folder, with .AVI";
  EXPECT_TRUE(dlg.OverwritePrompt);
  const test::TProbe probe = test::Probe(file);
  ASSERT_TRUE(probe.Ok);
  EXPECT_EQ(probe.Width, 80);
  EXPECT_EQ(probe.Height, 56) << "cut to a multiple of 8";
  EXPECT_EQ(probe.Rate, "25/1");
  EXPECT_EQ(probe.Packets, 6) << "start picture, four transition frames, end picture";
  EXPECT_EQ(GetUserSettings()->readString("File", "AVI", ""), Dir());
  EXPECT_EQ(f.TrackBar1->maximum(), 100) << "the track bar is the preview's again";
  EXPECT_EQ(f.TrackBar1->value(), 50);
  EXPECT_FALSE(f.FFileCreating);
  // Auto-play in the own player.
  EXPECT_EQ(f.LastAVIUsed(), file);
  EXPECT_EQ(GetUserSettings()->readString("File", "LastAVI", ""), file);
  EXPECT_EQ(f.FormPlayer().FileName(), file);
  EXPECT_TRUE(f.FormPlayer().isVisible());
  EXPECT_EQ(f.FormPlayer().VideoSize(), QSize(80, 56));
  f.FormPlayer().close();

  // The next dialog starts in the folder used last.
  FDialogs.QueueFile("");
  f.ActionVideo->trigger();
  EXPECT_EQ(FDialogs.FileDialogs().back().InitialDir, Dir());
}

TEST_F(VideoCommandsTest, AutoPlayChoosesTheDesktopsProgramOrNothing) {
  struct Case {
    bool autoPlay, intern;
    bool desktop, player;
  } cases[] = {
      {true, false, true, false},
      {false, true, false, false},
      {false, false, false, false},
  };
  TForm1& f = ShownForm();
  SmallMorphing();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.autoPlay) + std::to_string(c.intern));
    SetAutoPlay(c.autoPlay, c.intern);
    EXPECT_EQ(f.FormSettings().GetAutoPlayIntern(), c.autoPlay && c.intern);
    TDesktopRecorder desktop;
    const std::string file = Dir() + "clip" + std::to_string(c.autoPlay) +
                             std::to_string(c.intern) + ".avi";
    FDialogs.QueueFile(file);
    f.ActionVideo->trigger();
    EXPECT_TRUE(test::Probe(file).Ok);
    EXPECT_EQ(desktop.Files, c.desktop ? QStringList{QString::fromStdString(file)} : QStringList{});
    EXPECT_TRUE(f.LastAVIUsed().empty()) << "only the own player changes the last video";
    EXPECT_FALSE(f.FormPlayer().isVisible());
  }
  EXPECT_EQ(GetUserSettings()->readString("Opt", "Autoplay", ""), "0");
}

TEST_F(VideoCommandsTest, CancelledOrFailedVideosPlayNothingAndErrorsAreShown) {
  TForm1& f = ShownForm();
  TMorphing& m = SmallMorphing();
  FDialogs.QueueFile("");
  f.ActionVideo->trigger();
  EXPECT_TRUE(FDialogs.Texts(Kind::Information).empty());

  // A cancelled codec choice: no message, no playing.
  m.SetShowCompressDialog(true);
  TFixedCompressorDialog cancelling = TFixedCompressorDialog::Cancelling();
  {
    TCompressorDialogScope scope(cancelling);
    FDialogs.QueueFile(Dir() + "cancelled.avi");
    f.ActionVideo->trigger();
  }
  EXPECT_EQ(cancelling.Calls(), 1);
  EXPECT_TRUE(FDialogs.Texts(Kind::Information).empty());
  EXPECT_FALSE(f.FormPlayer().isVisible());

  // A transition of no frames is refused with a message in the information box.
  m.SetFramesMorph(0);
  FDialogs.QueueFile(Dir() + "empty.avi");
  f.ActionVideo->trigger();
  ASSERT_EQ(FDialogs.Texts(Kind::Information).size(), 1u);
  EXPECT_FALSE(FDialogs.Texts(Kind::Information)[0].empty());
  EXPECT_TRUE(FDialogs.Texts(Kind::Error).empty()) << "caught by the command";
  EXPECT_FALSE(f.FormPlayer().isVisible());
  EXPECT_TRUE(f.LastAVIUsed().empty());
}

TEST_F(VideoCommandsTest, LastVideoButtonUsesThePlayerOrTheDesktop) {
  const std::string first = Dir() + "first.avi";
  ASSERT_TRUE(test::EncodeTestFrames(first, 64, 48, 25, 3, "-c:v ffv1 -pix_fmt bgr0"));
  GetUserSettings()->writeString("File", "LastAVI", first);
  TForm1& f = ShownForm();
  EXPECT_EQ(f.LastAVIUsed(), first) << "read at start";
  // Auto-play off: the desktop's program, although the own player is switched on.
  SetAutoPlay(false, true);
  {
    TDesktopRecorder desktop;
    f.SpeedButtonLastAVI->click();
    EXPECT_EQ(desktop.Files, QStringList{QString::fromStdString(first)});
  }
  EXPECT_FALSE(f.FormPlayer().isVisible());
  // The own player.
  SetAutoPlay(true, true);
  f.SpeedButtonLastAVI->click();
  EXPECT_EQ(f.FormPlayer().FileName(), first);
  f.FormPlayer().close();
  // Without a last video the user picks one, which becomes the last video.
  FForm.reset();
  GetUserSettings()->writeString("File", "LastAVI", "");
  TForm1& g = ShownForm();
  FDialogs.QueueFile(first);
  g.SpeedButtonLastAVI->click();
  EXPECT_EQ(FDialogs.FileDialogs().back().Title, "AVI-Datei öffnen");
  EXPECT_EQ(g.LastAVIUsed(), first);
  EXPECT_EQ(GetUserSettings()->readString("File", "LastAVI", ""), first);
  EXPECT_EQ(g.FormPlayer().FileName(), first);
  g.FormPlayer().close();
  // A file the player cannot play: the error is shown, the name is stored all the same.
  FForm.reset();
  const std::string broken = Dir() + "kaputt.avi";
  {
    QFile file(QString::fromStdString(broken));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFF");
  }
  GetUserSettings()->writeString("File", "LastAVI", broken);
  TForm1& h = ShownForm();
  h.SpeedButtonLastAVI->click();
  EXPECT_EQ(FDialogs.Texts(Kind::Error).size(), 1u);
  EXPECT_EQ(GetUserSettings()->readString("File", "LastAVI", ""), broken);
}

TEST_F(VideoCommandsTest, ConvertReencodesAVideoAtTheWritersSizeAndRate) {
  const std::string source = Dir() + "clip.avi";
  ASSERT_TRUE(test::EncodeTestFrames(source, 321, 241, 30, 5, "-c:v ffv1 -pix_fmt bgr0"));
  TForm1& f = ShownForm();
  f.Morphing().SetFileName(Dir() + "Gesicht.qvp");
  const std::string target = Dir() + "out/clip_1.AVI";
  std::filesystem::create_directories(Dir() + "out");
  {
    QFile old(QString::fromStdString(target));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an old file");
  }
  FDialogs.QueueFile(source);
  FDialogs.QueueFile(target);
  f.SpeedButtonConvert->setVisible(true);  // hidden on the tool bar, working when shown
  f.SpeedButtonConvert->click();
  const std::vector<TFileDialog>& dialogs = FDialogs.FileDialogs();
  ASSERT_GE(dialogs.size(), 2u);
  const TFileDialog& open = dialogs[dialogs.size() - 2];
  EXPECT_EQ(open.Title, "AVI-Datei konvertieren");
  EXPECT_EQ(open.Filter, "AVI-Dateien *.avi|*.avi");
  EXPECT_EQ(open.FileName, Dir() + "Gesicht.AVI");
  EXPECT_EQ(dialogs.back().Title, "konvertierte AVI-Datei speichern als");
  EXPECT_EQ(dialogs.back().FileName, Dir() + "clip_1.AVI");
  const test::TProbe probe = test::Probe(target);
  ASSERT_TRUE(probe.Ok);
  EXPECT_EQ(probe.Width, 320);
  EXPECT_EQ(probe.Height, 240);
  EXPECT_EQ(probe.Rate, "25/1");
  EXPECT_EQ(probe.Packets, 5);
  EXPECT_EQ(GetUserSettings()->readString("File", "AVISrc", ""), Dir());
  EXPECT_EQ(GetUserSettings()->readString("File", "AVI", ""), Dir() + "out/");
  EXPECT_FALSE(f.FFileCreating);

  // The dialogs start in the folders used last.
  FDialogs.QueueFile(source);
  FDialogs.QueueFile("");
  f.SpeedButtonConvertClick();
  EXPECT_EQ(FDialogs.FileDialogs().end()[-2].InitialDir, Dir());
  EXPECT_EQ(FDialogs.FileDialogs().back().InitialDir, Dir() + "out/");
  // Converting a file onto itself would destroy the source: nothing happens.
  FDialogs.QueueFile(source);
  FDialogs.QueueFile(source);
  f.SpeedButtonConvertClick();
  EXPECT_EQ(test::Probe(source).Width, 321);
}

}  // namespace
}  // namespace qv

#include "VideoCommandsTest.moc"
