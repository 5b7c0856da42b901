// Rendering a morphing: one frame or field for the target pane, and the whole video through
// the AVI writer. Both are the main window's operations and reach the window only through a
// TRenderHost.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "RenderHost.h"
#include "Types.h"

namespace qv {

class TAVICreator;
class TMorphing;

// Computes the target of M at nomi/denom (UpdateTargetAngles, UpdateTargetPict, Make1Frame
// with OddEvenBoth and BgDraw). A complete frame (oe_both, or the second field drawn with
// BgDraw false) is shown through the host and, with a background, composed into BgBmp.
// Needs MakeFramesInit since the last change of points or triangles.
void RenderMorphFrame(TRenderHost& host, TMorphing& M, int32_t nomi, int32_t denom,
                      TOddEvenBoth OddEvenBoth, bool BgDraw);

// Writes the video of M to fileName (replaced without a question): the start picture
// StillImagesAtStart + 1 times, FramesMorph transition frames following the easing and the
// field order, the end picture StillImagesAtEnd + 1 times, at FramesPerSecond, in the
// target's size or, with a background, in the background's size (both reduced to multiples
// of 8, the frames cut at the right and bottom). The codec choice is offered when M asks for
// it. Answers true when the last frame was reached (also when stopped during the last still
// frames); false when the writer could not open the file, the codec choice was cancelled, or
// host.FStopped was set before the last frame. A transition of less than one frame is
// refused with EMorphError before any file is created. Errors while writing travel to the
// caller; the file then holds the frames written so far and is complete in every case.
bool RenderMorphAVI(TRenderHost& host, TMorphing& M, const std::string& fileName);

// The frame loop of a video on an opened writer: runs write, then (also after an error) close,
// the frame work's own clean-up, clears host.FFileCreating, gives the host back the progress it
// had before and closes the file. After an error of write, an error of the closing is dropped:
// the first one is reported. Answers what write answers.
bool WriteAndCloseVideo(TRenderHost& host, TAVICreator& writer, const std::function<bool()>& write,
                        const std::function<void()>& close);

}  // namespace qv
