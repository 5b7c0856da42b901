// Points, triangles and the selection drawn over a pane, scaled from target pixels to the
// pane's width.
#include "Overlay.h"

#include "Canvas.h"
#include "Morph.h"

namespace qv {

namespace {
int32_t gPointSize = 3;

constexpr TColor kPointOutline = 0x0000AA;
constexpr TColor kSelectedPointOutline = 0xFFFF00;
constexpr TColor kPointFill = 0x00FFFF;
constexpr TColor kSelectedTriangle = 0xEEEE00;
}  // namespace

int32_t PointSize() { return gPointSize; }
void SetPointSize(int32_t s) {
  // Only the three sizes of the View menu; anything else (a damaged setting) keeps the size.
  if (s >= 2 && s <= 4) gPointSize = s;
}

void TMorphing::GetAnglePoints(TTriangle& DestTriangle, const TTrianglePerIndex& srcTriangle,
                               const TAngleArray& AnglePoints, int32_t aWidth, int32_t tWidth) {
  GetAnglePoints(DestTriangle, srcTriangle, AnglePoints);
  for (TPoint& p : DestTriangle) p = TPoint{MulDiv(p.X, aWidth, tWidth), MulDiv(p.Y, aWidth, tWidth)};
}

void TMorphing::DrawTriangle(TCanvas& Canvas, const TTriangle& Triangle) {
  Canvas.Polygon(Triangle.data(), 3);
}

void TMorphing::DrawTriangles(TCanvas& Canvas, int32_t aWidth, int32_t aHeight,
                              const TAngleArray& theAngles, bool forColorIndexes,
                              bool showSelectedTriangle) {
  if (forColorIndexes) {
    Canvas.SetBrushStyle(bsSolid);
    Canvas.SetBrushColor(clBlack);
    Canvas.FillRect(Rect(0, 0, aWidth, aHeight));
  } else {
    Canvas.SetBrushStyle(bsBDiagonal);
  }
  // Setting the colour must not undo the hatch: only a clear brush turns solid on a colour.
  Canvas.SetBrushColor(FGridColor);
  Canvas.SetPenColor(FGridColor);
  const int32_t tW = Width();
  for (size_t i = 0; i < FTriangles.size(); ++i) {
    if (forColorIndexes) {
      Canvas.SetBrushColor(TColor(i + 1));
      Canvas.SetPenColor(TColor(i + 1));
    }
    TTriangle t;
    GetAnglePoints(t, FTriangles[i], theAngles, aWidth, tW);
    DrawTriangle(Canvas, t);
  }
  if (showSelectedTriangle) DrawSelectedAngle(Canvas, aWidth, theAngles);
}

void TMorphing::DrawSelectedAngle(TCanvas& Canvas, int32_t aWidth, const TAngleArray& theAngles) {
  if (FSelectedAngleCount != 3) return;
  Canvas.SetBrushStyle(bsClear);
  Canvas.SetPenColor(kSelectedTriangle);
  TTriangle t;
  GetAnglePoints(t, FSelectedAngles, theAngles, aWidth, Width());
  DrawTriangle(Canvas, t);
}

void TMorphing::DrawAnglePoints(TCanvas& Canvas, int32_t aWidth, const TAngleArray& theAngles,
                                bool filled) {
  const int32_t tW = Width();
  const int32_t s = gPointSize;
  Canvas.SetBrushStyle(bsSolid);
  Canvas.SetBrushColor(kPointFill);
  Canvas.SetPenColor(kPointOutline);
  const int32_t aHeight = MulDiv(Height(), aWidth, tW);
  for (size_t i = 0; i < theAngles.size(); ++i) {
    int32_t x = MulDiv(theAngles[i].X, aWidth, tW);
    int32_t y = MulDiv(theAngles[i].Y, aWidth, tW);
    const bool selected = IsPointSelected(int32_t(i));
    if (x == 0) x = 1;
    if (y == 0) y = 1;
    if (x >= aWidth) x = aWidth - 1;
    if (y >= aHeight) y = aHeight - 1;
    if (selected) {
      Canvas.SetBrushColor(kPointOutline);
      Canvas.SetPenColor(kSelectedPointOutline);
    }
    if (filled)
      Canvas.SetBrushColor(kPointFill);
    else
      Canvas.SetBrushStyle(bsClear);
    Canvas.Rectangle(x - s, y - s, x + s, y + s);
    Canvas.Line(x, y, x + 1, y);
    if (selected) {
      Canvas.SetBrushColor(kPointFill);
      Canvas.SetPenColor(kPointOutline);
    }
  }
}

void TMorphing::DrawAngleIndexes(TCanvas& Canvas, int32_t aWidth) {
  Canvas.StretchDraw(Rect(0, 0, aWidth, MulDiv(aWidth, Height(), Width())), *FTargetRectIdxBmp);
}

}  // namespace qv
