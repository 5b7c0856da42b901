// Ground shared by the fuzz targets: silent dialogs, a scratch folder per process for the
// readers that take a file name, and the one way every target treats our own error type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Dialogs.h"

namespace qv::fuzz {

// Messages are dropped and every question is answered "Nein" / "Abbrechen", so that a target
// neither waits for a user nor collects texts over millions of runs.
class TSilentDialogs : public IDialogs {
 public:
  void ShowInformation(const std::string&) override {}
  void ShowMessage(const std::string&, TMessagePlacement) override {}
  void ShowError(const std::string&) override {}
  TSaveAnswer AskSave(const std::string&) override { return TSaveAnswer::Cancel; }
  bool AskYesNo(const std::string&) override { return false; }
  bool Confirm(const std::string&) override { return false; }
  bool ExecuteFileDialog(TFileDialog&) override { return false; }
  bool ChooseColor(TColor&) override { return false; }
};

// Installs the silent dialogs once per process.
void UseSilentDialogs();

// A folder of its own for this process below the system's temp folder, with a trailing "/";
// removed when the process ends normally.
const std::string& ScratchFolder();
// Writes the bytes as the file name in the scratch folder (replacing it) and answers its path.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);

// Reads every byte of a decoded raster, so that a decoder that set a size larger than the
// memory it filled shows up under AddressSanitizer.
void TouchBytes(const uint8_t* data, size_t size);

}  // namespace qv::fuzz

namespace qv {
class TBitmap;
}

namespace qv::fuzz {

// What every decoded picture promises: a size within the picture limits and pixel memory of
// that size, all of it readable. mask, when given, is empty or one byte per pixel. Aborts
// (a finding) otherwise.
void CheckDecodedPicture(const TBitmap& bitmap, const std::vector<uint8_t>* mask = nullptr);

}  // namespace qv::fuzz
