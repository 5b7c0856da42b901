// The main window's three panes: layout, zoom, coordinate mapping, painting, view options.
#include <QAction>
#include <QActionGroup>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "Dialogs.h"
#include "Morph.h"
#include "MorphForm.h"
#include "Overlay.h"
#include "PaintBox.h"
#include "QtCanvas.h"
#include "StorageAccess.h"

namespace qv {

namespace {

QScrollArea* NewScrollBox(QWidget* parent, const QString& name, TPaintBox*& paintBox,
                          const QString& boxName) {
  auto* box = new QScrollArea(parent);
  box->setObjectName(name);
  box->setWidgetResizable(false);
  box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  box->setFocusPolicy(Qt::NoFocus);
  paintBox = new TPaintBox;
  paintBox->setObjectName(boxName);
  box->setWidget(paintBox);
  return box;
}

}  // namespace

void TForm1::CreatePanes() {
  PanelImages = new QWidget;
  PanelImages->setObjectName(QStringLiteral("PanelImages"));
  PanelImages->installEventFilter(this);  // PanelImagesResize
  ScrollBoxSrc1 = NewScrollBox(PanelImages, "ScrollBoxSrc1", PaintBoxSrc1, "PaintBoxSrc1");
  ScrollBoxSrc2 = NewScrollBox(PanelImages, "ScrollBoxSrc2", PaintBoxSrc2, "PaintBoxSrc2");
  ScrollBoxTarget = NewScrollBox(PanelImages, "ScrollBoxTarget", PaintBoxTarget, "PaintBoxTarget");
  PaintBoxSrc1->OnPaint = [this](QPainter& p, const QRect&) {
    PaintSourcePane(p, *PaintBoxSrc1, FMorphing->Source1());
  };
  PaintBoxSrc2->OnPaint = [this](QPainter& p, const QRect&) {
    PaintSourcePane(p, *PaintBoxSrc2, FMorphing->Source2());
  };
  PaintBoxTarget->OnPaint = [this](QPainter& p, const QRect&) { PaintBoxTargetPaint(p); };
  PaintBoxTarget->setMouseTracking(false);
  PaintBoxTarget->setAttribute(Qt::WA_TransparentForMouseEvents);
  ConnectPane(*PaintBoxSrc1, 1);
  ConnectPane(*PaintBoxSrc2, 2);
  CoupleScrollBars();

  Memo2 = new QPlainTextEdit(PanelImages);
  Memo2->setObjectName(QStringLiteral("Memo2"));
  Memo2->setReadOnly(true);
  Memo2->setFocusPolicy(Qt::NoFocus);
  Memo2->setFont(QFont(QStringLiteral("Arial"), 10));
  Memo2->hide();
}

// Scrolling one pane moves the other two to the same place.
void TForm1::CoupleScrollBars() {
  const QScrollArea* boxes[] = {ScrollBoxSrc1, ScrollBoxSrc2, ScrollBoxTarget};
  for (const QScrollArea* from : boxes)
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
      QScrollBar* bar =
          o == Qt::Horizontal ? from->horizontalScrollBar() : from->verticalScrollBar();
      connect(bar, &QScrollBar::valueChanged, this, [this, boxes, from, o](int value) {
        if (FSyncingScroll) return;
        FSyncingScroll = true;
        for (const QScrollArea* to : boxes)
          if (to != from)
            (o == Qt::Horizontal ? to->horizontalScrollBar() : to->verticalScrollBar())
                ->setValue(value);
        FSyncingScroll = false;
      });
    }
}

void TForm1::PanelImagesResize() {
  const int w = PanelImages->width() / 3;
  const int h = PanelImages->height();
  ScrollBoxSrc1->setGeometry(0, 0, w, h);
  ScrollBoxSrc2->setGeometry(w, 0, w, h);
  ScrollBoxTarget->setGeometry(2 * w, 0, w, h);
  Memo2->setGeometry(8, 8, std::max(2 * w - 16, 0), std::max(h - 16, 0));
  TrackBar1->setGeometry(PanelBottom->width() - w, TrackBar1->y(), w, TrackBar1->height());
  if (AutoZoom()) SetZoom(GetFitZoom());
}

int32_t TForm1::GetFitZoom() const {
  return std::min(MulDiv(1000, ScrollBoxTarget->width() - 4, FMorphing->Width()),
                  MulDiv(1000, ScrollBoxTarget->height() - 4, FMorphing->Height()));
}

void TForm1::SetZoom(int32_t v) {
  FMorphing->SetCurrentZoom(v);
  FZoom = v;
  const int w = std::max(MulDiv(FMorphing->Width(), v, 1000), 0);
  const int h = std::max(MulDiv(FMorphing->Height(), v, 1000), 0);
  for (TPaintBox* box : {PaintBoxSrc1, PaintBoxSrc2, PaintBoxTarget}) box->resize(w, h);
  invalidateAll();
}

bool TForm1::AutoZoom() const {
  return ActionZoomAuto->isChecked();
}

void TForm1::SetAutoZoom(bool b) {
  if (b) {
    SetZoom(GetFitZoom());
    ActionZoomAuto->setChecked(true);
  } else {
    ActionZoomAuto->setChecked(false);
  }
}

void TForm1::ZoomCommand(QAction* which) {
  if (which == ActionZoomAuto) {
    // The action has toggled its check already.
    if (ActionZoomAuto->isChecked())
      SetAutoZoom(true);
    else
      SetZoom(1000);
    return;
  }
  SetAutoZoom(false);
  which->setChecked(true);
  if (which == ActionZoomNormal)
    SetZoom(1000);
  else if (which == ActionZoomIn)
    SetZoom(MulDiv(FZoom, 1200, 1000));
  else if (FZoom > 200)
    SetZoom(MulDiv(FZoom, 1000, 1200));
}

TPoint TForm1::ScreenToImagePoint(QPoint p) const {
  const int32_t tw = FMorphing->Width(), pw = PaintBoxSrc1->width();
  return TPoint{MulDiv(p.x(), tw, pw), MulDiv(p.y(), tw, pw)};
}

int32_t TForm1::ScreenToImageLength(int32_t n) const {
  return MulDiv(n, FMorphing->Width(), PaintBoxSrc1->width());
}

void TForm1::invalidateAll() {
  invalidateBoth();
  RepaintTarget();
}

void TForm1::invalidateBoth() {
  PaintBoxSrc1->update();
  PaintBoxSrc2->update();
}

void TForm1::RepaintTarget() {
  PaintBoxTarget->update();
}

// --- painting -------------------------------------------------------------------------------

void TForm1::PaintSourcePane(QPainter& painter, TPaintBox& paintBox, TMorphSource& source) {
  TQtCanvas canvas(painter);
  const int32_t w = paintBox.width(), h = paintBox.height();
  if (!source.Loaded()) {
    canvas.SetBrushColor(clWhite);
    canvas.FillRect(Rect(0, 0, w, h));
    return;
  }
  if (source.SrcRect().Width() == 0 || source.SrcRect().Height() == 0) return;
  canvas.LinearStretchDraw(Rect(0, 0, w, h), source.SrcRect());
  FMorphing->DrawTriangles(canvas, w, h, source.Angles(), false, true);
  if (ActionPointsInImageMode->isChecked() || FMorphing->MorphMode() == mm_Points)
    FMorphing->DrawAnglePoints(canvas, w, source.Angles(), false);
}

void TForm1::PaintBoxTargetPaint(QPainter& painter) {
  TQtCanvas canvas(painter);
  const int32_t w = PaintBoxTarget->width(), h = PaintBoxTarget->height();
  // While a loop computes the frames, the pane shows the last one finished.
  if (FShowRenderedFrame || ((FPlaying || FFileCreating) && FShownFrame)) {
    canvas.StretchDraw(Rect(0, 0, w, h), *FShownFrame);
    return;
  }
  if (!FMorphing->Paintable()) {
    canvas.SetBrushColor(clWhite);
    canvas.FillRect(Rect(0, 0, w, h));
    return;
  }
  try {
    FTargetCanvas = &canvas;
    DrawTargetFrame(canvas);
    FTargetCanvas = nullptr;
    DrawTargetOverlays(canvas);
  } catch (const std::exception& e) {
    FTargetCanvas = nullptr;
    // Shown after painting: no modal window inside a paint handler.
    QTimer::singleShot(0, this, [text = std::string(e.what())] { Dialogs().ShowError(text); });
  }
}

// The frame at the track bar's position, by the chosen preview type.
void TForm1::DrawTargetFrame(TQtCanvas& canvas) {
  const int32_t p = TrackBar1->value(), m = TrackBar1->maximum();
  if (SpeedButtonBlend->isChecked()) {
    FMorphing->BlendFrame(p, m);
    TBitmap& target = FMorphing->TargetBmp();
    if (target.Pixels32() != FMorphing->TargetPix()) target.WritePixels32(FMorphing->TargetPix());
    canvas.StretchDraw(Rect(0, 0, PaintBoxTarget->width(), PaintBoxTarget->height()), target);
    FMorphing->UpdateTargetAngles(p, m);
    FMorphing->UpdateTargetPict();
    return;
  }
  FMorphing->MakeFramesInit();
  RenderMorphFrame(*FMorphing, p, m, oe_both, true);
  FMorphing->MakeFramesClose();
}

void TForm1::DrawTargetOverlays(TQtCanvas& canvas) {
  const int32_t w = PaintBoxTarget->width(), h = PaintBoxTarget->height();
  if (FDrawTriangleIndexes) {
    FMorphing->DrawAngleIndexes(canvas, w);
  } else if (SpeedButtonGrid->isChecked()) {
    FMorphing->DrawAnglePoints(canvas, w, FMorphing->TargetAngles(), false);
    FMorphing->DrawTriangles(canvas, w, h, FMorphing->TargetAngles(), false, false);
  }
}

// --- view options ---------------------------------------------------------------------------

int32_t TForm1::PointSize() const {
  return qv::PointSize();
}

void TForm1::SetPointSize(int32_t size) {
  qv::SetPointSize(size);
  invalidateBoth();
  StorePointSize();
  ActionPointsSmall->setChecked(size == 2);
  ActionPointsMiddle->setChecked(size == 3);
  ActionPointsBig->setChecked(size == 4);
}

void TForm1::StorePointSize() {
  WriteSettingInteger("Opt", "PointSize", qv::PointSize());
}

bool TForm1::ExecuteColorDialog(TColor& color) {
  TColor c = FColorDialogColor;
  if (!Dialogs().ChooseColor(c)) return false;
  FColorDialogColor = c;
  color = c;
  return true;
}

void TForm1::GridColorCommand() {
  TColor c;
  if (!ExecuteColorDialog(c)) return;
  FMorphing->SetGridColor(c);
  invalidateBoth();
}

}  // namespace qv
