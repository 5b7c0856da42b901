// The morph document: a transition from a start picture to an end picture with its two
// sources, corresponding points, triangles, selection and the settings of the video.
//
// TMorph0 is the base shared with the multi-morph sequence; TMorphing is one morphing with two
// TMorphSource objects and a TBackGround. Coordinates are target-frame pixels (X to the right,
// Y downward from the top-left pixel). Everything runs on the caller's thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "DibHeader.h"
#include "PixBuffer.h"
#include "Types.h"

namespace qv {

class TCanvas;
class TIni;
class TMorph0;
class TMorphing;
class TPicture;

// ---------------------------------------------------------------------------------------------
// The surrounding background onto which frames are composed.
class TBackGround {
 public:
  explicit TBackGround(TMorph0* aOwner);
  ~TBackGround();
  TBackGround(const TBackGround&) = delete;
  TBackGround& operator=(const TBackGround&) = delete;

  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t value);
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t value);
  TBgType BgType() const { return FBgType; }
  void SetBgType(TBgType value);
  TColor BGColor() const { return FBgColor; }
  void SetBGColor(TColor value);
  const std::string& BGPictureName() const { return FBGPictureName; }
  void SetBGPictureName(const std::string& value);
  TPicture* BgPicture() const { return FBgPicture.get(); }

  // Makes sure a picture background has its picture, and sizes the owner's BgBmp to Width x Height.
  void AsureBGBMP();
  // Paints BgBmp and the same area of a morphing's target bitmap with one colour.
  void FillBackground(TColor colour);
  // Replaces the picture name without loading anything and without setting the modified flag.
  void ChangeSourceImageName(const std::string& newFn);

  void LoadFromIni(TIni& ini);
  void SaveToIni(TIni& ini);

 private:
  void LoadPictureObject();

  TMorph0* FOwner;
  int32_t FHeight = 0;
  int32_t FWidth = 0;
  TBgType FBgType = bg_Color;
  TColor FBgColor = clBlack;
  std::unique_ptr<TPicture> FBgPicture;
  std::string FBGPictureName;
};

// ---------------------------------------------------------------------------------------------
// The abstract morph document.
class TMorph0 {
 public:
  TMorph0();
  virtual ~TMorph0();
  TMorph0(const TMorph0&) = delete;
  TMorph0& operator=(const TMorph0&) = delete;

  virtual void setTargetImageSize(int32_t aWidth, int32_t aHeight);
  virtual std::string MType() const { return "Morph0"; }
  virtual void SaveToFile(const std::string& fn) = 0;
  // SaveToFile(FileName).
  void Save();
  // Asks before a modified document is given up; true when the caller may go on.
  bool SaveIfModified();

  TBackGround& BackGround() { return *FBackGround; }
  const TBackGround& BackGround() const { return *FBackGround; }
  TBitmap& BgBmp() { return *FBgBmp; }
  int32_t BGFormatIndex() const { return FBGFormatIndex; }
  void SetBGFormatIndex(int32_t v) { FBGFormatIndex = v; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& v) { FFileName = v; }
  int32_t FramesPerSecond() const { return FFramesPerSecond; }
  void SetFramesPerSecond(int32_t v);
  virtual int32_t Width() const { return FWidth; }
  virtual int32_t Height() const { return FHeight; }
  void SetWidth(int32_t v) { FWidth = v; }
  void SetHeight(int32_t v) { FHeight = v; }
  TInterlaceType InterlaceType() const { return FInterlaceType; }
  void SetInterlaceType(TInterlaceType v);
  bool Modified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }
  bool ShowCompressDialog() const { return FShowCompressDialog; }
  void SetShowCompressDialog(bool v) { FShowCompressDialog = v; }

 protected:
  friend class TBackGround;
  std::unique_ptr<TBackGround> FBackGround;
  std::unique_ptr<TBitmap> FBgBmp;
  bool FModified = false;
  TInterlaceType FInterlaceType = it_none;
  int32_t FFramesPerSecond = 0;
  int32_t FBGFormatIndex = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::string FFileName;
  bool FShowCompressDialog = false;
};

// ---------------------------------------------------------------------------------------------
// One source picture of a morphing with its image rectangle, pixel buffer, masks and points.
class TMorphSource {
 public:
  explicit TMorphSource(TMorphing* aOwner);
  ~TMorphSource();
  TMorphSource(const TMorphSource&) = delete;
  TMorphSource& operator=(const TMorphSource&) = delete;

  const TAngleArray& Angles() const { return FAngles; }
  int32_t AngleCount() const { return int32_t(FAngles.size()); }
  const std::string& SourceImageName() const { return FSourceImageName; }
  // Assigns a picture file: loads it, places the image rectangle, resamples the pixel buffer.
  void SetSourceImageName(const std::string& value);
  bool Loaded() const { return FLoaded; }
  TPoint RectOrigin() const { return FRectOrigin; }
  int32_t RectWidth() const { return FSrcRect->Width(); }
  int32_t RectHeight() const { return FSrcRect->Height(); }
  TBitmap& SrcImg() { return *FSrcImg; }
  const TBitmap& SrcImg() const { return *FSrcImg; }
  TBitmap& SrcRect() { return *FSrcRect; }
  const TBitmap& SrcRect() const { return *FSrcRect; }
  uint32_t* SourcePix() { return FSourcePix.get(); }
  const uint32_t* SourcePix() const { return FSourcePix.get(); }
  TBitmap& TriangleMask() { return *FTriangleMask; }
  const uint32_t* IndexMask() const { return FIndexMask.get(); }
  int32_t ResultWidth() const { return FResultWidth; }
  int32_t ResultHeight() const { return FResultHeight; }
  TMorphing& Owner() const { return *FOwner; }

  void Reset();

  // Points.
  void AddPoint(TPoint pt);
  void DeletePoint(int32_t i);
  int32_t PointIndexByCoord(TPoint pt, int32_t delta) const;
  bool setPointData(int32_t i, TPoint pt, bool DeleteOuterPoints);
  void ClampPoint(TPoint& pt) const;
  // Keeps only the first count points (the project loader evens out the two lists).
  void TruncatePoints(int32_t count);

  // Triangle masks and the proposal of a triangle under the mouse.
  void UpdateTriangleMask();
  bool FindOptimalTriangle(TPoint pt, TTrianglePerIndex& triAngle) const;
  int32_t OverlapsExistingTriangle(const TTriangle& t3) const;

  // Target size.
  void ScalePoints(int32_t newW, int32_t newH, int32_t oldH, int32_t oldW);

  // Image rectangle and pixel buffer.
  void ApplyRectWidth(int32_t w);
  void ClampRectOrigin(int32_t x, int32_t y);
  void SetResultSize(int32_t W, int32_t H);
  void UpdateSrcRect(int32_t W, int32_t H);
  void AllocSourcePix(size_t bytes);
  void FreeSourcePix();
  void SaveImageToFile(const std::string& fn);
  void CopySourcePicture(const std::string& dir);
  void ChangeSourceImageName(const std::string& newFn);

  // Project file: the section "Src" + nr ('1' or '2') of ini.
  // Answers true when the point list was longer than the project file's limits allow.
  bool LoadFromFile(TIni& ini, char nr);
  void SaveToFile(TIni& ini, char nr);

 private:
  friend class TMorphing;
  TMorphing* FOwner;
  std::string FSourceImageName;
  std::unique_ptr<TBitmap> FSrcImg;
  std::unique_ptr<TBitmap> FSrcRect;
  std::unique_ptr<TBitmap> FTriangleMask;
  TPoint FRectOrigin;
  int32_t FResultWidth = 0;
  int32_t FResultHeight = 0;
  TPixBuffer FSourcePix;
  TPixBuffer FIndexMask;
  TAngleArray FAngles;
  bool FLoaded = false;
};

// Decodes a picture file into bitmap by its extension; a missing file gives a placeholder
// naming it, an undecodable one an information message and a 300 x 300 picture.
void LoadPicture(const std::string& fileName, TBitmap& bitmap, TMorphSource& source);

// ---------------------------------------------------------------------------------------------
// One morphing.
class TMorphing : public TMorph0 {
 public:
  TMorphing();
  ~TMorphing() override;

  // Document.
  void NewProject(const std::string& fn, int32_t aWidth, int32_t aHeight);
  void Clear();
  void Backwards();
  void SetUnModified() { FModified = false; }
  std::string MType() const override { return "Morphing"; }
  std::string ModusAsString() const;
  std::string GetStatusAsString() const;
  bool arePicturesInSameDir() const;
  bool atLeastOneTriange() const { return !FTriangleTarget.empty(); }

  // Project file.
  void SaveToFile(const std::string& fn) override;
  void LoadFromFile(const std::string& fn);

  // Properties.
  int32_t FramesMorph() const { return FFramesMorph; }
  void SetFramesMorph(int32_t v);
  int32_t StillImagesAtStart() const { return FStillImagesAtStart; }
  void SetStillImagesAtStart(int32_t v);
  int32_t StillImagesAtEnd() const { return FStillImagesAtEnd; }
  void SetStillImagesAtEnd(int32_t v);
  bool SmoothAtStart() const { return FSmoothAtStart; }
  void SetSmoothAtStart(bool v);
  bool SmoothAtEnd() const { return FSmoothAtEnd; }
  void SetSmoothAtEnd(bool v);
  int32_t SubSeq() const { return FSubSeq; }
  void SetSubSeq(int32_t v);
  THorzAlign HorzAlign() const { return FHorzAlign; }
  void SetHorzAlign(THorzAlign v);
  TPoint Offset() const { return FOffset; }
  void SetOffset(TPoint v);
  TColor GridColor() const { return FGridColor; }
  void SetGridColor(TColor v);
  bool withBG() const { return FWithBG; }
  void SetwithBG(bool v);
  TMorphEditMode MorphMode() const { return FMorphMode; }
  void SetMorphMode(TMorphEditMode Value);
  int32_t CurrentZoom() const { return FCurrentZoom; }
  void SetCurrentZoom(int32_t v) { FCurrentZoom = v; }
  const TVersionNr& Version() const { return FVersion; }
  void SetVersion(const TVersionNr& v) { FVersion = v; }

  TMorphSource& Source1() { return *FSource1; }
  const TMorphSource& Source1() const { return *FSource1; }
  TMorphSource& Source2() { return *FSource2; }
  const TMorphSource& Source2() const { return *FSource2; }
  // The other source of a morphing.
  TMorphSource& OtherSource(const TMorphSource& ms) {
    return &ms == FSource1.get() ? *FSource2 : *FSource1;
  }
  TBitmap& TargetBmp() { return *FTargetBmp; }
  const TBitmap& TargetBmp() const { return *FTargetBmp; }
  // The target's pixel buffer: the memory of the 32-bit target bitmap itself, so that reading
  // the bitmap into it and writing it back cost nothing.
  uint32_t* TargetPix() { return FTargetPix; }
  const TAngleArray& TargetAngles() const { return FTargetAngles; }
  TBitmap& TargetRectIdxBmp() { return *FTargetRectIdxBmp; }
  // The triangle index map of the current frame: the memory of the raster TargetRectIdxBmp.
  const uint32_t* TriangleIndexes() const { return FTriangleIndexes; }
  int32_t AngleCount() const { return FSource1->AngleCount(); }
  int32_t Width() const override { return FTargetBmp->Width(); }
  int32_t Height() const override { return FTargetBmp->Height(); }
  bool Paintable() const { return FTargetPix && FSource1->Loaded() && FSource2->Loaded(); }
  std::string Name() const;

  // Points.
  void AddPoint(TMorphSource& ms, TPoint pt);
  TPoint MirrorPoint(TPoint pt, const TMorphSource& from, const TMorphSource& to) const;
  void DeletePoint(int32_t i);

  // Triangles.
  const std::vector<TTrianglePerIndex>& Triangles() const { return FTriangles; }
  int32_t TriangleCount() const { return int32_t(FTriangles.size()); }
  void AppendTriangle(const TTrianglePerIndex& t);
  void AddSelectedTriangle();
  void ToggleSelectedTriangle();
  void DeleteTriangle(int32_t i);
  int32_t GetTriangleIndex(const TTrianglePerIndex& aTriangle) const;
  static bool TriangleHasPoint(int32_t a, const TTrianglePerIndex& t);
  void DeleteTrianglesContaining(int32_t aPointIndex);
  void HandleTrianglesContaining(int32_t aPointIndex);
  static void DecIndexesAbove(int32_t aPointIndex, TTrianglePerIndex& aTriangle);
  // Drops triangles whose indexes name no point of both sources (used after loading).
  void DropInvalidTriangles();

  // Selection.
  int32_t SelectedAngleCount() const { return FSelectedAngleCount; }
  const TTrianglePerIndex& SelectedAngles() const { return FSelectedAngles; }
  void Select0Point() { FSelectedAngleCount = 0; }
  void Select1Point(int32_t aPointIndex);
  void Select3Points(const TTrianglePerIndex& t3);
  void SelectTrianglePoints(int32_t triangleIndex);
  bool IsPointSelected(int32_t a) const;
  int32_t AddSelectedPoint(int32_t aPointIndex);

  // Triangle geometry: the triangle covering pt in source's mask, or -1.
  int32_t GetTriangleIndex(TPoint pt, const TAngleArray& theAngles,
                           const TMorphSource& source) const;
  void UpdateTriangleMasks();

  // Frame synthesis.
  void MakeFramesInit();
  void UpdateTargetAngles(int32_t nom, int32_t denom);
  void UpdateTargetPict();
  void Make1Frame(int32_t nomi, int32_t denom, TOddEvenBoth OddEvenBoth, bool BgDraw);
  void MakeFramesClose() {}
  void FreePixBuffers();
  void GetTargetBitmapInfo(TBitmapInfoHeader& bi, uint16_t aBitCount) const;
  static void GetAnglePoints(TTriangle& DestTriangle, const TTrianglePerIndex& srcTriangle,
                             const TAngleArray& AnglePoints);
  // Cross-dissolve of both sources at p/m into the target (the preview's blend mode).
  void BlendFrame(int32_t p, int32_t m);

  // Easing: the angle range of an eased transition.
  void optimizeXRange(long double& xa, long double& xe) const;

  // Target size and background.
  void setTargetImageSize(int32_t aWidth, int32_t aHeight) override;
  void updateBgBmp();

  // Image rectangles.
  void setRectOrigin(TMorphSource& Source, TPoint pt);
  void setRectWidth(TMorphSource& Source, int32_t w);
  void UpdateSourcePixBuffers();

  // Overlays, drawn scaled from target pixels to a pane aWidth pixels wide.
  void DrawTriangles(TCanvas& Canvas, int32_t aWidth, int32_t aHeight,
                     const TAngleArray& theAngles, bool forColorIndexes,
                     bool showSelectedTriangle);
  static void DrawTriangle(TCanvas& Canvas, const TTriangle& Triangle);
  void DrawSelectedAngle(TCanvas& Canvas, int32_t aWidth, const TAngleArray& theAngles);
  void DrawAnglePoints(TCanvas& Canvas, int32_t aWidth, const TAngleArray& theAngles,
                       bool filled);
  void DrawAngleIndexes(TCanvas& Canvas, int32_t aWidth);
  static void GetAnglePoints(TTriangle& DestTriangle, const TTrianglePerIndex& srcTriangle,
                             const TAngleArray& AnglePoints, int32_t aWidth, int32_t tWidth);

 private:
  friend class TMorphSource;
  void RasterizeTriangles(TBitmap& raster, const TAngleArray& angles, int32_t w, int32_t h);
  void DrawBackgroundForFrame();
  void DrawPictureBackground();
  void CheckFrameRequest(int32_t denom) const;

  std::unique_ptr<TMorphSource> FSource1;
  std::unique_ptr<TMorphSource> FSource2;
  std::unique_ptr<TBitmap> FTargetBmp;
  uint32_t* FTargetPix = nullptr;
  TMorphEditMode FMorphMode = mm_ImgSel;
  TVersionNr FVersion;
  int32_t FSelectedAngleCount = 0;
  TTrianglePerIndex FSelectedAngles{0, 0, 0};
  std::vector<TTrianglePerIndex> FTriangles;
  TAngleArray FTargetAngles;
  std::unique_ptr<TBitmap> FTargetRectIdxBmp;
  const uint32_t* FTriangleIndexes = nullptr;
  int32_t FCurrentZoom = 1000;
  std::vector<TTriangle> FTriangleTarget;
  std::vector<TTriangle> FTriangleSource1;
  std::vector<TTriangle> FTriangleSource2;
  int32_t FStillImagesAtEnd = 0;
  int32_t FStillImagesAtStart = 0;
  int32_t FFramesMorph = 100;
  TColor FGridColor = 56797;
  bool FSmoothAtStart = true;
  bool FSmoothAtEnd = true;
  bool FWithBG = false;
  TPoint FOffset;
  int32_t FSubSeq = 0;
  THorzAlign FHorzAlign = ha_none;
};

}  // namespace qv
