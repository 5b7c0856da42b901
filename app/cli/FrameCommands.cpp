// quorvel-cli frame and blend: one intermediate frame of a project, by morphing or by the
// cross-dissolve without geometry, saved as the editor's frame export saves it.
#include "CliCommands.h"
#include "CliSupport.h"
#include "Morph.h"

namespace qv::cli {

namespace {

TOddEvenBoth FieldOf(const TCliArgs& args) {
  const std::string f = args.Value("--field", "both");
  if (f == "even") return oe_even;
  if (f == "odd") return oe_odd;
  if (f == "both") return oe_both;
  throw EUsage("--field erwartet even, odd oder both, nicht \"" + f + "\".");
}

}  // namespace

int RunFrameCommand(const TCliArgs& args) {
  const TFraction at = ParseFraction(args.Value("--at"), "--at");
  const TOddEvenBoth field = FieldOf(args);
  const std::string out = args.Value("-o");
  CheckPictureName(out);
  TMorphing m;
  LoadProject(args.Positionals[0], m);

  m.MakeFramesInit();
  m.UpdateTargetAngles(at.Nomi, at.Denom);
  m.UpdateTargetPict();
  m.Make1Frame(at.Nomi, at.Denom, field, true);
  const bool composed = args.Has("--composed") && m.withBG();
  if (composed) m.updateBgBmp();
  m.MakeFramesClose();
  // Without a background the video shows the target itself.
  SavePicture(out, composed ? m.BgBmp() : m.TargetBmp());
  return kExitOk;
}

int RunBlendCommand(const TCliArgs& args) {
  const TFraction at = ParseFraction(args.Value("--at"), "--at");
  const std::string out = args.Value("-o");
  CheckPictureName(out);
  TMorphing m;
  LoadProject(args.Positionals[0], m);
  m.BlendFrame(at.Nomi, at.Denom);
  SavePicture(out, m.TargetBmp());
  return kExitOk;
}

}  // namespace qv::cli
