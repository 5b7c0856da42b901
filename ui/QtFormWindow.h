// A Qt window as the placement store sees it: bounds, state, font and the screens Qt reports.
#pragma once

#include <string>

#include "FormState.h"

class QWidget;

namespace qv {

class TQtFormWindow : public IFormWindow {
 public:
  // className names the settings section ("TForm1" gives "Form1").
  TQtFormWindow(QWidget& window, std::string className);

  std::string ClassName() const override { return FClassName; }
  TRect BoundsRect() const override;
  void SetBounds(const TRect& bounds) override;
  TWindowState WindowState() const override;
  void SetWindowState(TWindowState state) override;
  TFontInfo Font() const override;
  void SetFont(const TFontInfo& font) override;
  bool Visible() const override;
  bool Transitional() const override { return false; }
  TRect VirtualScreen() const override;
  TRect FullScreenArea() const override;
  std::vector<TMonitor> Monitors() const override;

 private:
  QWidget& FWindow;
  std::string FClassName;
};

}  // namespace qv
