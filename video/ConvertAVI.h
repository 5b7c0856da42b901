// Re-encoding an existing video into a new AVI file, frame by frame, through the AVI writer
// with its codec choice. Used by the conversion command of the editor and the command line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Bitmap.h"

namespace qv {

// Called after every frame written with that frame and its number; the editor shows the frame
// and processes its pending window messages. Answers true to stop after this frame.
using TConvertProgress = std::function<bool(const TBitmap& frame, int32_t frameNr)>;

// Reads source with TAVIReader and writes its frames to target (size cut to multiples of 8,
// 25 frames per second, the codec of the codec choice, no sound). A source that cannot be
// opened, or whose first frame cannot be read, is reported through Dialogs() and nothing is
// written. Answers true when the target was written (also when stopped early); false after a
// message or when the writer was not ready (codec choice cancelled). A frame that cannot be
// written raises EMorphError; the frames written so far stay in the completed target.
bool ConvertAVI(const std::string& source, const std::string& target,
                const TConvertProgress& progress = {});

}  // namespace qv
