// The player window on real AVI files written by the AVI writer: stepping through the frames,
// the jumps to the ends, playing at the file's rate, the window size and the open dialog.
#include <QTest>
#include <QToolButton>

#include "Bitmap.h"
#include "CommandTestTools.h"
#include "CreateAVI.h"
#include "FormPlay.h"
#include "MorphError.h"

namespace qv {
namespace {

// An uncompressed video whose frame k is filled with the grey value 20 * k.
void WriteGreyVideo(const std::string& file, int w, int h, int frames, int fps) {
  TAVICreator writer;
  writer.SetFPS(uint8_t(fps));
  writer.SetWidth(w);
  writer.SetHeight(h);
  writer.SetFilename(file);
  ASSERT_TRUE(writer.CreateAVIFile(false, {av_video}));
  TBitmap frame(pf24bit);
  frame.SetSize(w, h);
  for (int k = 0; k < frames; ++k) {
    std::fill(frame.Bits(), frame.Bits() + frame.ImageSize(), uint8_t(20 * k));
    writer.AddAVIFrame(frame);
  }
  writer.CloseAVIFile(false);
}

int GreyOf(const QImage& image) {
  return image.isNull() ? -1 : qRed(image.pixel(image.width() / 2, image.height() / 2));
}

class PlayerTest : public CommandTest {
 protected:
  TFormPlayer FPlayer;
};

TEST_F(PlayerTest, StepsThroughTheFramesOfARealFile) {
  const std::string file = Dir() + "grey.avi";
  WriteGreyVideo(file, 64, 48, 6, 25);
  std::string fn = file;
  FPlayer.PlayFile(fn);
  EXPECT_TRUE(FPlayer.Playing());
  FPlayer.MediaPlayer1Click(TFormPlayer::btStop);
  EXPECT_FALSE(FPlayer.Playing());

  FPlayer.MediaPlayer1Click(TFormPlayer::btPrev);
  EXPECT_EQ(FPlayer.Position(), 0);
  EXPECT_EQ(GreyOf(FPlayer.CurrentImage()), 0);
  for (int k = 1; k < 6; ++k) {
    FPlayer.Button(TFormPlayer::btStep)->click();
    EXPECT_EQ(FPlayer.Position(), k);
    EXPECT_EQ(GreyOf(FPlayer.CurrentImage()), 20 * k);
  }
  // Past the last frame nothing changes.
  FPlayer.MediaPlayer1Click(TFormPlayer::btStep);
  EXPECT_EQ(FPlayer.Position(), 5);
  FPlayer.MediaPlayer1Click(TFormPlayer::btBack);
  EXPECT_EQ(GreyOf(FPlayer.CurrentImage()), 80);

  FPlayer.MediaPlayer1Click(TFormPlayer::btPrev);
  EXPECT_EQ(GreyOf(FPlayer.CurrentImage()), 0);
  FPlayer.MediaPlayer1Click(TFormPlayer::btBack);
  EXPECT_EQ(FPlayer.Position(), 0);
  FPlayer.MediaPlayer1Click(TFormPlayer::btNext);
  EXPECT_EQ(FPlayer.Position(), 5);
  EXPECT_EQ(FPlayer.FrameCount(), 6);
  EXPECT_EQ(GreyOf(FPlayer.CurrentImage()), 100);
}

TEST_F(PlayerTest, PlaysToTheEndAtTheFilesRateAndAgainFromTheStart) {
  const std::string file = Dir() + "fast.avi";
  WriteGreyVideo(file, 32, 32, 5, 50);
  std::string fn = file;
  FPlayer.PlayFile(fn);
  EXPECT_DOUBLE_EQ(FPlayer.FrameRate(), 50);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !FPlayer.Playing(); }, 5000));
  EXPECT_EQ(FPlayer.Position(), 4);
  FPlayer.MediaPlayer1Click(TFormPlayer::btPlay);
  EXPECT_EQ(FPlayer.Position(), 0);
  EXPECT_TRUE(FPlayer.Playing());
}

TEST_F(PlayerTest, TheWindowTakesTheVideoSizePlusTheBar) {
  const std::string file = Dir() + "dv.avi";
  WriteGreyVideo(file, 768, 576, 2, 25);
  std::string fn = file;
  FPlayer.PlayFile(fn);
  EXPECT_TRUE(FPlayer.isVisible());
  EXPECT_EQ(FPlayer.size(), QSize(768, 606));
  EXPECT_EQ(FPlayer.Panel2->geometry(), QRect(0, 576, 768, 30));
  // The button strip stays centred, the open button at the right edge.
  QWidget* strip = FPlayer.Button(TFormPlayer::btPlay)->parentWidget();
  EXPECT_EQ(strip->x() * 2 + strip->width(), 768);
  EXPECT_EQ(FPlayer.SpeedButton1->size(), QSize(23, 22));
  EXPECT_GT(FPlayer.SpeedButton1->x(), 768 - 30);
}

TEST_F(PlayerTest, WithoutANameTheUserPicksTheFileAndItsFolderIsStored) {
  const std::string file = Dir() + "picked.avi";
  WriteGreyVideo(file, 32, 32, 2, 25);
  std::string fn;
  FDialogs.QueueFile(file);
  FPlayer.PlayFile(fn);
  EXPECT_EQ(fn, file);
  EXPECT_EQ(FPlayer.FileName(), file);
  const TFileDialog& dlg = FDialogs.FileDialogs().back();
  EXPECT_EQ(dlg.Title, "AVI-Datei öffnen");
  EXPECT_EQ(dlg.Filter, "AVI-Dateien *.avi|*.avi");
  EXPECT_EQ(Settings().readString("File", "AVI", ""), Dir());

  // Cancelled: nothing is played.
  std::string none;
  FDialogs.QueueFile("");
  FPlayer.PlayFile(none);
  EXPECT_EQ(none, "");
  EXPECT_EQ(FPlayer.FileName(), file);
  FDialogs.QueueFile("");
  FPlayer.SpeedButton1->click();
  EXPECT_EQ(FDialogs.FileDialogs().back().InitialDir, Dir());
}

TEST_F(PlayerTest, AFileThatCannotBePlayedRaisesItsReason) {
  const std::string file = Dir() + "broken.avi";
  {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs("RIFF but no video", f);
    std::fclose(f);
  }
  std::string fn = file;
  try {
    FPlayer.PlayFile(fn);
    FAIL() << "no error";
  } catch (const EMorphError& e) {
    EXPECT_NE(std::string(e.what()).find(file), std::string::npos);
  }
  EXPECT_EQ(FPlayer.Position(), -1);
}

}  // namespace
}  // namespace qv
