// A plain drawing surface whose painting and mouse input are handled by its owner, like a
// paint box on a form: it has no look of its own.
#pragma once

#include <QWidget>
#include <functional>

class QMouseEvent;
class QPainter;

namespace qv {

class TPaintBox : public QWidget {
  Q_OBJECT
 public:
  using TPaintHandler = std::function<void(QPainter&, const QRect& exposed)>;
  using TMouseHandler = std::function<void(QMouseEvent*)>;

  explicit TPaintBox(QWidget* parent = nullptr);

  TPaintHandler OnPaint;
  TMouseHandler OnMouseDown;
  TMouseHandler OnMouseMove;
  TMouseHandler OnMouseUp;
  // A double click: the handler runs before the press of the second click.
  TMouseHandler OnDblClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace qv
