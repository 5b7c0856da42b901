#include "CompressorDialog.h"

namespace qv {

namespace {
TFixedCompressorDialog gKeepPreset;
ICompressorDialog* gCompressorDialog = &gKeepPreset;
}  // namespace

ICompressorDialog& CompressorDialog() {
  return *gCompressorDialog;
}

ICompressorDialog* SetCompressorDialog(ICompressorDialog* d) {
  ICompressorDialog* previous = gCompressorDialog;
  gCompressorDialog = d ? d : &gKeepPreset;
  return previous;
}

TFixedCompressorDialog TFixedCompressorDialog::Cancelling() {
  TFixedCompressorDialog d;
  d.FCancel = true;
  return d;
}

bool TFixedCompressorDialog::Execute(TAVICompressOptions& options) {
  ++FCalls;
  FLastPreset = options;
  if (FCancel) return false;
  if (FAnswer) options = *FAnswer;
  return true;
}

}  // namespace qv
