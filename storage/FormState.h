// Storing and restoring a window's placement, font and state in the user settings. The
// window is reached through IFormWindow, which the editor's windows implement.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Types.h"

namespace qv {

class TUserSettings;

enum TWindowState : uint8_t { ws_Normal = 0, ws_Minimized = 1, ws_Maximized = 2 };

// Font styles as stored: bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out.
struct TFontInfo {
  std::string Name;
  int32_t Size = 0;  // in points
  int32_t Style = 0;
  int32_t CharSet = 0;
  friend bool operator==(const TFontInfo&, const TFontInfo&) = default;
};

struct TMonitor {
  TRect Bounds;
  int32_t PixelsPerInch = 96;
  bool Primary = false;
};

class IFormWindow {
 public:
  virtual ~IFormWindow() = default;
  // The window's class name ("TForm1"); the settings section drops its first letter.
  virtual std::string ClassName() const = 0;
  virtual TRect BoundsRect() const = 0;
  virtual void SetBounds(const TRect& bounds) = 0;
  virtual TWindowState WindowState() const = 0;
  virtual void SetWindowState(TWindowState state) = 0;
  virtual TFontInfo Font() const = 0;
  virtual void SetFont(const TFontInfo& font) = 0;
  virtual bool Visible() const = 0;
  // True while the window is being loaded, streamed or destroyed.
  virtual bool Transitional() const = 0;
  // The bounding rectangle of all monitors; width 0 when the system does not know it.
  virtual TRect VirtualScreen() const = 0;
  // (0, 0, width, height) of the full-screen area.
  virtual TRect FullScreenArea() const = 0;
  virtual std::vector<TMonitor> Monitors() const = 0;
};

// Parts of SaveFormState, combined as bits.
enum TFormStateParts : uint8_t { fp_StateAndSize = 1, fp_Position = 2, fp_Font = 4 };

// rect shrunk to at most the size of screen and moved inside it.
TRect FitRectIntoScreen(const TRect& rect, const TRect& screen);
// The screen the windows are fitted into: the virtual screen, or the full-screen area when
// the virtual screen has no width.
TRect ScreenOf(const IFormWindow& form);

// Restores bounds, font and window state from the settings (without settings: fits the
// present bounds into the screen, normal state). Answers the state it set.
TWindowState RestoreFormState(IFormWindow& form, TUserSettings* settings);
// Stores the parts of the placement; bounds only of a visible, normal, settled window.
void SaveFormState(const IFormWindow& form, uint8_t parts, TUserSettings* settings);

}  // namespace qv
