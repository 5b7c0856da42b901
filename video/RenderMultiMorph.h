// Rendering a multi-morph: the sequence video through the AVI writer, with progress and stop
// through a TRenderHost as the morph video has them.
#pragma once

#include <string>

#include "RenderHost.h"

namespace qv {

class TMultiMorph;

// Writes the sequence video of mm to fileName (replaced without a question) at mm's frame
// rate (25 when it is 0) and background size (reduced to multiples of 8; the writer's
// 320 x 240 when that size is not set). The members that cannot be rendered are named in one
// information message first; when none can be rendered, no file is written. The codec choice
// is offered when mm asks for it. Progress goes to the host, whose stop request (FStopped)
// ends the video after the frame in progress, leaving a complete file. Answers true when the
// last frame was written; false when stopped, when nothing could be rendered (then
// mm.FrameCount() is 0) or when the writer could not open the file (host.VideoNotOpened).
// Errors while writing travel to the caller; the file then holds the frames written so far.
bool RenderMultiMorphAVI(TRenderHost& host, TMultiMorph& mm, const std::string& fileName);

// The frame rate a sequence video is written at.
int32_t SequenceVideoRate(const TMultiMorph& mm);

}  // namespace qv
