// Window placement against the settings file.
#include <gtest/gtest.h>

#include "FormState.h"
#include "TestFiles.h"
#include "UserSettings.h"

namespace qv {

using test::CrLfLines;
using test::ReadFile;
using test::WriteFile;

TEST(FitRectIntoScreen, MovesAndShrinksIntoTheScreen) {
  struct Case {
    TRect In, Screen, Expected;
  } cases[] = {
      {Rect(5000, 10, 5800, 610), Rect(0, 0, 1920, 1080), Rect(1120, 10, 1920, 610)},
      {Rect(100, 0, 3100, 500), Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 500)},
      {Rect(-300, -50, 500, 550), Rect(0, 0, 1920, 1080), Rect(0, 0, 800, 600)},
      {Rect(100, 900, 900, 1500), Rect(0, 0, 1920, 1080), Rect(100, 480, 900, 1080)},
      {Rect(-1500, 100, -700, 700), Rect(-1920, 0, 1920, 1080), Rect(-1500, 100, -700, 700)},
      {Rect(10, 10, 50, 50), Rect(0, 0, 1920, 1080), Rect(10, 10, 50, 50)},
  };
  for (const auto& c : cases) {
    TRect r = FitRectIntoScreen(c.In, c.Screen);
    EXPECT_EQ(r, c.Expected) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
  }
}

namespace {

// A window as the placement code sees it.
class TFakeWindow : public IFormWindow {
 public:
  TRect Bounds = Rect(100, 100, 900, 700);
  TWindowState State = ws_Normal;
  TFontInfo FontInfo{"DejaVu Sans", 9, 0, 0};
  bool IsVisible = true;
  bool IsTransitional = false;
  TRect Virtual = Rect(0, 0, 1920, 1080);
  std::vector<TMonitor> MonitorList{{Rect(0, 0, 1920, 1080), 96, true}};

  std::string ClassName() const override { return "TForm1"; }
  TRect BoundsRect() const override { return Bounds; }
  void SetBounds(const TRect& b) override { Bounds = b; }
  TWindowState WindowState() const override { return State; }
  void SetWindowState(TWindowState s) override { State = s; }
  TFontInfo Font() const override { return FontInfo; }
  void SetFont(const TFontInfo& f) override { FontInfo = f; }
  bool Visible() const override { return IsVisible; }
  bool Transitional() const override { return IsTransitional; }
  TRect VirtualScreen() const override { return Virtual; }
  TRect FullScreenArea() const override { return Rect(0, 0, 1024, 768); }
  std::vector<TMonitor> Monitors() const override { return MonitorList; }
};

}  // namespace

class FormState : public ::testing::Test {
 protected:
  test::TTempDir FDir;
  std::string FName = FDir.Path("Zunt/Quorvel.ini");
  TFakeWindow FWindow;
};

TEST_F(FormState, RestoreFitsStoredValuesAndRejectsOddOnes) {
  WriteFile(FName,
            "[Form1]\r\nLeft=5000\r\nTop=20\r\nWidth=3000\r\nHeight=400\r\nWinState=1\r\n"
            "FONT=Noto Sans\r\nFONTSIZE=11\r\nFONTSTYLE=99\r\nCharSet=300\r\n");
  TUserSettingsFile s(FName);
  EXPECT_EQ(RestoreFormState(FWindow, &s), ws_Normal);
  EXPECT_EQ(FWindow.Bounds, Rect(0, 20, 1920, 420));
  EXPECT_EQ(FWindow.FontInfo, (TFontInfo{"Noto Sans", 11, 0, 0}));

  s.writeInteger("Form1", "WinState", 2);
  s.writeInteger("Form1", "FONTSTYLE", 3);
  EXPECT_EQ(RestoreFormState(FWindow, &s), ws_Maximized);
  EXPECT_EQ(FWindow.State, ws_Maximized);
  EXPECT_EQ(FWindow.FontInfo.Style, 3);
}

TEST_F(FormState, WithoutStoredValuesTheDesignBoundsAreFitted) {
  FWindow.Bounds = Rect(900, 500, 1900, 1300);
  FWindow.Virtual = Rect(0, 0, 0, 0);  // unknown: the full-screen area counts
  TUserSettingsFile s(FName);
  EXPECT_EQ(RestoreFormState(FWindow, &s), ws_Normal);
  EXPECT_EQ(FWindow.Bounds, Rect(24, 0, 1024, 768));
  FWindow.Bounds = Rect(900, 500, 1900, 1300);
  FWindow.State = ws_Maximized;
  EXPECT_EQ(RestoreFormState(FWindow, nullptr), ws_Normal);
  EXPECT_EQ(FWindow.Bounds, Rect(24, 0, 1024, 768));
  EXPECT_EQ(FWindow.State, ws_Normal);
}

TEST_F(FormState, SizeIsScaledOnAMonitorWithOtherPixelsPerInch) {
  FWindow.Virtual = Rect(0, 0, 3840, 1080);
  FWindow.MonitorList = {{Rect(0, 0, 1920, 1080), 96, true},
                         {Rect(1920, 0, 3840, 1080), 144, false}};
  WriteFile(FName, "[Form1]\r\nLeft=2000\r\nTop=100\r\nWidth=900\r\nHeight=601\r\n");
  TUserSettingsFile s(FName);
  RestoreFormState(FWindow, &s);
  EXPECT_EQ(FWindow.Bounds, Rect(2000, 100, 2600, 501));
}

TEST_F(FormState, SaveStoresBoundsOnlyOfANormalWindow) {
  {
    TUserSettingsFile s(FName);
    SaveFormState(FWindow, fp_StateAndSize | fp_Position | fp_Font, &s);
    FWindow.State = ws_Maximized;
    FWindow.Bounds = Rect(0, 0, 1920, 1080);
    SaveFormState(FWindow, fp_StateAndSize | fp_Position, &s);
  }
  EXPECT_EQ(ReadFile(FName),
            "\xEF\xBB\xBF" +
                CrLfLines({"[Form1]", "Font=DejaVu Sans", "Fontsize=9", "Fontstyle=0", "CharSet=0",
                           "WinState=2", "Width=800", "Height=600", "Left=100", "Top=100", ""}));
  TUserSettingsFile s(FName);
  FWindow.IsVisible = false;
  FWindow.State = ws_Normal;
  SaveFormState(FWindow, fp_StateAndSize | fp_Position, &s);
  EXPECT_EQ(s.readInteger("Form1", "WinState", -1), 2);
  EXPECT_EQ(s.readInteger("Form1", "Width", -1), 800);
}

TEST_F(FormState, ExistingKeysKeepTheirSpelling) {
  WriteFile(FName, "[Form1]\r\nFONT=Old\r\nFONTSIZE=8\r\n");
  {
    TUserSettingsFile s(FName);
    FWindow.FontInfo.Size = -12;
    SaveFormState(FWindow, fp_Font, &s);
  }
  EXPECT_EQ(ReadFile(FName),
            "\xEF\xBB\xBF" + CrLfLines({"[Form1]", "FONT=DejaVu Sans", "FONTSIZE=12", "Fontstyle=0",
                                        "CharSet=0", ""}));
}

}  // namespace qv
