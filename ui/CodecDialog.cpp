#include "CodecDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "UserSettings.h"

namespace qv {

namespace {

constexpr const char* kSection = "Codec";

// What a codec makes use of.
struct TCodecUse {
  bool Quality, KeyFrames, DataRate;
};

TCodecUse UseOf(TAVICodec codec) {
  switch (codec) {
    case vc_Uncompressed:
      return {false, false, false};
    case vc_MotionJPEG:
      return {true, false, true};  // every frame is a key frame
    case vc_FFV1:
      return {false, true, false};  // lossless
    case vc_H264:
    case vc_MPEG4:
      return {true, true, true};
  }
  return {false, false, false};
}

std::string Key(TAVICodec codec, const char* what) {
  return AVICodecKey(codec) + what;
}

}  // namespace

TAVICompressOptions RememberedCodecOptions(TAVICodec codec) {
  TAVICompressOptions o;
  o.Codec = codec;
  if (TUserSettings* s = CurrentUserSettings()) {
    o.Quality = std::clamp(s->readInteger(kSection, Key(codec, "Quality"), o.Quality), 1, 100);
    o.KeyFrameEvery = std::max(0, s->readInteger(kSection, Key(codec, "KeyFrames"), 0));
    o.DataRate = std::max(0, s->readInteger(kSection, Key(codec, "DataRate"), 0));
  }
  return o;
}

TFormCodec::TFormCodec(QWidget* parent) : QDialog(parent), FCodecs(AvailableAVICodecs()) {
  setObjectName("FormCodec");
  setWindowTitle("Videokompression");
  setModal(true);

  ListCodecs = new QListWidget;
  for (TAVICodec c : FCodecs) ListCodecs->addItem(QString::fromStdString(AVICodecName(c)));
  ListCodecs->setMinimumHeight(110);

  SpinQuality = new QSpinBox;
  SpinQuality->setRange(1, 100);
  CheckKeyFrames = new QCheckBox("Keyframe alle");
  SpinKeyFrames = new QSpinBox;
  SpinKeyFrames->setRange(1, 10000);
  SpinKeyFrames->setSuffix(" Frames");
  CheckDataRate = new QCheckBox("Datenrate");
  SpinDataRate = new QSpinBox;
  SpinDataRate->setRange(1, 1000000);
  SpinDataRate->setSuffix(" kBit/s");

  auto* grid = new QGridLayout;
  FLabelQuality = new QLabel("Qualität:");
  grid->addWidget(FLabelQuality, 0, 0);
  grid->addWidget(SpinQuality, 0, 1);
  grid->addWidget(CheckKeyFrames, 1, 0);
  grid->addWidget(SpinKeyFrames, 1, 1);
  grid->addWidget(CheckDataRate, 2, 0);
  grid->addWidget(SpinDataRate, 2, 1);

  auto* buttons = new QDialogButtonBox;
  buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Kompressionsverfahren:"));
  layout->addWidget(ListCodecs);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  connect(ListCodecs, &QListWidget::currentRowChanged, this, [this] { CodecChanged(); });
  connect(CheckKeyFrames, &QCheckBox::toggled, this, [this] { EnableControls(); });
  connect(CheckDataRate, &QCheckBox::toggled, this, [this] { EnableControls(); });
  ListCodecs->setCurrentRow(0);
}

TAVICodec TFormCodec::SelectedCodec() const {
  const int row = ListCodecs->currentRow();
  return row >= 0 && row < int(FCodecs.size()) ? FCodecs[size_t(row)] : vc_Uncompressed;
}

void TFormCodec::SetOptions(const TAVICompressOptions& options) {
  int row = 0;
  for (size_t i = 0; i < FCodecs.size(); ++i)
    if (FCodecs[i] == options.Codec) row = int(i);
  if (ListCodecs->currentRow() == row)
    CodecChanged();
  else
    ListCodecs->setCurrentRow(row);
  if (SelectedCodec() != options.Codec || options.Codec == vc_Uncompressed) return;
  // A preset of the writer other than uncompressed frames shows its own values.
  SpinQuality->setValue(options.Quality);
  CheckKeyFrames->setChecked(options.KeyFrameEvery > 0);
  if (options.KeyFrameEvery > 0) SpinKeyFrames->setValue(options.KeyFrameEvery);
  CheckDataRate->setChecked(options.DataRate > 0);
  if (options.DataRate > 0) SpinDataRate->setValue(options.DataRate);
}

void TFormCodec::CodecChanged() {
  const TAVICompressOptions o = RememberedCodecOptions(SelectedCodec());
  SpinQuality->setValue(o.Quality);
  CheckKeyFrames->setChecked(o.KeyFrameEvery > 0);
  SpinKeyFrames->setValue(o.KeyFrameEvery > 0 ? o.KeyFrameEvery : 25);
  CheckDataRate->setChecked(o.DataRate > 0);
  SpinDataRate->setValue(o.DataRate > 0 ? o.DataRate : 5000);
  EnableControls();
}

void TFormCodec::EnableControls() {
  const TCodecUse use = UseOf(SelectedCodec());
  FLabelQuality->setEnabled(use.Quality);
  SpinQuality->setEnabled(use.Quality && !(use.DataRate && CheckDataRate->isChecked()));
  CheckKeyFrames->setEnabled(use.KeyFrames);
  SpinKeyFrames->setEnabled(use.KeyFrames && CheckKeyFrames->isChecked());
  CheckDataRate->setEnabled(use.DataRate);
  SpinDataRate->setEnabled(use.DataRate && CheckDataRate->isChecked());
}

TAVICompressOptions TFormCodec::Options() const {
  TAVICompressOptions o;
  o.Codec = SelectedCodec();
  const TCodecUse use = UseOf(o.Codec);
  if (use.Quality) o.Quality = SpinQuality->value();
  if (use.KeyFrames && CheckKeyFrames->isChecked()) o.KeyFrameEvery = SpinKeyFrames->value();
  if (use.DataRate && CheckDataRate->isChecked()) o.DataRate = SpinDataRate->value();
  return o;
}

void TFormCodec::RememberOptions() const {
  TUserSettings* s = CurrentUserSettings();
  const TAVICompressOptions o = Options();
  if (!s || o.Codec == vc_Uncompressed) return;
  s->writeInteger(kSection, Key(o.Codec, "Quality"), o.Quality);
  s->writeInteger(kSection, Key(o.Codec, "KeyFrames"), o.KeyFrameEvery);
  s->writeInteger(kSection, Key(o.Codec, "DataRate"), o.DataRate);
}

bool TQtCompressorDialog::Execute(TAVICompressOptions& options) {
  TFormCodec dlg(QApplication::activeWindow());
  dlg.SetOptions(options);
  if (dlg.exec() != QDialog::Accepted) return false;
  options = dlg.Options();
  dlg.RememberOptions();
  return true;
}

}  // namespace qv
