#include "QtCanvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "Bitmap.h"

namespace qv {

namespace {

// Opaque Qt pixel (0xffRRGGBB) of pixel x of a bitmap row.
inline uint32_t RowPixel(const uint8_t* row, int32_t x, TPixelFormat pf) {
  if (pf == pf32bit) return reinterpret_cast<const uint32_t*>(row)[x] | 0xff000000u;
  const uint8_t* p = row + size_t(x) * 3;
  return 0xff000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// Source index of each destination position for a nearest-neighbour stretch of srcSize onto
// destSize, for the positions first .. first + count - 1 (relative to the destination start).
std::vector<int32_t> NearestMap(int32_t first, int32_t count, int32_t srcSize, int32_t destSize) {
  std::vector<int32_t> map(size_t(std::max(count, 0)));
  for (int32_t i = 0; i < count; ++i)
    map[size_t(i)] = int32_t(int64_t(first + i) * srcSize / destSize);
  return map;
}

}  // namespace

QColor ToQColor(TColor c) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

namespace {

// Fills image (of the bitmap's size) with the bitmap, top row first.
void ConvertBitmap(const TBitmap& bmp, QImage& image) {
  const int32_t w = bmp.Width(), h = bmp.Height();
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = bmp.ScanLine(y);
    auto* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
    if (bmp.PixelFormat() == pf32bit) {
      const auto* in = reinterpret_cast<const uint32_t*>(row);
      for (int32_t x = 0; x < w; ++x) out[x] = in[x] | 0xff000000u;
    } else {
      for (int32_t x = 0; x < w; ++x) out[x] = RowPixel(row, x, pf24bit);
    }
  }
}

// A picture drawn lately by LinearStretchDraw: a copy of the bitmap's bytes, its conversion and
// its last reduction. The source panes draw the same pictures again for every change of their
// overlays; comparing the bytes with the copy costs a fraction of converting and smoothing.
struct TDrawnPicture {
  int32_t W = 0, H = 0;
  TPixelFormat Format = pf24bit;
  std::vector<uint8_t> Bytes;
  QImage Image, Reduced;
  uint64_t LastUse = 0;
};

bool Shows(const TDrawnPicture& p, const TBitmap& bmp) {
  return p.W == bmp.Width() && p.H == bmp.Height() && p.Format == bmp.PixelFormat() &&
         p.Bytes.size() == bmp.ImageSize() &&
         std::memcmp(p.Bytes.data(), bmp.Bits(), p.Bytes.size()) == 0;
}

// The entry showing bmp; when there is none, the least recently used one is made to show it.
TDrawnPicture& DrawnPicture(const TBitmap& bmp) {
  thread_local std::array<TDrawnPicture, 2> pictures;  // one per source pane
  thread_local uint64_t uses = 0;
  for (TDrawnPicture& p : pictures)
    if (Shows(p, bmp)) {
      p.LastUse = ++uses;
      return p;
    }
  TDrawnPicture& p = *std::min_element(
      pictures.begin(), pictures.end(),
      [](const TDrawnPicture& l, const TDrawnPicture& r) { return l.LastUse < r.LastUse; });
  p.W = bmp.Width();
  p.H = bmp.Height();
  p.Format = bmp.PixelFormat();
  p.Bytes.assign(bmp.Bits(), bmp.Bits() + bmp.ImageSize());
  if (p.Image.width() != p.W || p.Image.height() != p.H)
    p.Image = QImage(p.W, p.H, QImage::Format_RGB32);
  if (!p.Image.isNull()) ConvertBitmap(bmp, p.Image);
  p.Reduced = QImage();
  p.LastUse = ++uses;
  return p;
}

}  // namespace

QImage BitmapToImage(const TBitmap& bmp) {
  // Callers convert the same picture size again and again: a buffer nobody holds any more is
  // filled again instead of allocating (and faulting in) megabytes each time.
  thread_local QImage reusable;
  const int32_t w = bmp.Width(), h = bmp.Height();
  if (reusable.width() != w || reusable.height() != h || !reusable.isDetached())
    reusable = QImage(w, h, QImage::Format_RGB32);
  if (!reusable.isNull()) ConvertBitmap(bmp, reusable);
  return reusable;
}

TQtCanvas::TQtCanvas(QPainter& painter) : FPainter(painter) {
  FPainter.setRenderHint(QPainter::Antialiasing, false);
  FPainter.setBackgroundMode(Qt::TransparentMode);
}

QBrush TQtCanvas::CurrentBrush() const {
  switch (FBrushStyle) {
    case bsSolid:
      return QBrush(ToQColor(FBrushColor), Qt::SolidPattern);
    case bsBDiagonal:
      return QBrush(ToQColor(FBrushColor), Qt::BDiagPattern);
    case bsClear:
      break;
  }
  return QBrush(Qt::NoBrush);
}

QPen TQtCanvas::CurrentPen(Qt::PenCapStyle cap) const {
  QPen pen(ToQColor(FPenColor), 0);  // cosmetic: one pixel wide at any scale
  pen.setCapStyle(cap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

QRect TQtCanvas::Reach() const {
  QRect r;
  if (QPaintDevice* d = FPainter.device()) r = QRect(0, 0, d->width(), d->height());
  if (FPainter.hasClipping()) r &= FPainter.clipBoundingRect().toAlignedRect();
  return FPainter.transform().inverted().mapRect(r);
}

void TQtCanvas::FillRect(const TRect& r) {
  if (FBrushStyle == bsClear || r.Width() <= 0 || r.Height() <= 0) return;
  FPainter.fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), CurrentBrush());
}

void TQtCanvas::Polygon(const TPoint* points, size_t count) {
  if (!points || count == 0) return;
  QPolygon poly{qsizetype(count)};
  for (size_t i = 0; i < count; ++i) poly.setPoint(qsizetype(i), points[i].X, points[i].Y);
  FPainter.setPen(CurrentPen(Qt::SquareCap));
  FPainter.setBrush(CurrentBrush());
  FPainter.drawPolygon(poly);
}

void TQtCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  const int32_t w = x2 - x1, h = y2 - y1;
  if (w <= 0 || h <= 0) return;
  if (w > 2 && h > 2 && FBrushStyle != bsClear)
    FPainter.fillRect(QRect(x1 + 1, y1 + 1, w - 2, h - 2), CurrentBrush());
  const QColor pen = ToQColor(FPenColor);
  FPainter.fillRect(QRect(x1, y1, w, 1), pen);
  FPainter.fillRect(QRect(x1, y2 - 1, w, 1), pen);
  FPainter.fillRect(QRect(x1, y1, 1, h), pen);
  FPainter.fillRect(QRect(x2 - 1, y1, 1, h), pen);
}

void TQtCanvas::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x1 == x2 && y1 == y2) return;
  FPainter.setPen(CurrentPen(Qt::FlatCap));  // a flat cap leaves the end pixel out
  FPainter.drawLine(x1, y1, x2, y2);
}

template <typename RowOf>
void TQtCanvas::Blit(const QRect& dest, const TBitmap& src, const std::vector<int32_t>& colOf,
                     RowOf rowOf, const uint8_t* mask) {
  if (dest.isEmpty()) return;
  const QImage::Format format = mask ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (FScratch.format() != format || FScratch.width() < dest.width() ||
      FScratch.height() < dest.height())
    FScratch = QImage(std::max(dest.width(), FScratch.width()),
                      std::max(dest.height(), FScratch.height()), format);
  const TPixelFormat pf = src.PixelFormat();
  for (int32_t y = 0; y < dest.height(); ++y) {
    const int32_t sy = rowOf(dest.top() + y);
    const uint8_t* row = src.ScanLine(sy);
    auto* out = reinterpret_cast<uint32_t*>(FScratch.scanLine(y));
    for (int32_t x = 0; x < dest.width(); ++x) {
      const int32_t sx = colOf[size_t(x)];
      uint32_t v = RowPixel(row, sx, pf);
      if (mask && mask[size_t(sy) * size_t(src.Width()) + size_t(sx)] == 0) v = 0;
      out[x] = v;
    }
  }
  FPainter.drawImage(dest.topLeft(), FScratch, QRect(0, 0, dest.width(), dest.height()));
}

void TQtCanvas::Draw(int32_t x, int32_t y, const TBitmap& src, const uint8_t* mask) {
  CopyArea(Rect(x, y, x + src.Width(), y + src.Height()), src,
           Rect(0, 0, src.Width(), src.Height()), mask);
}

void TQtCanvas::CopyRect(const TRect& dest, const TBitmap& src, const TRect& source) {
  CopyArea(dest, src, source, nullptr);
}

void TQtCanvas::CopyArea(const TRect& dest, const TBitmap& src, const TRect& source,
                         const uint8_t* mask) {
  if (src.Empty()) return;
  // Clip the source to the bitmap and the destination to the device, keeping them aligned.
  const int32_t dx = dest.Left - source.Left, dy = dest.Top - source.Top;
  QRect s = QRect(source.Left, source.Top, std::min(source.Width(), dest.Width()),
                  std::min(source.Height(), dest.Height())) &
            QRect(0, 0, src.Width(), src.Height());
  QRect d = s.translated(dx, dy) & Reach();
  if (d.isEmpty()) return;
  std::vector<int32_t> cols(size_t(d.width()));
  for (int32_t i = 0; i < d.width(); ++i) cols[size_t(i)] = d.left() + i - dx;
  Blit(
      d, src, cols, [dy](int32_t y) { return y - dy; }, mask);
}

void TQtCanvas::StretchDraw(const TRect& dest, const TBitmap& src) {
  const int32_t dw = dest.Width(), dh = dest.Height();
  if (src.Empty() || dw <= 0 || dh <= 0) return;
  QRect d = QRect(dest.Left, dest.Top, dw, dh) & Reach();
  if (d.isEmpty()) return;
  std::vector<int32_t> cols = NearestMap(d.left() - dest.Left, d.width(), src.Width(), dw);
  const int32_t sh = src.Height(), top = dest.Top;
  Blit(
      d, src, cols, [sh, dh, top](int32_t y) { return int32_t(int64_t(y - top) * sh / dh); },
      nullptr);
}

void TQtCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  QFont font = FPainter.font();
  font.setPixelSize(std::max(FFontHeight, 1));
  FPainter.setFont(font);
  FPainter.setPen(QPen(Qt::black));
  FPainter.drawText(x, y + QFontMetrics(font).ascent(), QString::fromUtf8(text.c_str()));
}

void TQtCanvas::LinearStretchDraw(const TRect& dest, const TBitmap& src) {
  const int32_t dw = dest.Width(), dh = dest.Height();
  if (src.Empty() || dw <= 0 || dh <= 0) return;
  TDrawnPicture& picture = DrawnPicture(src);
  const QImage& working = picture.Image;
  if (dw < src.Width()) {
    // Reduction: Qt's smooth scaling averages over the whole covered source area.
    if (picture.Reduced.width() != dw || picture.Reduced.height() != dh)
      picture.Reduced = working.scaled(dw, dh, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    FPainter.drawImage(QPoint(dest.Left, dest.Top), picture.Reduced);
    return;
  }
  // Enlargement or same size: bilinear interpolation, computed only where the device is reached.
  FPainter.save();
  FPainter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  FPainter.drawImage(QRect(dest.Left, dest.Top, dw, dh), working);
  FPainter.restore();
}

}  // namespace qv
