// The document operations of TMorph0 and TMorphing: properties, points, triangles, selection,
// modes and the status text.
#include "Morph.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "Canvas.h"

namespace qv {

namespace {

// A-Z folded to upper case, nothing else: file names are compared this way.
std::string UpperAZ(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

// The folder of a path, up to and including its last separator ("/" or "\") or ":".
std::string FolderOf(const std::string& path) {
  size_t pos = path.find_last_of("/\\:");
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

template <typename T>
void SetAndMark(T& field, const T& value, bool& modified) {
  if (field != value) {
    field = value;
    modified = true;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TMorph0

TMorph0::TMorph0()
    : FBackGround(std::make_unique<TBackGround>(this)),
      FBgBmp(std::make_unique<TBitmap>(pf24bit)) {}

TMorph0::~TMorph0() = default;

void TMorph0::setTargetImageSize(int32_t aWidth, int32_t aHeight) {
  if (aWidth != FWidth || aHeight != FHeight) FModified = true;
  FWidth = aWidth;
  FHeight = aHeight;
}

void TMorph0::Save() { SaveToFile(FFileName); }

void TMorph0::SetFramesPerSecond(int32_t v) { SetAndMark(FFramesPerSecond, v, FModified); }

void TMorph0::SetInterlaceType(TInterlaceType v) { SetAndMark(FInterlaceType, v, FModified); }

// ---------------------------------------------------------------------------------------------
// TMorphing: document

TMorphing::TMorphing()
    : FSource1(std::make_unique<TMorphSource>(this)),
      FSource2(std::make_unique<TMorphSource>(this)),
      FTargetBmp(std::make_unique<TBitmap>(pf32bit)),
      FTargetRectIdxBmp(std::make_unique<TBitmap>(pf32bit)) {
  FGridColor = 56797;
  FFramesPerSecond = 25;
  FFramesMorph = 100;
  FModified = false;
  FShowCompressDialog = true;
  FSmoothAtStart = true;
  FSmoothAtEnd = true;
  FCurrentZoom = 1000;
}

TMorphing::~TMorphing() { FreePixBuffers(); }

void TMorphing::NewProject(const std::string& fn, int32_t aWidth, int32_t aHeight) {
  Clear();
  FFileName = fn;
  setTargetImageSize(aWidth, aHeight);
  SetMorphMode(FMorphMode);
  FShowCompressDialog = true;
  SetSmoothAtStart(true);
  SetSmoothAtEnd(true);
  FModified = false;
}

void TMorphing::Clear() {
  FSource1->Reset();
  FSource2->Reset();
  FreePixBuffers();
  TCanvas& c = FTargetBmp->Canvas();
  c.SetBrushStyle(bsSolid);
  c.SetBrushColor(0xFFFFFF);
  c.FillRect(Rect(0, 0, FTargetBmp->Width(), FTargetBmp->Height()));
  FTriangles.clear();
  FSelectedAngleCount = 0;
}

void TMorphing::Backwards() {
  std::swap(FSource1, FSource2);
  FModified = true;
}

std::string TMorphing::ModusAsString() const {
  switch (FMorphMode) {
    case mm_ImgSel:
      return "ImageSelect";
    case mm_Points:
      return "Pointsetting";
    case mm_Net:
      return "Triangles";
  }
  return "";
}

std::string TMorphing::GetStatusAsString() const {
  std::string s = "ausgewähte Punkte: " + std::to_string(FSelectedAngleCount) + "  (";
  for (int32_t i = 0; i < FSelectedAngleCount; ++i) s += std::to_string(FSelectedAngles[i]) + ",";
  if (!s.empty() && s.back() == ',') s.pop_back();
  s += ")\r";
  s += "Modus: " + ModusAsString() + "\r";
  s += std::to_string(FSource1->AngleCount()) + " Punkte, " + std::to_string(FTriangles.size()) +
       " Dreiecke";
  if (arePicturesInSameDir()) s += "\rQuellbilder liegen im selben Ordner";
  return s;
}

bool TMorphing::arePicturesInSameDir() const {
  const std::string d = UpperAZ(FolderOf(FFileName));
  if (UpperAZ(FolderOf(FSource1->SourceImageName())) != d) return false;
  if (UpperAZ(FolderOf(FSource2->SourceImageName())) != d) return false;
  if (FBackGround->BgType() == bg_Pict &&
      UpperAZ(FolderOf(FBackGround->BGPictureName())) != d)
    return false;
  return true;
}

std::string TMorphing::Name() const {
  size_t slash = FFileName.find_last_of("/\\:");
  std::string base = slash == std::string::npos ? FFileName : FFileName.substr(slash + 1);
  size_t dot = base.find_last_of('.');
  if (dot != std::string::npos) base.resize(dot);
  return base.empty() ? "?" : base;
}

// ---------------------------------------------------------------------------------------------
// TMorphing: properties

void TMorphing::SetFramesMorph(int32_t v) { SetAndMark(FFramesMorph, v, FModified); }
void TMorphing::SetStillImagesAtStart(int32_t v) { SetAndMark(FStillImagesAtStart, v, FModified); }
void TMorphing::SetStillImagesAtEnd(int32_t v) { SetAndMark(FStillImagesAtEnd, v, FModified); }
void TMorphing::SetSmoothAtStart(bool v) { SetAndMark(FSmoothAtStart, v, FModified); }
void TMorphing::SetSmoothAtEnd(bool v) { SetAndMark(FSmoothAtEnd, v, FModified); }
void TMorphing::SetSubSeq(int32_t v) { SetAndMark(FSubSeq, v, FModified); }
void TMorphing::SetHorzAlign(THorzAlign v) { SetAndMark(FHorzAlign, v, FModified); }
void TMorphing::SetOffset(TPoint v) { SetAndMark(FOffset, v, FModified); }

void TMorphing::SetGridColor(TColor v) {
  FGridColor = v;
  FModified = true;
}

void TMorphing::SetwithBG(bool v) {
  FWithBG = v;
  FModified = true;
}

void TMorphing::SetMorphMode(TMorphEditMode Value) {
  FMorphMode = Value;
  Select0Point();
  if (Value == mm_Points && FSource1->FAngles.empty()) {
    const int32_t W = FSource1->FResultWidth, H = FSource1->FResultHeight;
    TAngleArray corners{{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
    FSource1->FAngles = corners;
    FSource2->FAngles = corners;
  }
}

// ---------------------------------------------------------------------------------------------
// TMorphing: points

TPoint TMorphing::MirrorPoint(TPoint pt, const TMorphSource& from, const TMorphSource& to) const {
  const TAngleArray& F = from.FAngles;
  if (F.empty()) return pt;
  size_t k = 0;
  int64_t best = INT_MAX;
  for (size_t j = 4; j < F.size(); ++j) {
    int64_t d = std::llabs(int64_t(pt.X) - F[j].X) + std::llabs(int64_t(pt.Y) - F[j].Y);
    if (d < best) {
      best = d;
      k = j;
    }
  }
  // The partner list has the same length; guard anyway against an uneven document.
  TPoint partner = k < to.FAngles.size() ? to.FAngles[k] : F[k];
  TPoint q{int32_t(int64_t(pt.X) - F[k].X + partner.X), int32_t(int64_t(pt.Y) - F[k].Y + partner.Y)};
  to.ClampPoint(q);
  return q;
}

void TMorphing::AddPoint(TMorphSource& ms, TPoint pt) {
  TMorphSource& other = OtherSource(ms);
  other.AddPoint(MirrorPoint(pt, ms, other));
  ms.AddPoint(pt);
  FModified = true;
}

void TMorphing::DeletePoint(int32_t i) {
  if (i < 0 || i >= FSource1->AngleCount()) return;
  DeleteTrianglesContaining(i);
  FSource1->DeletePoint(i);
  FSource2->DeletePoint(i);
  HandleTrianglesContaining(i);
}

// ---------------------------------------------------------------------------------------------
// TMorphing: triangles

void TMorphing::AppendTriangle(const TTrianglePerIndex& t) {
  FTriangles.push_back(t);
  FModified = true;
}

void TMorphing::AddSelectedTriangle() {
  if (FSelectedAngleCount != 3) return;
  AppendTriangle(FSelectedAngles);
  UpdateTriangleMasks();
}

void TMorphing::ToggleSelectedTriangle() {
  if (FSelectedAngleCount != 3) return;
  int32_t k = GetTriangleIndex(FSelectedAngles);
  if (k < 0) {
    AppendTriangle(FSelectedAngles);
    UpdateTriangleMasks();
  } else {
    DeleteTriangle(k);
  }
}

void TMorphing::DeleteTriangle(int32_t i) {
  if (i < 0 || i >= TriangleCount()) return;
  FTriangles.erase(FTriangles.begin() + i);
  UpdateTriangleMasks();
  FModified = true;
}

bool TMorphing::TriangleHasPoint(int32_t a, const TTrianglePerIndex& t) {
  return t[0] == a || t[1] == a || t[2] == a;
}

int32_t TMorphing::GetTriangleIndex(const TTrianglePerIndex& aTriangle) const {
  for (size_t i = 0; i < FTriangles.size(); ++i) {
    const auto& t = FTriangles[i];
    if (TriangleHasPoint(aTriangle[0], t) && TriangleHasPoint(aTriangle[1], t) &&
        TriangleHasPoint(aTriangle[2], t))
      return int32_t(i);
  }
  return -1;
}

void TMorphing::DeleteTrianglesContaining(int32_t aPointIndex) {
  for (int32_t i = TriangleCount() - 1; i >= 0; --i)
    if (TriangleHasPoint(aPointIndex, FTriangles[i])) DeleteTriangle(i);
}

void TMorphing::HandleTrianglesContaining(int32_t aPointIndex) {
  for (int32_t i = TriangleCount() - 1; i >= 0; --i)
    if (!TriangleHasPoint(aPointIndex, FTriangles[i])) DecIndexesAbove(aPointIndex, FTriangles[i]);
}

void TMorphing::DecIndexesAbove(int32_t aPointIndex, TTrianglePerIndex& aTriangle) {
  for (int32_t& idx : aTriangle)
    if (idx > aPointIndex) --idx;
}

void TMorphing::DropInvalidTriangles() {
  const int32_t n = std::min(FSource1->AngleCount(), FSource2->AngleCount());
  std::erase_if(FTriangles, [n](const TTrianglePerIndex& t) {
    return std::any_of(t.begin(), t.end(), [n](int32_t i) { return i < 0 || i >= n; });
  });
}

// ---------------------------------------------------------------------------------------------
// TMorphing: selection

void TMorphing::Select1Point(int32_t aPointIndex) {
  if (aPointIndex < 0) {
    FSelectedAngleCount = 0;
    return;
  }
  FSelectedAngleCount = 1;
  FSelectedAngles[0] = aPointIndex;
}

void TMorphing::Select3Points(const TTrianglePerIndex& t3) {
  FSelectedAngleCount = 3;
  FSelectedAngles = t3;
}

void TMorphing::SelectTrianglePoints(int32_t triangleIndex) {
  if (triangleIndex < 0 || triangleIndex >= TriangleCount()) return;
  Select3Points(FTriangles[triangleIndex]);
}

bool TMorphing::IsPointSelected(int32_t a) const {
  for (int32_t i = 0; i < FSelectedAngleCount; ++i)
    if (FSelectedAngles[i] == a) return true;
  return false;
}

int32_t TMorphing::AddSelectedPoint(int32_t aPointIndex) {
  if (IsPointSelected(aPointIndex)) {
    Select1Point(aPointIndex);
    return 1;
  }
  FSelectedAngleCount = std::min(FSelectedAngleCount + 1, 3);
  if (FSelectedAngleCount == 3) {
    FSelectedAngleCount = 0;
    FSelectedAngles[2] = aPointIndex;
    int32_t k = GetTriangleIndex(FSelectedAngles);
    if (k >= 0) {
      DeleteTriangle(k);
      return -2;
    }
    AppendTriangle(FSelectedAngles);
    UpdateTriangleMasks();
    return 0;
  }
  FSelectedAngles[FSelectedAngleCount - 1] = aPointIndex;
  return FSelectedAngleCount;
}

}  // namespace qv
