// The codec choice the AVI writer offers when it is asked to: the application installs a dialog
// (the editor a window, the command line the options of its arguments); the writer reaches it
// only through CompressorDialog().
#pragma once

#include <optional>

#include "CompressOptions.h"

namespace qv {

class ICompressorDialog {
 public:
  virtual ~ICompressorDialog() = default;
  // Offers the choice, preset with options. False when the user cancels; otherwise options
  // hold the chosen codec and settings.
  virtual bool Execute(TAVICompressOptions& options) = 0;
};

// The installed implementation; until one is installed, every offer keeps its preset.
ICompressorDialog& CompressorDialog();
// Installs d (not owned); nullptr restores the default. Answers the previous one.
ICompressorDialog* SetCompressorDialog(ICompressorDialog* d);

// A choice answered without asking anybody: always the given options, always a cancel, or (by
// default) the preset unchanged. Remembers how it was asked.
class TFixedCompressorDialog : public ICompressorDialog {
 public:
  TFixedCompressorDialog() = default;
  explicit TFixedCompressorDialog(const TAVICompressOptions& answer) : FAnswer(answer) {}
  static TFixedCompressorDialog Cancelling();

  bool Execute(TAVICompressOptions& options) override;

  int Calls() const { return FCalls; }
  const TAVICompressOptions& LastPreset() const { return FLastPreset; }

 private:
  std::optional<TAVICompressOptions> FAnswer;
  bool FCancel = false;
  int FCalls = 0;
  TAVICompressOptions FLastPreset;
};

// Installs a dialog for the lifetime of this object and restores the previous one afterwards.
class TCompressorDialogScope {
 public:
  explicit TCompressorDialogScope(ICompressorDialog& d) : FPrevious(SetCompressorDialog(&d)) {}
  ~TCompressorDialogScope() { SetCompressorDialog(FPrevious); }
  TCompressorDialogScope(const TCompressorDialogScope&) = delete;
  TCompressorDialogScope& operator=(const TCompressorDialogScope&) = delete;

 private:
  ICompressorDialog* FPrevious;
};

}  // namespace qv
