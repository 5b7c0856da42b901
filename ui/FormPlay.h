// The player window "Play": plays an AVI file inside the program. The frames are decoded with
// the AVI reader and shown at the file's frame rate in the panel above a bar of 30 pixels,
// which holds the buttons Play, Stop, Next, Prev, Step and Back (Next and Prev jump to the end
// and to the start, Step and Back go one frame) and, at its right edge, the open button.
// The window takes the video's own size. One instance lives for the whole run.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

class QToolButton;

namespace qv {

class TAVIReader;
struct TFileDialog;

// The display of the player: the current frame, centred, scaled down when the panel is
// smaller than the video.
class TVideoPanel : public QWidget {
 public:
  explicit TVideoPanel(QWidget* parent = nullptr);
  void SetImage(const QImage& image);
  const QImage& Image() const { return FImage; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QImage FImage;
};

class TFormPlayer : public QWidget {
  Q_OBJECT
 public:
  enum TPlayerButton { btPlay, btStop, btNext, btPrev, btStep, btBack };
  static constexpr int kBarHeight = 30;

  explicit TFormPlayer(QWidget* parent = nullptr);
  ~TFormPlayer() override;

  // Plays fn; with an empty fn the user picks a file first, whose name is then returned in fn.
  // A file that cannot be played raises EMorphError (the window stays as it was).
  void PlayFile(std::string& fn);
  // The dialog for an AVI file; fn is empty when it was cancelled. Stores the chosen folder as
  // "AVI" of section "File".
  void OpenDlg(std::string& fn);
  // The open button: OpenDlg, then PlayFile when a file was chosen and exists.
  void SpeedButton1Click();
  void MediaPlayer1Click(TPlayerButton button);
  // Keeps the button strip centred in the bar.
  void Panel2Resize();
  // Releases the file.
  void FormClose();

  // The dialog OpenDlg uses (the main window's open dialog); the player's own one otherwise.
  void SetOpenDialog(TFileDialog* dlg);

  const std::string& FileName() const { return FFileName; }
  bool Playing() const { return FTimer.isActive(); }
  // Number of the frame shown, -1 without a file.
  int32_t Position() const { return FPosition; }
  // The number of frames, as far as it is known (the file's declaration, or the end found).
  int32_t FrameCount() const { return FFrameCount; }
  double FrameRate() const { return FFrameRate; }
  QSize VideoSize() const { return FVideoSize; }
  const QImage& CurrentImage() const;
  QToolButton* Button(TPlayerButton button) const { return FButtons[button]; }
  QToolButton* SpeedButton1 = nullptr;
  QWidget* Panel2 = nullptr;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // Shows frame nr; false (and nothing changes) when the file has no such frame.
  bool ShowFrame(int32_t nr);
  void TimerTick();
  void Play();
  void Stop();
  void GoToEnd();
  void LayoutChildren();
  QToolButton* NewButton(const char* icon, const char* text, QWidget* parent);

  std::unique_ptr<TAVIReader> FReader;
  std::unique_ptr<TFileDialog> FOwnOpenDialog;
  TFileDialog* FOpenDialog = nullptr;
  std::string FFileName;
  TVideoPanel* FPanel = nullptr;
  QWidget* FStrip = nullptr;
  QToolButton* FButtons[6] = {};
  QTimer FTimer;
  int32_t FPosition = -1;
  int32_t FFrameCount = 0;
  bool FEndKnown = false;
  double FFrameRate = 25;
  QSize FVideoSize;
};

}  // namespace qv
