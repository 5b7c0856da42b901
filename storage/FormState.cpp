#include "FormState.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "UserSettings.h"

namespace qv {

namespace {

std::string SectionOf(const IFormWindow& form) {
  std::string name = form.ClassName();
  return name.empty() ? name : name.substr(1);
}

int64_t DistanceSquared(const TRect& r, int32_t x, int32_t y) {
  int64_t dx = x < r.Left ? r.Left - x : x >= r.Right ? int64_t(x) - r.Right + 1 : 0;
  int64_t dy = y < r.Top ? r.Top - y : y >= r.Bottom ? int64_t(y) - r.Bottom + 1 : 0;
  return dx * dx + dy * dy;
}

const TMonitor* NearestMonitor(const std::vector<TMonitor>& monitors, const TRect& r) {
  const int32_t cx = int32_t((int64_t(r.Left) + r.Right) / 2);
  const int32_t cy = int32_t((int64_t(r.Top) + r.Bottom) / 2);
  const TMonitor* best = nullptr;
  int64_t bestDistance = std::numeric_limits<int64_t>::max();
  for (const TMonitor& m : monitors) {
    int64_t d = DistanceSquared(m.Bounds, cx, cy);
    if (d < bestDistance) {
      best = &m;
      bestDistance = d;
    }
  }
  return best;
}

const TMonitor& PrimaryMonitor(const std::vector<TMonitor>& monitors) {
  auto it =
      std::find_if(monitors.begin(), monitors.end(), [](const TMonitor& m) { return m.Primary; });
  return it != monitors.end() ? *it : monitors.front();
}

TRect RestoredBounds(const IFormWindow& form, TUserSettings& settings, const std::string& sect) {
  const TRect present = form.BoundsRect();
  const int32_t left = settings.readInteger(sect, "Left", present.Left);
  const int32_t top = settings.readInteger(sect, "Top", present.Top);
  const int32_t width = settings.readInteger(sect, "Width", present.Width());
  const int32_t height = settings.readInteger(sect, "Height", present.Height());
  TRect r = FitRectIntoScreen(Rect(left, top, left + width, top + height), ScreenOf(form));
  const std::vector<TMonitor> monitors = form.Monitors();
  if (monitors.size() >= 2) {
    const TMonitor* m = NearestMonitor(monitors, r);
    const int32_t primaryPpi = PrimaryMonitor(monitors).PixelsPerInch;
    if (m && m->PixelsPerInch != primaryPpi && m->PixelsPerInch > 0) {
      r.Right = r.Left + MulDiv(width, primaryPpi, m->PixelsPerInch);
      r.Bottom = r.Top + MulDiv(height, primaryPpi, m->PixelsPerInch);
    }
  }
  return r;
}

TFontInfo RestoredFont(const IFormWindow& form, TUserSettings& settings, const std::string& sect) {
  TFontInfo font = form.Font();
  font.Name = settings.readString(sect, "FONT", font.Name);
  font.Size = settings.readInteger(sect, "FONTSIZE", font.Size);
  font.Style = settings.readInteger(sect, "FONTSTYLE", font.Style);
  if (font.Style < 0 || font.Style > 15) font.Style = 0;
  font.CharSet = settings.readInteger(sect, "CharSet", 0);
  if (font.CharSet < 0 || font.CharSet > 255) font.CharSet = 0;
  return font;
}

}  // namespace

TRect FitRectIntoScreen(const TRect& rect, const TRect& screen) {
  const int32_t width = std::min(rect.Width(), screen.Width());
  const int32_t height = std::min(rect.Height(), screen.Height());
  int32_t left = rect.Left, top = rect.Top;
  if (int64_t(left) + width > screen.Right) left = screen.Right - width;
  if (int64_t(top) + height > screen.Bottom) top = screen.Bottom - height;
  left = std::max(left, screen.Left);
  top = std::max(top, screen.Top);
  return Rect(left, top, left + width, top + height);
}

TRect ScreenOf(const IFormWindow& form) {
  TRect screen = form.VirtualScreen();
  return screen.Width() == 0 ? form.FullScreenArea() : screen;
}

TWindowState RestoreFormState(IFormWindow& form, TUserSettings* settings) {
  if (!settings) {
    form.SetBounds(FitRectIntoScreen(form.BoundsRect(), ScreenOf(form)));
    form.SetWindowState(ws_Normal);
    return ws_Normal;
  }
  const std::string sect = SectionOf(form);
  const TRect bounds = RestoredBounds(form, *settings, sect);
  form.SetFont(RestoredFont(form, *settings, sect));
  const int32_t stored = settings->readInteger(sect, "WinState", 0);
  const TWindowState state = stored == ws_Maximized ? ws_Maximized : ws_Normal;
  form.SetBounds(bounds);
  form.SetWindowState(state);
  return state;
}

void SaveFormState(const IFormWindow& form, uint8_t parts, TUserSettings* settings) {
  if (!settings) return;
  const std::string sect = SectionOf(form);
  if (parts & fp_Font) {
    const TFontInfo font = form.Font();
    settings->writeString(sect, "Font", font.Name);
    settings->writeInteger(sect, "Fontsize", std::abs(font.Size));
    settings->writeInteger(sect, "Fontstyle", font.Style);
    settings->writeInteger(sect, "CharSet", font.CharSet);
  }
  const bool settled = form.Visible() && form.WindowState() == ws_Normal && !form.Transitional();
  const TRect bounds = form.BoundsRect();
  if (parts & fp_StateAndSize) {
    if (form.Visible()) settings->writeInteger(sect, "WinState", form.WindowState());
    if (settled) {
      settings->writeInteger(sect, "Width", bounds.Width());
      settings->writeInteger(sect, "Height", bounds.Height());
    }
  }
  if ((parts & fp_Position) && settled) {
    settings->writeInteger(sect, "Left", bounds.Left);
    settings->writeInteger(sect, "Top", bounds.Top);
  }
}

}  // namespace qv
