#include "PaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace qv {

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);  // moves without a button pressed reach the owner too
}

void TPaintBox::paintEvent(QPaintEvent* event) {
  if (!OnPaint) return;
  QPainter painter(this);
  painter.setClipRect(event->rect());
  OnPaint(painter, event->rect());
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(event);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  if (OnMouseUp) OnMouseUp(event);
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnDblClick && event->button() == Qt::LeftButton) OnDblClick(event);
  mousePressEvent(event);
}

}  // namespace qv
