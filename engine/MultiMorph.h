// The multi-morph: an ordered list of morphings, each loaded from its own project file, with
// the settings each has within the sequence, grouped into sub-sequences by number, and the
// frames of the sequence video composed on the multi-morph's background.
//
// The sequence video: every group (one sub-sequence number, groups in the order their numbers
// first occur in the list) is a track, and all tracks start together. Within a track the
// members play one after another, each with exactly the frames of its own morph video (start
// picture, transition, end picture, its own easing and still frames, the multi-morph's field
// order) but without its own background. A track that has ended keeps showing its last frame;
// the video is as long as the longest track. Each frame is the background with every track's
// current member frame drawn unscaled at the member's offset, later tracks over earlier ones.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Morph.h"

namespace qv {

class TIni;
class TMorphFrames;

// The members of one sub-sequence in list order; they belong to the multi-morph.
class TSequence {
 public:
  explicit TSequence(int32_t seqID) : FSeqID(seqID) {}

  int32_t SeqID() const { return FSeqID; }
  int32_t Count() const { return int32_t(FItems.size()); }
  TMorphing& Items(int32_t i) const;
  const std::vector<TMorphing*>& List() const { return FItems; }
  void Add(TMorphing* aMorph) { FItems.push_back(aMorph); }

 private:
  int32_t FSeqID;
  std::vector<TMorphing*> FItems;
};

using TSequences = std::vector<std::unique_ptr<TSequence>>;

// A member that the sequence video leaves out, and why.
struct TUnrenderableMember {
  int32_t Index = 0;
  std::string Reason;
};

// The x at which a member of width memberWidth stands on a background bgWidth wide: its own x
// for ha_none (and any value outside the four), 0 for ha_left, the rest of the width for
// ha_right, half of it (rounded toward zero) for ha_center.
int32_t AlignedLeft(THorzAlign align, int32_t ownLeft, int32_t memberWidth, int32_t bgWidth);

class TMultiMorph : public TMorph0 {
 public:
  TMultiMorph();
  ~TMultiMorph() override;

  std::string MType() const override { return "Multimorph"; }
  // The size of the sequence video: the background's.
  int32_t Width() const override { return FBackGround->Width(); }
  int32_t Height() const override { return FBackGround->Height(); }

  // Members. The list owns them; an index out of range raises EMorphError.
  int32_t Count() const { return int32_t(FMorphList.size()); }
  TMorphing& AddMorphing(std::unique_ptr<TMorphing> aMorph);
  void DelMorphing(int32_t i);
  void Clear();
  TMorphing& GetMorphs(int32_t i) const;
  TMorphing& Morphs(int32_t i) const { return GetMorphs(i); }
  const std::vector<std::unique_ptr<TMorphing>>& MorphList() const { return FMorphList; }

  // Sub-sequence groups, valid until the member list changes.
  void InitializeSequences();
  void AddToSequence(TMorphing* aMorph);
  void ClearSequences();
  const TSequences& Sequences() const { return FSequences; }

  // The members the video cannot show (project missing or not a project, a picture missing,
  // a transition of less than one frame), in list order.
  std::vector<TUnrenderableMember> UnrenderableMembers() const;
  // The information text naming them; empty when there are none.
  std::string UnrenderableText() const;

  // The sequence video, after InitializeSequences. GetFirstFrame composes the first frame in
  // BgBmp (Width x Height) and answers whether there is one; each GetNextFrame composes the
  // next and answers false once the video has ended. While the frames run the members draw
  // without their own backgrounds; CloseFrames (also called by the end of the video, by
  // ClearSequences and by the destructor) gives them back.
  bool GetFirstFrame();
  bool GetNextFrame();
  void CloseFrames();
  // The number of frames of the video the groups give (the longest track).
  int32_t FrameCount() const;

  // The file name part of FileName with the extension ".avi".
  std::string GetOutFileName() const;
  std::string OutFileName() const { return GetOutFileName(); }

  // Sequence file (".msq"). LoadFromFile replaces the members and the multi-morph's own
  // settings; it needs no window and raises nothing for bad content.
  void LoadFromFile(const std::string& fn);
  void SaveToFile(const std::string& fn) override;
  void setUnmodified() { FModified = false; }

 private:
  struct TTrack;
  struct TSavedMember {
    TMorphing* Member;
    bool WithBG;
    bool Modified;
    TInterlaceType Interlace;
  };

  bool Renderable(const TMorphing& m, std::string* reason) const;
  void StartFrames();
  void ComposeFrame();
  void PaintBackground();
  void ReadSettings(TIni& ini);
  void WriteSettings(TIni& ini);

  std::vector<std::unique_ptr<TMorphing>> FMorphList;
  TSequences FSequences;
  std::vector<TTrack> FTracks;
  std::vector<TSavedMember> FSavedMembers;
  int32_t FFrame = -1;
  int32_t FFrameTotal = 0;
};

}  // namespace qv
