// The project file of a morphing (".qvp"): an INI document with the sections "Project",
// "Opt", "Triangles", "Src1" and "Src2". Keys of other layouts in an existing file are kept.
#include "MorphFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Dialogs.h"
#include "Ini.h"
#include "Morph.h"
#include "RelativePath.h"
#include "VersionNr.h"

namespace qv {

namespace {

constexpr const char* kProject = "Project";
constexpr const char* kOpt = "Opt";
constexpr const char* kTriangles = "Triangles";
constexpr const char* kFileVersion = "1.0.0.0";
// Coordinates that would be negative are stored as this.
constexpr int32_t kNegativeCoordinate = 50;

std::string Hex4(int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04X", unsigned(v));
  return buf;
}

// Calls entry(numbers, count) for each complete entry "n,n,...;" of a list; count may exceed
// the four numbers kept. Stops when entry answers false. Answers true when entries were left
// out: after a stop, or beyond kMaxProjectLineLength.
template <typename TEntry>
bool ForEachListEntry(std::string_view text, TEntry entry) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  const bool tooLong = text.size() > kMaxProjectLineLength &&
                       text.find(';', kMaxProjectLineLength) != std::string_view::npos;
  text = text.substr(0, kMaxProjectLineLength);
  int32_t numbers[4] = {};
  size_t count = 0;
  uint32_t value = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ',' || c == ';') {
      if (count < 4) numbers[count] = int32_t(value);
      ++count;
      value = 0;
      if (c == ';') {
        if (!entry(numbers, count))
          return tooLong || text.find(';', i + 1) != std::string_view::npos;
        count = 0;
      }
      continue;
    }
    const size_t pos = kDigits.find(c);  // a foreign character counts as digit -1
    value = value * 16 + (pos == std::string_view::npos ? 0u : uint32_t(pos) + 1u) - 1u;
  }
  return tooLong;
}

std::string SourceSection(char nr) {
  return std::string("Src") + nr;
}

std::string ProjectFolder(const TIni& ini) {
  return AbsoluteFolderOf(ini.FileName());
}

bool FileTooLarge(const std::string& fn) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(fn, ec);
  return !ec && size > kMaxProjectFileSize;
}

}  // namespace

std::string FormatPointList(const TAngleArray& points) {
  std::string s;
  for (const TPoint& p : points) s += Hex4(p.X) + "," + Hex4(p.Y) + ";";
  return s;
}

std::string FormatTriangleList(const std::vector<TTrianglePerIndex>& triangles) {
  std::string s;
  for (const TTrianglePerIndex& t : triangles)
    s += Hex4(t[0]) + "," + Hex4(t[1]) + "," + Hex4(t[2]) + ";";
  return s;
}

TAngleArray ScanPointList(std::string_view text, bool* cut) {
  TAngleArray points;
  const bool leftOut = ForEachListEntry(text, [&](const int32_t* n, size_t count) {
    if (count == 2) points.push_back(TPoint{n[0], n[1]});
    return points.size() < kMaxProjectPoints;
  });
  if (cut) *cut = leftOut;
  return points;
}

std::vector<TTrianglePerIndex> ScanTriangleList(std::string_view text, bool* cut) {
  std::vector<TTrianglePerIndex> triangles;
  const bool leftOut = ForEachListEntry(text, [&](const int32_t* n, size_t count) {
    if (count == 3) triangles.push_back(TTrianglePerIndex{n[0], n[1], n[2]});
    return triangles.size() < kMaxProjectTriangles;
  });
  if (cut) *cut = leftOut;
  return triangles;
}

std::string ListsCutText(const std::string& fileName) {
  return fileName + "\renthält mehr Punkte oder Dreiecke, als geladen werden können (höchstens " +
         std::to_string(kMaxProjectPoints) + " Punkte und " + std::to_string(kMaxProjectTriangles) +
         " Dreiecke).\rDie übrigen wurden weggelassen.";
}

// ---------------------------------------------------------------------------------------------
// TBackGround

void TBackGround::SaveToIni(TIni& ini) {
  ini.WriteInteger(kOpt, "BGType", FBgType);
  ini.WriteInteger(kOpt, "BGColor", int32_t(FBgColor));
  ini.WriteString(kOpt, "BGPict", StoredFileName(FBGPictureName, ProjectFolder(ini)));
}

void TBackGround::LoadFromIni(TIni& ini) {
  const int32_t type = ini.ReadInteger(kOpt, "BGType", 0);
  SetBgType(type >= bg_Color && type <= bg_Video ? TBgType(type) : bg_Color);
  SetWidth(ini.ReadInteger(kOpt, "BGWidth", FOwner->Width()));
  SetHeight(ini.ReadInteger(kOpt, "BGHeight", FOwner->Height()));
  SetBGColor(TColor(ini.ReadInteger(kOpt, "BGColor", 0)));
  SetBGPictureName(ResolveStoredFileName(ini.ReadString(kOpt, "BGPict", ""), ProjectFolder(ini)));
}

// ---------------------------------------------------------------------------------------------
// TMorphSource

void TMorphSource::SaveToFile(TIni& ini, char nr) {
  const std::string sect = SourceSection(nr);
  ini.WriteInteger(sect, "ROX", FRectOrigin.X);
  ini.WriteInteger(sect, "ROY", FRectOrigin.Y);
  ini.WriteInteger(sect, "RWidth", RectWidth());
  ini.WriteString(sect, "FN", StoredFileName(FSourceImageName, ProjectFolder(ini)));
  for (TPoint& p : FAngles) {
    if (p.X < 0) p.X = kNegativeCoordinate;
    if (p.Y < 0) p.Y = kNegativeCoordinate;
  }
  ini.WriteString(sect, "Points", FormatPointList(FAngles));
}

bool TMorphSource::LoadFromFile(TIni& ini, char nr) {
  const std::string sect = SourceSection(nr);
  SetSourceImageName(ResolveStoredFileName(ini.ReadString(sect, "FN", ""), ProjectFolder(ini)));
  ApplyRectWidth(ini.ReadInteger(sect, "RWidth", 100));
  ClampRectOrigin(ini.ReadInteger(sect, "ROX", 0), ini.ReadInteger(sect, "ROY", 0));
  FAngles.clear();
  bool cut = false;
  for (const TPoint& p : ScanPointList(ini.ReadString(sect, "Points", ""), &cut)) AddPoint(p);
  return cut;
}

// ---------------------------------------------------------------------------------------------
// TMorph0

bool TMorph0::SaveIfModified() {
  if (!FModified) return true;
  const TSaveAnswer answer = Dialogs().AskSave("Das aktuelle " + MType() +
                                               " wurde geändert,\rist aber noch nicht "
                                               "gespeichert.\r\rSoll es jetzt gespeichert werden?");
  if (answer == TSaveAnswer::Cancel) return false;
  if (answer == TSaveAnswer::Yes) {
    if (FFileName.empty()) return false;  // the caller asks for a name
    Save();
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// TMorphing

void TMorphing::SaveToFile(const std::string& fn) {
  {
    TIni ini(fn);
    // Written once, complete, when the document is released: a stop in the middle of saving
    // leaves the old file, never one with some of the new values.
    ini.SetFlushOnRead(false);
    ini.WriteString(kProject, "Type", kProjectTypeMark);
    ini.WriteString(kProject, "Version", kFileVersion);
    ini.WriteInteger(kProject, "TargetW", Width());
    ini.WriteInteger(kProject, "TargetH", Height());
    ini.WriteInteger(kProject, "GridColor", int32_t(FGridColor));
    ini.WriteInteger(kOpt, "Mode", FMorphMode);
    ini.WriteInteger(kOpt, "Zoom", FCurrentZoom);
    ini.WriteInteger(kOpt, "Interlace", FInterlaceType);
    ini.WriteInteger(kOpt, "BGFormatIdx", FBGFormatIndex);
    ini.WriteInteger(kOpt, "FramesPerSecond", FFramesPerSecond);
    ini.WriteInteger(kOpt, "FrameCount", FFramesMorph);
    ini.WriteInteger(kOpt, "StillAtStart", FStillImagesAtStart);
    ini.WriteInteger(kOpt, "StillAtEnd", FStillImagesAtEnd);
    ini.WriteBool(kOpt, "ShowCompressDialog", FShowCompressDialog);
    ini.WriteBool(kOpt, "SmoothB", FSmoothAtStart);
    ini.WriteBool(kOpt, "SmoothE", FSmoothAtEnd);
    ini.WriteBool(kOpt, "withBG", FWithBG);
    FBackGround->SaveToIni(ini);
    ini.WriteInteger(kOpt, "BGWidth", FBackGround->Width());
    ini.WriteInteger(kOpt, "BGHeight", FBackGround->Height());
    ini.WriteString(kTriangles, "A", FormatTriangleList(FTriangles));
    FSource1->SaveToFile(ini, '1');
    FSource2->SaveToFile(ini, '2');
    FFileName = fn;
    SetUnModified();
  }  // the document is written here
}

void TMorphing::LoadFromFile(const std::string& fn) {
  Clear();
  TIni ini(FileTooLarge(fn) ? std::string() : fn, te_UTF8, nullptr);
  if (!fn.empty() && ini.ReadString(kProject, "Type", "") != kProjectTypeMark) {
    Dialogs().ShowInformation(fn + "\rist keine Morphing-Datei");
    Clear();
    return;
  }
  FFileName = fn;
  setTargetImageSize(ini.ReadInteger(kProject, "TargetW", 1),
                     ini.ReadInteger(kProject, "TargetH", 1));
  SetBGFormatIndex(ini.ReadInteger(kOpt, "BGFormatIdx", 0));
  const int32_t interlace = ini.ReadInteger(kOpt, "Interlace", 0);
  if (interlace >= it_none && interlace <= it_LowerFirst)
    SetInterlaceType(TInterlaceType(interlace));
  SetFramesPerSecond(ini.ReadInteger(kOpt, "FramesPerSecond", 25));
  SetGridColor(TColor(ini.ReadInteger(kProject, "GridColor", 56797)));
  SetVersion(ParseVersionNr(ini.ReadString(kProject, "Version", kFileVersion)));
  FCurrentZoom = ini.ReadInteger(kOpt, "Zoom", -1);
  SetFramesMorph(ini.ReadInteger(kOpt, "FrameCount", 100));
  SetStillImagesAtStart(ini.ReadInteger(kOpt, "StillAtStart", 1));
  SetStillImagesAtEnd(ini.ReadInteger(kOpt, "StillAtEnd", 1));
  FShowCompressDialog = ini.ReadBool(kOpt, "ShowCompressDialog", true);
  // Files of an earlier layout have one easing switch "Smooth" for both ends.
  SetSmoothAtStart(ini.ReadBool(kOpt, "Smooth", true));
  SetSmoothAtEnd(FSmoothAtStart);
  SetSmoothAtStart(ini.ReadBool(kOpt, "SmoothB", FSmoothAtStart));
  SetSmoothAtEnd(ini.ReadBool(kOpt, "SmoothE", FSmoothAtEnd));
  SetwithBG(ini.ReadBool(kOpt, "withBG", false));
  FBackGround->LoadFromIni(ini);
  FSource1->SetResultSize(Width(), Height());
  FSource2->SetResultSize(Width(), Height());
  const int32_t mode = ini.ReadInteger(kOpt, "Mode", 0);
  SetMorphMode(mode == mm_Points ? mm_Points : mode == mm_Net ? mm_Net : mm_ImgSel);
  bool cut = false;
  for (const TTrianglePerIndex& t : ScanTriangleList(ini.ReadString(kTriangles, "A", ""), &cut))
    AppendTriangle(t);
  cut = FSource1->LoadFromFile(ini, '1') || cut;
  cut = FSource2->LoadFromFile(ini, '2') || cut;
  // Both sources have the same number of points, and every triangle names points of both.
  const int32_t points = std::min(FSource1->AngleCount(), FSource2->AngleCount());
  FSource1->TruncatePoints(points);
  FSource2->TruncatePoints(points);
  DropInvalidTriangles();
  Select0Point();
  setRectOrigin(*FSource1, FSource1->RectOrigin());
  setRectOrigin(*FSource2, FSource2->RectOrigin());
  FSource1->UpdateSrcRect(Width(), Height());
  FSource2->UpdateSrcRect(Width(), Height());
  UpdateSourcePixBuffers();
  SetUnModified();
  if (cut) Dialogs().ShowInformation(ListsCutText(fn));
}

}  // namespace qv
