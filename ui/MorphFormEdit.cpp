// The main window's edit modes: switching, the mouse gestures on the source panes, the keys,
// the mode help and the status memo.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolButton>
#include <cstdlib>

#include "Guarded.h"
#include "Morph.h"
#include "MorphForm.h"
#include "PaintBox.h"
#include "QtStrings.h"
#include "Sound.h"

namespace qv {

namespace {

bool ShiftHeld(const QMouseEvent* e) {
  return e->modifiers() & Qt::ShiftModifier;
}

}  // namespace

const char* TForm1::ModeHelpText(TMorphEditMode mode) {
  switch (mode) {
    case mm_ImgSel:
      return "\rModus Bildwahl:\r\rNach der Auswahl je eines Bildes für Anfang und Ende können "
             "die Bilder mit gedrückter Maustaste im jeweiligen Bildbereich verschoben werden.\r\r"
             "Wenn dabei die Umschalttaste gedrückt wird, kann die Größe des Bildes durch Ziehen "
             "mit der Maus verändert werden.\r\rBeachten Sie auch das Kontextmenü des "
             "Bildrechtecks (rechte Maustaste).";
    case mm_Points:
      return "Modus: Punkte setzen:\r\rKlicken mit der Maus setzt einen Punkt.\r\rBereits "
             "gesetzte Punkte können mit der Maus an die gewünschte Position gezogen werden.\r"
             "Der gerade gesetzte/gezogene Punkt wird in beiden Fenstern hervorgehoben "
             "dargestellt.\r\rWerden Punkte etwas außerhalb der Ränder gezogen, wird ihre "
             "Position so korrigiert, dass sie gerade noch im Bildrechteck liegen.\r\rUm einen "
             "überflüssigen Punkt zu entfernen, ziehen Sie ihn weit aus dem Bildbereich heraus.";
    case mm_Net:
      return "Modus: Dreiecke festlegen:\r\rDreiecke können dadurch bestimmt werden, dass die "
             "Maus so bewegt wird, dass die drei zu verwendenden Eckpunkte hervorgehoben "
             "erscheinen, Klick erzeugt das Dreieck, bzw. entfernt es, falls es schon vorhanden "
             "war.\r\rSollte das nicht gelingen, können nacheinander 3 Punkte ausgewählt werden, "
             "indem mit gehaltener Umschalttaste nacheinander darauf geklickt wird.\r\rBereits "
             "gesetzte Dreiecke können auf die gleiche Weise entfernt werden.";
  }
  return "";
}

void TForm1::SetEditMode(TMorphEditMode mode) {
  FMorphing->SetMorphMode(mode);
  static const char* const kIcons[] = {"mode-image", "mode-points", "mode-net"};
  QAction* entries[] = {ActionModeImage, MenuModePoints, ActionModeNet};
  for (int i = 0; i < 3; ++i) {
    const QString icon = QString::fromLatin1(kIcons[i]) + (i == mode ? "-active" : "");
    QIcon set;
    for (int size : {16, 24, 32, 48})
      set.addFile(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(icon), QSize(size, size));
    entries[i]->setIcon(set);
  }
  // Ctrl+Space leads to the points mode, and from there to the net.
  const QKeySequence ctrlSpace(Qt::CTRL | Qt::Key_Space);
  MenuModePoints->setShortcut(mode == mm_Points ? QKeySequence() : ctrlSpace);
  ActionModeNet->setShortcut(mode == mm_Points ? ctrlSpace : QKeySequence());
  QAction* modeActions[] = {ActionModeImage, ActionModePoints, ActionModeNet};
  modeActions[mode]->setChecked(true);
  if (mode == mm_Net) FMorphing->UpdateTriangleMasks();
  invalidateAll();
}

void TForm1::ShowModeHelp(bool show) {
  if (show) {
    Memo2->setPlainText(DisplayText(ModeHelpText(FMorphing->MorphMode())));
    Memo2->raise();
  }
  Memo2->setVisible(show);
}

void TForm1::ShowStatus() {
  const QString text = DisplayText(FMorphing->GetStatusAsString());
  if (Memo1->toPlainText() == text) return;  // idle runs often; repaint only on a change
  Memo1->setPlainText(text);
  Memo1->repaint();
}

int TForm1::FlupCount() const {
  return FFlup->PlayCount();
}

// --- mouse ----------------------------------------------------------------------------------

TMorphSource& TForm1::SourceOf(int index) {
  return index == 1 ? FMorphing->Source1() : FMorphing->Source2();
}

void TForm1::ConnectPane(TPaintBox& paintBox, int sourceIndex) {
  TPaintBox* box = &paintBox;
  box->OnMouseDown = [this, box, sourceIndex](QMouseEvent* e) {
    Guarded([&] { PaneMouseDown(*box, SourceOf(sourceIndex), e); });
  };
  box->OnMouseMove = [this, box, sourceIndex](QMouseEvent* e) {
    Guarded([&] { PaneMouseMove(*box, SourceOf(sourceIndex), e); });
  };
  box->OnMouseUp = [this, box, sourceIndex](QMouseEvent* e) {
    Guarded([&] { PaneMouseUp(*box, SourceOf(sourceIndex), e); });
  };
  box->OnDblClick = [this, box, sourceIndex](QMouseEvent*) {
    Guarded([&] { DeleteTriangleAtMouse(*box, SourceOf(sourceIndex)); });
  };
  box->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(box, &QWidget::customContextMenuRequested, this, [this, box, sourceIndex](QPoint p) {
    FPopupSourceIndex = sourceIndex;
    PopupMenuPane->popup(box->mapToGlobal(p));
  });
}

void TForm1::PaneMouseDown(TPaintBox&, TMorphSource& source, QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  FMouseStartPos = e->position().toPoint();
  const TMorphEditMode mode = FMorphing->MorphMode();
  if (mode == mm_Points || mode == mm_Net)
    FDraggingPointIndex =
        source.PointIndexByCoord(ScreenToImagePoint(FMouseStartPos), ScreenToImageLength(4));
  if (mode == mm_Points) {
    FMorphing->Select1Point(FDraggingPointIndex);
    invalidateBoth();
  }
}

void TForm1::PaneMouseMove(TPaintBox& paintBox, TMorphSource& source, QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const TMorphEditMode mode = FMorphing->MorphMode();
  if (mode == mm_ImgSel) {
    if (e->buttons() & Qt::LeftButton) MoveImageRect(paintBox, source, pos, ShiftHeld(e));
    return;
  }
  const TPoint p = ScreenToImagePoint(pos);
  if (p.X < 0 || p.Y < 0 || p.X >= FMorphing->Width() || p.Y >= FMorphing->Height()) return;
  FMouseOverPointIndex = source.PointIndexByCoord(p, ScreenToImageLength(4));
  if (FDraggingPointIndex >= 0) {
    source.setPointData(FDraggingPointIndex, p, false);
    paintBox.update();
    return;
  }
  if (mode != mm_Net || ShiftHeld(e)) return;
  const int32_t t = FMorphing->GetTriangleIndex(p, source.Angles(), source);
  if (t >= 0) {
    FMorphing->SelectTrianglePoints(t);
  } else {
    TTrianglePerIndex proposal;
    if (source.FindOptimalTriangle(p, proposal)) FMorphing->Select3Points(proposal);
  }
  invalidateBoth();
}

// The image mode's drag: moves the picture under the frame, or with Shift resizes its rectangle.
void TForm1::MoveImageRect(TPaintBox& paintBox, TMorphSource& source, QPoint pos, bool resize) {
  const int32_t dx = FMouseStartPos.x() - pos.x(), dy = FMouseStartPos.y() - pos.y();
  FMouseStartPos = pos;
  bool changed;
  if (resize) {
    const int32_t d = std::abs(dx) >= std::abs(dy) ? dx : dy;
    FMorphing->setRectWidth(source, source.RectWidth() + d);
    changed = d != 0;
  } else {
    const TPoint shift{ScreenToImageLength(dx), ScreenToImageLength(dy)};
    const TPoint o = source.RectOrigin();
    FMorphing->setRectOrigin(source, TPoint{o.X + shift.X, o.Y + shift.Y});
    changed = shift.X != 0 || shift.Y != 0;
  }
  if (changed) {
    paintBox.update();
    RepaintTarget();
  }
}

void TForm1::PaneMouseUp(TPaintBox&, TMorphSource& source, QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const QPoint pos = e->position().toPoint();
  switch (FMorphing->MorphMode()) {
    case mm_Points:
      if (FDraggingPointIndex >= 0) {
        if (source.setPointData(FDraggingPointIndex, ScreenToImagePoint(pos), true)) {
          invalidateBoth();
          RepaintTarget();
        }
      } else if (pos == FMouseStartPos) {
        FMorphing->AddPoint(source, ScreenToImagePoint(pos));
        invalidateBoth();
      }
      break;
    case mm_Net:
      if (ShiftHeld(e)) {
        if (FDraggingPointIndex >= 0) {
          AddPointToSelection(FDraggingPointIndex);
          RepaintTarget();
        }
      } else {
        if (FDraggingPointIndex < 0) {
          FMorphing->ToggleSelectedTriangle();
          invalidateBoth();
        }
        RepaintTarget();
      }
      break;
    case mm_ImgSel:
      break;
  }
  FDraggingPointIndex = -1;
}

void TForm1::DeleteTriangleAtMouse(TPaintBox&, TMorphSource& source) {
  if (FMorphing->MorphMode() != mm_Net) return;
  const int32_t t =
      FMorphing->GetTriangleIndex(ScreenToImagePoint(FMouseStartPos), source.Angles(), source);
  if (t >= 0) FMorphing->DeleteTriangle(t);
  invalidateBoth();
}

void TForm1::AddPointToSelection(int32_t pointIndex) {
  if (pointIndex < 0) return;
  if (FMorphing->AddSelectedPoint(pointIndex) == -2) FFlup->Play();
  invalidateBoth();
}

// --- keys -----------------------------------------------------------------------------------

bool TForm1::FormKeyDown(QKeyEvent* e) {
  const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                       Qt::AltModifier | Qt::MetaModifier);
  const bool keypad = e->modifiers() & Qt::KeypadModifier;
  const int key = e->key();
  if (mods == Qt::ControlModifier) {
    if (key == Qt::Key_Space) {
      SetEditMode(FMorphing->MorphMode() == mm_Points ? mm_Net : mm_Points);
      return true;
    }
    if (key == Qt::Key_Minus && !keypad) {
      ActionZoomOut->trigger();
      return true;
    }
    return false;
  }
  if (mods != Qt::NoModifier) return false;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      FMorphing->AddSelectedTriangle();
      invalidateBoth();
      return true;
    case Qt::Key_Escape:
      FStopped = true;
      FMorphing->Select0Point();
      invalidateAll();
      return true;
    case Qt::Key_Space:
      if (FPlaying) {
        FStopped = true;
      } else if (FMorphing->MorphMode() == mm_Net) {
        AddPointToSelection(FMouseOverPointIndex);
        RepaintTarget();
      } else {
        SpeedButtonComputeClick();
      }
      return true;
    default:
      return false;
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* w = qobject_cast<QWidget*>(watched);
      if (!w || w->window() != this || QApplication::activeModalWidget()) break;
      bool handled = false;
      Guarded([&] { handled = FormKeyDown(static_cast<QKeyEvent*>(event)); });
      if (handled) event->accept();
      return handled;
    }
    case QEvent::Enter:
    case QEvent::Leave:
      if (watched == Image1) ShowModeHelp(event->type() == QEvent::Enter);
      break;
    case QEvent::Resize:
      if (watched == PanelImages || watched == PanelBottom) PanelImagesResize();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qv
