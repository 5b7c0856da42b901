// The codec choice of the AVI writer as a window: the codecs the installed FFmpeg libraries
// can encode, with quality, key-frame interval and data rate. The choice starts at the
// writer's preset (uncompressed frames); the values last confirmed for each codec are kept in
// the settings section "Codec". Cancel answers cancel to the writer.
#pragma once

#include <QDialog>
#include <vector>

#include "CompressOptions.h"
#include "CompressorDialog.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace qv {

class TFormCodec : public QDialog {
  Q_OBJECT
 public:
  explicit TFormCodec(QWidget* parent = nullptr);

  // Shows options: its codec selected (the first codec when it is not available) and the
  // values remembered for that codec.
  void SetOptions(const TAVICompressOptions& options);
  TAVICompressOptions Options() const;
  // The values of the codec shown now go to the settings.
  void RememberOptions() const;

  QListWidget* ListCodecs = nullptr;
  QSpinBox* SpinQuality = nullptr;
  QCheckBox* CheckKeyFrames = nullptr;
  QSpinBox* SpinKeyFrames = nullptr;
  QCheckBox* CheckDataRate = nullptr;
  QSpinBox* SpinDataRate = nullptr;

 private:
  TAVICodec SelectedCodec() const;
  // Loads the remembered values of the selected codec and enables what it uses.
  void CodecChanged();
  void EnableControls();

  std::vector<TAVICodec> FCodecs;
  QLabel* FLabelQuality = nullptr;
};

// The writer's codec choice in the editor; installed for the whole run.
class TQtCompressorDialog : public ICompressorDialog {
 public:
  bool Execute(TAVICompressOptions& options) override;
};

// The values remembered for a codec, over the defaults of TAVICompressOptions.
TAVICompressOptions RememberedCodecOptions(TAVICodec codec);

}  // namespace qv
