#include "FormPlay.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QPainter>
#include <QToolButton>
#include <cmath>
#include <cstring>

#include "AVIReader.h"
#include "Dialogs.h"
#include "DibFormat.h"
#include "FileFolders.h"
#include "MorphError.h"

namespace qv {

namespace {

// Frame nr of the reader as an image; a null image when there is no such frame or it is no
// 24-bit bottom-up DIB.
QImage FrameImage(TAVIReader& reader, int32_t nr) {
  const uint8_t* dib = reader.GetFrame(nr);
  const size_t size = reader.FrameSize();
  TBitmapInfoHeader info;
  if (!dib || !ReadDibHeader(dib, size, info) || info.biBitCount != 24 || info.biWidth <= 0 ||
      info.biHeight <= 0)
    return {};
  const int32_t w = info.biWidth, h = info.biHeight;
  const uint32_t stride = DibRowBytes(w, 24);
  if (size < DibHeaderSize + size_t(stride) * size_t(h)) return {};
  QImage image(w, h, QImage::Format_BGR888);
  const uint8_t* pixels = dib + DibHeaderSize;
  for (int32_t y = 0; y < h; ++y)
    std::memcpy(image.scanLine(y), pixels + size_t(h - 1 - y) * stride, size_t(w) * 3);
  return image;
}

}  // namespace

// --- panel -----------------------------------------------------------------------------------

TVideoPanel::TVideoPanel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TVideoPanel::SetImage(const QImage& image) {
  FImage = image;
  update();
}

void TVideoPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  if (FImage.isNull()) return;
  QSize size = FImage.size();
  if (size.width() > width() || size.height() > height())
    size.scale(this->size(), Qt::KeepAspectRatio);
  const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  p.drawImage(target, FImage);
}

// --- window ----------------------------------------------------------------------------------

TFormPlayer::TFormPlayer(QWidget* parent)
    : QWidget(parent, Qt::Window),
      FReader(std::make_unique<TAVIReader>()),
      FOwnOpenDialog(std::make_unique<TFileDialog>()),
      FOpenDialog(FOwnOpenDialog.get()) {
  setObjectName("FormPlayer");
  setWindowTitle("Play");
  FPanel = new TVideoPanel(this);
  FPanel->setObjectName("Panel1");
  Panel2 = new QWidget(this);
  Panel2->setObjectName("Panel2");
  FStrip = new QWidget(Panel2);
  FStrip->setObjectName("MediaPlayer1");
  const char* icons[] = {"player-play", "player-stop", "player-next",
                         "player-prev", "player-step", "player-back"};
  const char* texts[] = {"Play", "Stop", "Next", "Prev", "Step", "Back"};
  for (int b = btPlay; b <= btBack; ++b) {
    FButtons[b] = NewButton(icons[b], texts[b], FStrip);
    FButtons[b]->setGeometry(b * 26, 1, 26, 28);
    connect(FButtons[b], &QToolButton::clicked, this,
            [this, b] { MediaPlayer1Click(TPlayerButton(b)); });
  }
  FStrip->resize(6 * 26, kBarHeight);
  SpeedButton1 = NewButton("file-open", "Öffnen", Panel2);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->resize(23, 22);
  connect(SpeedButton1, &QToolButton::clicked, this, [this] {
    try {
      SpeedButton1Click();
    } catch (const std::exception& e) {
      Dialogs().ShowError(e.what());
    }
  });
  FTimer.setTimerType(Qt::PreciseTimer);
  connect(&FTimer, &QTimer::timeout, this, [this] { TimerTick(); });
  resize(329, 366);
}

TFormPlayer::~TFormPlayer() = default;

QToolButton* TFormPlayer::NewButton(const char* icon, const char* text, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setIcon(QIcon(QString(":/icons/%1.png").arg(icon)));
  b->setText(text);
  b->setToolTip(text);
  b->setAutoRaise(true);
  return b;
}

void TFormPlayer::SetOpenDialog(TFileDialog* dlg) {
  FOpenDialog = dlg ? dlg : FOwnOpenDialog.get();
}

const QImage& TFormPlayer::CurrentImage() const {
  return FPanel->Image();
}

void TFormPlayer::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  LayoutChildren();
}

void TFormPlayer::LayoutChildren() {
  const int h = std::max(0, height() - kBarHeight);
  FPanel->setGeometry(0, 0, width(), h);
  Panel2->setGeometry(0, h, width(), kBarHeight);
  SpeedButton1->move(width() - SpeedButton1->width() - 2,
                     (kBarHeight - SpeedButton1->height()) / 2);
  Panel2Resize();
}

void TFormPlayer::Panel2Resize() {
  FStrip->move((Panel2->width() - FStrip->width()) / 2, 0);
}

void TFormPlayer::closeEvent(QCloseEvent* e) {
  FormClose();
  e->accept();
}

void TFormPlayer::FormClose() {
  Stop();
  FReader = std::make_unique<TAVIReader>();
  FPosition = -1;
}

// --- files -----------------------------------------------------------------------------------

void TFormPlayer::OpenDlg(std::string& fn) {
  fn.clear();
  TFileDialog& dlg = *FOpenDialog;
  dlg.Kind = TFileDialogKind::Open;
  dlg.Title = "AVI-Datei öffnen";
  dlg.Filter = "AVI-Dateien *.avi|*.avi";
  dlg.InitialDir = DefaultAVIDir();
  if (!Dialogs().ExecuteFileDialog(dlg)) return;
  StoreFileFolder("AVI", dlg.FileName);
  fn = dlg.FileName;
}

void TFormPlayer::SpeedButton1Click() {
  std::string fn;
  OpenDlg(fn);
  if (!fn.empty() && QFileInfo::exists(QString::fromStdString(fn))) PlayFile(fn);
}

void TFormPlayer::PlayFile(std::string& fn) {
  if (fn.empty()) {
    OpenDlg(fn);
    if (fn.empty()) return;
  }
  show();
  raise();
  activateWindow();
  auto reader = std::make_unique<TAVIReader>();
  if (!reader->OpenAVIFile(fn)) throw EMorphError(fn + "\r" + reader->ErrorMessage());
  const QImage first = FrameImage(*reader, 0);
  if (first.isNull()) throw EMorphError(fn + "\rkonnte ersten Frame nicht laden");
  Stop();
  FReader = std::move(reader);
  FFileName = fn;
  FFrameRate = FReader->StreamFrameRate() > 0 ? FReader->StreamFrameRate() : 25;
  const int64_t declared = FReader->StreamFrameCount();
  FFrameCount = declared > 0 ? int32_t(std::min<int64_t>(declared, INT32_MAX)) : 1;
  FEndKnown = false;
  FVideoSize = first.size();
  FPosition = 0;
  FPanel->SetImage(first);
  // The window takes the video's own size plus the bar.
  resize(FVideoSize.width(), FVideoSize.height() + kBarHeight);
  Play();
}

// --- playing ---------------------------------------------------------------------------------

bool TFormPlayer::ShowFrame(int32_t nr) {
  if (FPosition < 0 || nr < 0) return false;
  const QImage image = FrameImage(*FReader, nr);
  if (image.isNull()) {
    // Past the last frame: now the length is known.
    if (nr > 0 && nr <= FFrameCount) {
      FFrameCount = nr;
      FEndKnown = true;
    }
    return false;
  }
  FPosition = nr;
  if (nr >= FFrameCount) FFrameCount = nr + 1;
  FPanel->SetImage(image);
  return true;
}

void TFormPlayer::Play() {
  if (FPosition < 0) return;
  if (FEndKnown && FPosition >= FFrameCount - 1) ShowFrame(0);  // played to the end: again
  FTimer.start(std::max(1, int(std::lround(1000.0 / FFrameRate))));
}

void TFormPlayer::Stop() {
  FTimer.stop();
}

void TFormPlayer::TimerTick() {
  if (!ShowFrame(FPosition + 1)) {
    FEndKnown = true;
    Stop();
  }
}

void TFormPlayer::GoToEnd() {
  // The declared last frame first; from there (or, when the file holds fewer frames than it
  // declares, from the frame shown) the file is read on to its real end.
  if (!(FFrameCount > 1 && ShowFrame(FFrameCount - 1) && FEndKnown))
    while (ShowFrame(FPosition + 1)) {
    }
  FEndKnown = true;
}

void TFormPlayer::MediaPlayer1Click(TPlayerButton button) {
  switch (button) {
    case btPlay:
      Play();
      break;
    case btStop:
      Stop();
      break;
    case btNext:
      Stop();
      GoToEnd();
      break;
    case btPrev:
      Stop();
      ShowFrame(0);
      break;
    case btStep:
      Stop();
      ShowFrame(FPosition + 1);
      break;
    case btBack:
      Stop();
      ShowFrame(FPosition - 1);
      break;
  }
}

}  // namespace qv
