// The TCanvas drawing operations on a QPainter, so that the engine's overlay drawing and the
// panes' pictures reach any Qt paint device (a pane, a QImage). Pixels are exact: no
// anti-aliasing, 1-pixel pens, the hatched brush drawn transparently.
#pragma once

#include <QImage>
#include <QPainter>
#include <vector>

#include "Canvas.h"

namespace qv {

class TBitmap;

// The bitmap as a top-down opaque 32-bit QImage (a copy).
QImage BitmapToImage(const TBitmap& bmp);
// Qt colour of a 0x00BBGGRR colour.
QColor ToQColor(TColor c);

class TQtCanvas : public TCanvas {
 public:
  explicit TQtCanvas(QPainter& painter);

  void FillRect(const TRect& r) override;
  void Polygon(const TPoint* points, size_t count) override;
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Draw(int32_t x, int32_t y, const TBitmap& src, const uint8_t* mask = nullptr) override;
  void StretchDraw(const TRect& dest, const TBitmap& src) override;
  void CopyRect(const TRect& dest, const TBitmap& src, const TRect& source) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;

  // Resampling stretch of the source panes: averages over the covered source area when
  // reducing, interpolates linearly between neighbouring pixels when enlarging.
  void LinearStretchDraw(const TRect& dest, const TBitmap& src);

 private:
  QBrush CurrentBrush() const;
  QPen CurrentPen(Qt::PenCapStyle cap) const;
  // 1:1 copy of the area source of src to dest, clipped; with a mask only where it is not 0.
  void CopyArea(const TRect& dest, const TBitmap& src, const TRect& source, const uint8_t* mask);
  // The part of the device that drawing can reach.
  QRect Reach() const;
  // Draws the pixels (x, y) of dest, each taken from the source pixel (colOf[x - left],
  // rowOf(y)) of src; with a mask only where its byte is not 0.
  template <typename RowOf>
  void Blit(const QRect& dest, const TBitmap& src, const std::vector<int32_t>& colOf, RowOf rowOf,
            const uint8_t* mask);
  QPainter& FPainter;
  QImage FScratch;  // the pixels of the last blit, kept to save allocations
};

}  // namespace qv
