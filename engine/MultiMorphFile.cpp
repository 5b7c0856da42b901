// The sequence file of a multi-morph (".msq"): an INI document with the section "$Project"
// (type mark and the multi-morph's own video and background settings) and one section per
// member, "00", "01", ..., naming the member's project file relative to the sequence file.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Dialogs.h"
#include "Ini.h"
#include "MorphFile.h"
#include "MultiMorph.h"
#include "RelativePath.h"

namespace qv {

namespace {

constexpr const char* kSeqProject = "$Project";
constexpr const char* kSequenceTypeMark = "ZuntMorphSeq";
// Further member sections of a file are not read.
constexpr int32_t kMaxSequenceMembers = 10000;

std::string MemberSection(int32_t i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", int(i));
  return buf;
}

// The position a section name stands for, or -1 when it is no member section name.
int32_t MemberPosition(const std::string& name) {
  if (name.empty() || name.size() > 9) return -1;
  int32_t v = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return MemberSection(v) == name ? v : -1;
}

bool IsFile(const std::string& fn) {
  std::error_code ec;
  return !fn.empty() && std::filesystem::is_regular_file(fn, ec);
}

bool FileTooLarge(const std::string& fn) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(fn, ec);
  return !ec && size > kMaxProjectFileSize;
}

}  // namespace

// The settings a new multi-morph has apply to every key a file lacks.
void TMultiMorph::ReadSettings(TIni& ini) {
  const std::string folder = AbsoluteFolderOf(ini.FileName());
  SetFramesPerSecond(ini.ReadInteger(kSeqProject, "FramesPerSecond", 0));
  const int32_t interlace = ini.ReadInteger(kSeqProject, "Interlace", it_none);
  SetInterlaceType(interlace >= it_none && interlace <= it_LowerFirst ? TInterlaceType(interlace)
                                                                      : it_none);
  SetBGFormatIndex(ini.ReadInteger(kSeqProject, "BGFormatIdx", 0));
  TBackGround& bg = *FBackGround;
  const int32_t type = ini.ReadInteger(kSeqProject, "BGType", bg_Color);
  bg.SetBgType(type >= bg_Color && type <= bg_Video ? TBgType(type) : bg_Color);
  bg.SetBGColor(TColor(ini.ReadInteger(kSeqProject, "BGColor", 0)));
  bg.SetWidth(ini.ReadInteger(kSeqProject, "BGWidth", 0));
  bg.SetHeight(ini.ReadInteger(kSeqProject, "BGHeight", 0));
  bg.SetBGPictureName(ResolveStoredFileName(ini.ReadString(kSeqProject, "BGPict", ""), folder));
  SetShowCompressDialog(ini.ReadBool(kSeqProject, "ShowCompressDialog", false));
}

void TMultiMorph::WriteSettings(TIni& ini) {
  const std::string folder = AbsoluteFolderOf(ini.FileName());
  const TBackGround& bg = *FBackGround;
  ini.WriteInteger(kSeqProject, "FramesPerSecond", FFramesPerSecond);
  ini.WriteInteger(kSeqProject, "Interlace", FInterlaceType);
  ini.WriteInteger(kSeqProject, "BGFormatIdx", FBGFormatIndex);
  ini.WriteInteger(kSeqProject, "BGType", bg.BgType());
  ini.WriteInteger(kSeqProject, "BGColor", int32_t(bg.BGColor()));
  ini.WriteString(kSeqProject, "BGPict", StoredFileName(bg.BGPictureName(), folder));
  ini.WriteInteger(kSeqProject, "BGWidth", bg.Width());
  ini.WriteInteger(kSeqProject, "BGHeight", bg.Height());
  ini.WriteBool(kSeqProject, "ShowCompressDialog", FShowCompressDialog);
}

void TMultiMorph::LoadFromFile(const std::string& fn) {
  if (!IsFile(fn)) return;
  Clear();
  TIni ini(FileTooLarge(fn) ? std::string() : fn, te_UTF8, nullptr);
  if (ini.ReadString(kSeqProject, "Type", "") != kSequenceTypeMark) {
    Dialogs().ShowInformation(fn + "\rist keine Morph-Sequenz-Datei");
    return;
  }
  const std::string folder = AbsoluteFolderOf(fn);
  for (int32_t i = 0; i < kMaxSequenceMembers; ++i) {
    const std::string sect = MemberSection(i);
    const std::string stored = ini.ReadString(sect, "Morph", "");
    if (stored.empty()) break;
    const std::string project = ResolveStoredFileName(stored, folder);
    TMorphing& m = AddMorphing(std::make_unique<TMorphing>());
    m.LoadFromFile(project);
    // A project that could not be read keeps its name, so that saving the sequence again
    // does not drop the member.
    if (m.FileName().empty()) m.SetFileName(project);
    m.SetFramesMorph(ini.ReadInteger(sect, "FrameCount", m.FramesMorph()));
    m.SetStillImagesAtStart(ini.ReadInteger(sect, "StillAtStart", m.StillImagesAtStart()));
    m.SetStillImagesAtEnd(ini.ReadInteger(sect, "StillAtEnd", m.StillImagesAtEnd()));
    const int32_t align = ini.ReadInteger(sect, "HorzAlign", m.HorzAlign());
    if (align >= ha_none && align <= ha_center) m.SetHorzAlign(THorzAlign(align));
    m.SetOffset(TPoint{ini.ReadInteger(sect, "Left", m.Offset().X),
                       ini.ReadInteger(sect, "Top", m.Offset().Y)});
    m.SetSubSeq(ini.ReadInteger(sect, "SubSeq", m.SubSeq()));
    m.SetSmoothAtStart(ini.ReadBool(sect, "SmoothB", m.SmoothAtStart()));
    m.SetSmoothAtEnd(ini.ReadBool(sect, "SmoothE", m.SmoothAtEnd()));
    m.SetUnModified();
  }
  ReadSettings(ini);
  FFileName = fn;
  setUnmodified();
}

void TMultiMorph::SaveToFile(const std::string& fn) {
  {
    TIni ini(fn);
    // Written once, complete, like a project: never a mix of old and new members.
    ini.SetFlushOnRead(false);
    ini.WriteString(kSeqProject, "Type", kSequenceTypeMark);
    WriteSettings(ini);
    const std::string folder = AbsoluteFolderOf(fn);
    // A member without a project file has nothing to be loaded from; it is not written, as
    // its empty section would end the list for every member after it.
    int32_t written = 0;
    for (const auto& member : FMorphList) {
      const TMorphing& m = *member;
      if (m.FileName().empty()) continue;
      const std::string sect = MemberSection(written++);
      ini.WriteString(sect, "Morph", StoredFileName(m.FileName(), folder));
      ini.WriteInteger(sect, "FrameCount", m.FramesMorph());
      ini.WriteInteger(sect, "StillAtStart", m.StillImagesAtStart());
      ini.WriteInteger(sect, "StillAtEnd", m.StillImagesAtEnd());
      ini.WriteInteger(sect, "HorzAlign", m.HorzAlign());
      ini.WriteInteger(sect, "Left", m.Offset().X);
      ini.WriteInteger(sect, "Top", m.Offset().Y);
      ini.WriteInteger(sect, "SubSeq", m.SubSeq());
      ini.WriteBool(sect, "SmoothB", m.SmoothAtStart());
      ini.WriteBool(sect, "SmoothE", m.SmoothAtEnd());
    }
    // The member sections of an earlier, longer sequence in the same file.
    std::vector<std::string> stale;
    for (size_t i = 0; i < ini.SectionList().Count(); ++i) {
      const std::string& name = ini.getSectionNames(i);
      if (MemberPosition(name) >= written) stale.push_back(name);
    }
    for (const std::string& name : stale) ini.ClearSection(name);
    FFileName = fn;
    setUnmodified();
  }  // the document is written here
}

}  // namespace qv
