#include "QtFormWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "QtStrings.h"

namespace qv {

namespace {
TRect ToTRect(const QRect& r) {
  return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}
}  // namespace

TQtFormWindow::TQtFormWindow(QWidget& window, std::string className)
    : FWindow(window), FClassName(std::move(className)) {}

// The position of the window's frame and the size of its content, as Qt places windows.
TRect TQtFormWindow::BoundsRect() const {
  const QPoint p = FWindow.pos();
  const QSize s = FWindow.size();
  return Rect(p.x(), p.y(), p.x() + s.width(), p.y() + s.height());
}

void TQtFormWindow::SetBounds(const TRect& bounds) {
  FWindow.move(bounds.Left, bounds.Top);
  FWindow.resize(bounds.Width(), bounds.Height());
}

TWindowState TQtFormWindow::WindowState() const {
  const Qt::WindowStates s = FWindow.windowState();
  if (s & Qt::WindowMinimized) return ws_Minimized;
  if (s & Qt::WindowMaximized) return ws_Maximized;
  return ws_Normal;
}

void TQtFormWindow::SetWindowState(TWindowState state) {
  FWindow.setWindowState(state == ws_Maximized   ? Qt::WindowMaximized
                         : state == ws_Minimized ? Qt::WindowMinimized
                                                 : Qt::WindowNoState);
}

TFontInfo TQtFormWindow::Font() const {
  const QFont f = FWindow.font();
  TFontInfo info;
  info.Name = FromQ(f.family());
  info.Size = f.pointSize() > 0 ? f.pointSize() : 0;
  info.Style =
      (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) | (f.strikeOut() ? 8 : 0);
  return info;
}

void TQtFormWindow::SetFont(const TFontInfo& info) {
  QFont f = FWindow.font();
  if (!info.Name.empty()) f.setFamily(ToQ(info.Name));
  if (info.Size > 0) f.setPointSize(info.Size);
  f.setBold(info.Style & 1);
  f.setItalic(info.Style & 2);
  f.setUnderline(info.Style & 4);
  f.setStrikeOut(info.Style & 8);
  FWindow.setFont(f);
}

bool TQtFormWindow::Visible() const {
  return FWindow.isVisible();
}

TRect TQtFormWindow::VirtualScreen() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? ToTRect(s->virtualGeometry()) : TRect{};
}

TRect TQtFormWindow::FullScreenArea() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? Rect(0, 0, s->geometry().width(), s->geometry().height()) : TRect{};
}

std::vector<TMonitor> TQtFormWindow::Monitors() const {
  std::vector<TMonitor> out;
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* s : QGuiApplication::screens())
    out.push_back(
        TMonitor{ToTRect(s->geometry()), int32_t(s->logicalDotsPerInch() + 0.5), s == primary});
  return out;
}

}  // namespace qv
