// The multi-morph: members, sub-sequence groups and the frames of the sequence video.
#include "MultiMorph.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "Canvas.h"
#include "MorphError.h"
#include "MorphFrames.h"
#include "Picture.h"

namespace qv {

namespace {

std::string ListIndexError(int32_t i) {
  return "Listenindex überschreitet das Maximum (" + std::to_string(i) + ")";
}

bool PictureFileExists(const std::string& fn) {
  std::error_code ec;
  return !fn.empty() && std::filesystem::is_regular_file(fn, ec);
}

}  // namespace

int32_t AlignedLeft(THorzAlign align, int32_t ownLeft, int32_t memberWidth, int32_t bgWidth) {
  const int64_t rest = int64_t(bgWidth) - memberWidth;
  switch (align) {
    case ha_left:
      return 0;
    case ha_right:
      return int32_t(std::clamp<int64_t>(rest, INT32_MIN, INT32_MAX));
    case ha_center:
      return int32_t(rest / 2);
    default:
      return ownLeft;
  }
}

TMorphing& TSequence::Items(int32_t i) const {
  if (i < 0 || i >= Count()) throw EMorphError(ListIndexError(i));
  return *FItems[size_t(i)];
}

// One track of the video: the members of a group that can be rendered, and where it stands.
struct TMultiMorph::TTrack {
  std::vector<TMorphing*> Members;
  int32_t Length = 0;   // frames of all its members
  size_t Current = 0;   // the member playing
  std::unique_ptr<TMorphFrames> Frames;

  TMorphing* Playing() const { return Current < Members.size() ? Members[Current] : nullptr; }
  void StartMember() {
    Frames = std::make_unique<TMorphFrames>(*Members[Current]);
    Frames->First();
  }
  // Frame t (> 0) of the track; an ended track keeps its last frame.
  void Advance(int32_t t) {
    if (t >= Length || !Frames) return;
    if (!Frames->Next() && Current + 1 < Members.size()) {
      ++Current;
      StartMember();
    }
  }
};

TMultiMorph::TMultiMorph() = default;

TMultiMorph::~TMultiMorph() { ClearSequences(); }

// ---------------------------------------------------------------------------------------------
// Members

TMorphing& TMultiMorph::AddMorphing(std::unique_ptr<TMorphing> aMorph) {
  FMorphList.push_back(std::move(aMorph));
  return *FMorphList.back();
}

void TMultiMorph::DelMorphing(int32_t i) {
  if (i < 0 || i >= Count()) throw EMorphError(ListIndexError(i));
  ClearSequences();  // the groups would name the freed member
  FMorphList.erase(FMorphList.begin() + i);
}

void TMultiMorph::Clear() {
  ClearSequences();
  FMorphList.clear();
}

TMorphing& TMultiMorph::GetMorphs(int32_t i) const {
  if (i < 0 || i >= Count()) throw EMorphError(ListIndexError(i));
  return *FMorphList[size_t(i)];
}

// ---------------------------------------------------------------------------------------------
// Groups

void TMultiMorph::InitializeSequences() {
  ClearSequences();
  for (const auto& m : FMorphList) AddToSequence(m.get());
}

void TMultiMorph::AddToSequence(TMorphing* aMorph) {
  for (const auto& seq : FSequences) {
    if (seq->SeqID() == aMorph->SubSeq()) {
      seq->Add(aMorph);
      return;
    }
  }
  FSequences.push_back(std::make_unique<TSequence>(aMorph->SubSeq()));
  FSequences.back()->Add(aMorph);
}

void TMultiMorph::ClearSequences() {
  CloseFrames();
  FSequences.clear();
}

// ---------------------------------------------------------------------------------------------
// Video

bool TMultiMorph::Renderable(const TMorphing& m, std::string* reason) const {
  auto refuse = [&](const std::string& why) {
    if (reason) *reason = why;
    return false;
  };
  // A failed load leaves both sources without pictures.
  if (!m.Paintable()) return refuse("keine lesbare Morphing-Datei");
  if (!PictureFileExists(m.Source1().SourceImageName()))
    return refuse("Anfangsbild fehlt: " + m.Source1().SourceImageName());
  if (!PictureFileExists(m.Source2().SourceImageName()))
    return refuse("Endbild fehlt: " + m.Source2().SourceImageName());
  if (m.FramesMorph() < 1) return refuse("weniger als ein Übergangsbild");
  return true;
}

std::vector<TUnrenderableMember> TMultiMorph::UnrenderableMembers() const {
  std::vector<TUnrenderableMember> list;
  for (int32_t i = 0; i < Count(); ++i) {
    std::string reason;
    if (!Renderable(GetMorphs(i), &reason)) list.push_back({i, reason});
  }
  return list;
}

std::string TMultiMorph::UnrenderableText() const {
  const auto list = UnrenderableMembers();
  if (list.empty()) return {};
  std::string text = "Diese Morphings der Sequenz werden nicht gerendert:";
  for (const TUnrenderableMember& u : list) {
    const TMorphing& m = GetMorphs(u.Index);
    text += "\r" + std::to_string(u.Index + 1) + ". " + m.Name() + ": " + u.Reason;
  }
  return text;
}

int32_t TMultiMorph::FrameCount() const {
  int32_t longest = 0;
  for (const auto& seq : FSequences) {
    int64_t length = 0;
    for (TMorphing* m : seq->List())
      if (Renderable(*m, nullptr)) length += TMorphFrames(*m).FrameCount();
    longest = int32_t(std::max<int64_t>(longest, std::min<int64_t>(length, INT32_MAX)));
  }
  return longest;
}

void TMultiMorph::StartFrames() {
  CloseFrames();
  for (const auto& seq : FSequences) {
    TTrack track;
    int64_t length = 0;
    for (TMorphing* m : seq->List()) {
      if (!Renderable(*m, nullptr)) continue;
      track.Members.push_back(m);
      length += TMorphFrames(*m).FrameCount();
    }
    if (track.Members.empty()) continue;
    track.Length = int32_t(std::min<int64_t>(length, INT32_MAX));
    FFrameTotal = std::max(FFrameTotal, track.Length);
    FTracks.push_back(std::move(track));
  }
  // The members draw on black, without their own background, in the sequence's field order;
  // what they had is given back by CloseFrames.
  for (TTrack& track : FTracks) {
    for (TMorphing* m : track.Members) {
      FSavedMembers.push_back({m, m->withBG(), m->Modified(), m->InterlaceType()});
      if (m->withBG()) m->SetwithBG(false);
      m->SetInterlaceType(FInterlaceType);
    }
  }
}

void TMultiMorph::CloseFrames() {
  FTracks.clear();
  for (const TSavedMember& s : FSavedMembers) {
    if (s.Member->withBG() != s.WithBG) s.Member->SetwithBG(s.WithBG);
    s.Member->SetInterlaceType(s.Interlace);
    s.Member->SetModified(s.Modified);
  }
  FSavedMembers.clear();
  FFrame = -1;
  FFrameTotal = 0;
}

void TMultiMorph::PaintBackground() {
  TCanvas& c = FBgBmp->Canvas();
  const TBackGround& bg = *FBackGround;
  c.SetBrushStyle(bsSolid);
  c.SetBrushColor(bg.BgType() == bg_Color ? bg.BGColor() : clBlack);
  c.FillRect(Rect(0, 0, FBgBmp->Width(), FBgBmp->Height()));
  if (bg.BgType() == bg_Pict && bg.BgPicture() && !bg.BgPicture()->Empty())
    bg.BgPicture()->Draw(c, 0, 0);
}

void TMultiMorph::ComposeFrame() {
  if (FBgBmp->Empty()) return;
  PaintBackground();
  for (const TTrack& track : FTracks) {
    const TMorphing* m = track.Playing();
    if (!m) continue;
    const int32_t x = AlignedLeft(m->HorzAlign(), m->Offset().X, m->Width(), Width());
    FBgBmp->Canvas().Draw(x, m->Offset().Y, m->TargetBmp());
  }
}

bool TMultiMorph::GetFirstFrame() {
  StartFrames();
  if (FTracks.empty()) {
    CloseFrames();
    return false;
  }
  FBackGround->AsureBGBMP();
  for (TTrack& track : FTracks) track.StartMember();
  FFrame = 0;
  ComposeFrame();
  return true;
}

bool TMultiMorph::GetNextFrame() {
  if (FFrame < 0) return false;
  if (FFrame + 1 >= FFrameTotal) {
    CloseFrames();
    return false;
  }
  ++FFrame;
  for (TTrack& track : FTracks) track.Advance(FFrame);
  ComposeFrame();
  return true;
}

// ---------------------------------------------------------------------------------------------
// File name

std::string TMultiMorph::GetOutFileName() const {
  const size_t slash = FFileName.find_last_of("/\\:");
  std::string base = slash == std::string::npos ? FFileName : FFileName.substr(slash + 1);
  const size_t dot = base.find_last_of('.');
  if (dot != std::string::npos) base.resize(dot);
  return base + ".avi";
}

}  // namespace qv
