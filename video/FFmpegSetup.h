// Process-wide set-up of the FFmpeg libraries, done once before the first writer or reader
// uses them: only errors are logged (codecs otherwise report every file on stderr).
#pragma once

namespace qv {

void InitFFmpegLibraries();

}  // namespace qv
