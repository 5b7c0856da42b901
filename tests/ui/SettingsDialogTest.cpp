// The settings dialog: size lock and presets, the unit switch and the frame rate, the easing
// rows, the background page, the video switches and the copying between dialog and document.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include "CommandTestTools.h"
#include "FormOpt.h"
#include "HistoryComboBox.h"
#include "Morph.h"

namespace qv {
namespace {

// A document that is no morphing: the settings dialog treats it as a sequence.
class TSequenceDocument : public TMorph0 {
 public:
  void SaveToFile(const std::string&) override {}
};

class SettingsDialogTest : public CommandTest {
 protected:
  // The dialog primed with a morphing of that size and shown (which fixes the lock's base).
  TFormSettings& Shown(int32_t w, int32_t h) {
    FMorphing.NewProject("", w, h);
    FMorphing.SetFramesPerSecond(25);
    FForm.ActivateSettings(FMorphing);
    FForm.show();
    return FForm;
  }
  // Types text into a box as the user does: the old text is selected and replaced.
  static void Type(QComboBox* box, const char* text) {
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, text);
  }
  static void Type(QLineEdit* edit, const char* text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // Pastes text over the whole text of a box: one change instead of one per key.
  static void Paste(QComboBox* box, const char* text) {
    box->lineEdit()->selectAll();
    box->lineEdit()->insert(text);
  }
  static void Choose(QComboBox* list, int row) {
    list->setCurrentIndex(row);
    emit list->activated(row);
  }
  static std::string TextOf(THistoryComboBox* box) { return box->Text(); }

  TMorphing FMorphing;
  TFormSettings FForm;
};

TEST_F(SettingsDialogTest, AspectLockFollowsTheSizeTheDialogWasShownWith) {
  TFormSettings& f = Shown(810, 1080);
  Type(f.HistoryComboBoxWidth, "1000");
  EXPECT_EQ(f.MWidth(), 1000);
  EXPECT_EQ(f.MHeight(), 1333);  // 1000 * 1080 / 810 = 1333.3
  EXPECT_EQ(TextOf(f.HistoryComboBoxHeight), "1333");
  EXPECT_EQ(f.ComboBoxFormat->currentIndex(), kCustomFormatIndex);

  Type(f.HistoryComboBoxHeight, "540");
  EXPECT_EQ(f.MWidth(), 405);
  EXPECT_EQ(TextOf(f.HistoryComboBoxWidth), "405");

  // A preset ignores the lock; typing afterwards keeps the proportions the picture had when
  // the dialog was shown, not those of the preset.
  Choose(f.ComboBoxFormat, 3);
  EXPECT_EQ(f.MWidth(), 1920);
  EXPECT_EQ(f.MHeight(), 1080);
  EXPECT_EQ(f.ComboBoxFormat->currentIndex(), 3);
  Type(f.HistoryComboBoxWidth, "1620");
  EXPECT_EQ(f.MHeight(), 2160);
}

TEST_F(SettingsDialogTest, WithoutLockEachBoxChangesOnlyItsValueAndTheFormatRow) {
  TFormSettings& f = Shown(810, 1080);
  f.CheckBoxAspect->setChecked(false);
  Choose(f.ComboBoxFormat, 3);
  Type(f.HistoryComboBoxWidth, "1921");
  EXPECT_EQ(f.MWidth(), 1921);
  EXPECT_EQ(f.MHeight(), 1080);
  EXPECT_EQ(f.ComboBoxFormat->currentIndex(), kCustomFormatIndex);
  Type(f.HistoryComboBoxWidth, "1280");
  Type(f.HistoryComboBoxHeight, "720");
  EXPECT_EQ(f.ComboBoxFormat->currentIndex(), 4);
  // The last row changes nothing.
  Choose(f.ComboBoxFormat, kCustomFormatIndex);
  EXPECT_EQ(f.MWidth(), 1280);
  EXPECT_EQ(f.MHeight(), 720);
}

TEST_F(SettingsDialogTest, NumbersAreTheLeadingIntegerOfTheText) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"640", 640}, {"12abc", 12}, {"abc", 0},       {"", 0},
               {"-7", -7},   {"$1F", 31},   {"4 Sekunden", 4}};
  for (const Case& c : cases) EXPECT_EQ(BoxNumber(c.text), c.value) << c.text;
}

TEST_F(SettingsDialogTest, SwitchingUnitsKeepsTheDurationAndTheFrameRateRescalesIt) {
  TFormSettings& f = Shown(400, 300);
  f.SetFramesMorph(100);
  EXPECT_EQ(f.DurationUnit(), du_seconds);
  Type(f.HistoryComboBoxDuration, "4");
  EXPECT_EQ(f.FramesMorph(), 100);

  Choose(f.ComboBoxUnit, 1);
  EXPECT_EQ(f.DurationUnit(), du_Frames);
  EXPECT_EQ(TextOf(f.HistoryComboBoxDuration), "100");
  EXPECT_EQ(f.LabelStillStart->text(), "Frames am Anfang");
  Type(f.HistoryComboBoxDuration, "110");
  EXPECT_EQ(f.FramesMorph(), 110);

  // Back to seconds: the transition is rounded up to whole seconds.
  Choose(f.ComboBoxUnit, 0);
  EXPECT_EQ(TextOf(f.HistoryComboBoxDuration), "5");
  EXPECT_EQ(f.FramesMorph(), 125);
  EXPECT_EQ(f.LabelStillEnd->text(), "Sekunden am Ende");

  Type(f.HistoryComboBoxDuration, "4");
  Type(f.ComboBoxFPS, "50");
  EXPECT_EQ(f.FramesPerSecond(), 50);
  EXPECT_EQ(f.FramesMorph(), 200);
  EXPECT_EQ(TextOf(f.HistoryComboBoxDuration), "4");

  // A duration of 0 or below is taken as frames, without the factor.
  Type(f.HistoryComboBoxDuration, "-3");
  EXPECT_EQ(f.FramesMorph(), -3);
}

TEST_F(SettingsDialogTest, StillImagesAreCountedInFramesAndShownInTheUnit) {
  TFormSettings& f = Shown(400, 300);
  Type(f.EditStillStart, "2");
  EXPECT_EQ(f.StillImagesAtStart(), 50);
  Choose(f.ComboBoxUnit, 1);
  EXPECT_EQ(f.EditStillStart->text(), "50");
  Type(f.EditStillEnd, "30");
  EXPECT_EQ(f.StillImagesAtEnd(), 30);
  // In seconds the counts are cut to whole seconds when the unit is chosen again.
  Choose(f.ComboBoxUnit, 0);
  EXPECT_EQ(f.EditStillEnd->text(), "1");
  Choose(f.ComboBoxUnit, 0);
  EXPECT_EQ(f.StillImagesAtEnd(), 25);
}

TEST_F(SettingsDialogTest, AFrameRateOutsideOneToSixtyTurnsDarkRedAndIsNotTaken) {
  TFormSettings& f = Shown(400, 300);
  const QColor darkRed(204, 0, 0);
  for (const char* text : {"61", "0", "abc"}) {
    Paste(f.ComboBoxFPS, text);
    EXPECT_EQ(f.FramesPerSecond(), 25) << text;
    EXPECT_EQ(f.ComboBoxFPS->lineEdit()->palette().color(QPalette::Text), darkRed) << text;
  }
  Type(f.ComboBoxFPS, "60");
  EXPECT_EQ(f.FramesPerSecond(), 60);
  EXPECT_EQ(f.ComboBoxFPS->lineEdit()->palette().color(QPalette::Text), QColor(Qt::black));
}

TEST_F(SettingsDialogTest, EasingRowsMapToTheTwoSwitchesBothWays) {
  struct Case {
    bool start, end;
    int row;
  } cases[] = {{true, true, 1}, {true, false, 2}, {false, true, 3}, {false, false, 0}};
  for (const Case& c : cases) {
    FMorphing.SetSmoothAtStart(c.start);
    FMorphing.SetSmoothAtEnd(c.end);
    FForm.ActivateSettings(FMorphing);
    EXPECT_EQ(FForm.EasingIndex(), c.row);
    FForm.SetEasingIndex(0);
    FForm.SetEasingIndex(c.row);
    FMorphing.SetSmoothAtStart(!c.start);
    FMorphing.SetSmoothAtEnd(!c.end);
    FForm.ObtainSettings(FMorphing);
    EXPECT_EQ(FMorphing.SmoothAtStart(), c.start) << c.row;
    EXPECT_EQ(FMorphing.SmoothAtEnd(), c.end) << c.row;
  }
}

TEST_F(SettingsDialogTest, ActivateShowsTheDocumentAndObtainWritesItBack) {
  FMorphing.NewProject(Dir() + "p.qvp", 400, 300);
  FMorphing.SetFramesPerSecond(0);
  FMorphing.SetFramesMorph(60);
  FMorphing.SetStillImagesAtStart(50);
  FMorphing.SetInterlaceType(it_LowerFirst);
  FForm.ActivateSettings(FMorphing);
  EXPECT_EQ(FForm.FramesPerSecond(), 25);
  EXPECT_EQ(FForm.ComboBoxFPS->currentText(), "25");
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxWidth), "400");
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxDuration), "3");  // 60 frames: 2.4 s rounded up
  EXPECT_EQ(FForm.EditStillStart->text(), "2");
  EXPECT_EQ(FForm.ComboBoxInterlace->currentIndex(), 2);
  EXPECT_TRUE(FForm.MemoProperties->toPlainText().startsWith(
      QString::fromStdString("Morphing:\n" + Dir() + "p.qvp\n\nBild 1:\n")));
  EXPECT_TRUE(FForm.PageVisible(TFormSettings::pgMorphing));
  EXPECT_FALSE(FForm.PageVisible(TFormSettings::pgBackground));

  FForm.show();
  Type(FForm.HistoryComboBoxWidth, "800");  // the lock doubles the height too
  Choose(FForm.ComboBoxInterlace, 0);
  FMorphing.SetModified(false);
  FForm.ObtainSettings(FMorphing);
  EXPECT_EQ(FMorphing.Width(), 800);
  EXPECT_EQ(FMorphing.Height(), 600);
  EXPECT_EQ(FMorphing.FramesPerSecond(), 25);
  EXPECT_EQ(FMorphing.FramesMorph(), 60);
  EXPECT_EQ(FMorphing.StillImagesAtStart(), 50);
  EXPECT_EQ(FMorphing.InterlaceType(), it_none);
  EXPECT_TRUE(FMorphing.Modified());
}

TEST_F(SettingsDialogTest, TheBackgroundIsTakenOnlyWithTheSwitchOn) {
  FMorphing.NewProject("", 400, 300);
  FForm.ActivateSettings(FMorphing);
  Choose(FForm.ComboBoxBGFormat, 5);
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxBGWidth), "768");
  EXPECT_EQ(FForm.HistoryComboBoxBGHeight->HistoryStrings().front(), "576");
  FForm.ShapeBgColor->SetColor(RGB(1, 2, 3));
  FForm.ObtainSettings(FMorphing);
  EXPECT_EQ(FMorphing.BackGround().Width(), 0);

  FForm.CheckBoxWithBG->click();
  EXPECT_TRUE(FForm.PageVisible(TFormSettings::pgBackground));
  FForm.ObtainSettings(FMorphing);
  EXPECT_TRUE(FMorphing.withBG());
  EXPECT_EQ(FMorphing.BackGround().Width(), 768);
  EXPECT_EQ(FMorphing.BackGround().Height(), 576);
  EXPECT_EQ(FMorphing.BackGround().BGColor(), RGB(1, 2, 3));
  EXPECT_EQ(FMorphing.BGFormatIndex(), 5);
}

TEST_F(SettingsDialogTest, BackgroundKindShowsColourOrPictureControls) {
  FForm.ActivateSettings(FMorphing);
  FForm.CheckBoxWithBG->click();
  FForm.show();
  Choose(FForm.ComboBoxBgType, bg_Pict);
  EXPECT_FALSE(!FForm.ShapeBgColor->isHidden());
  EXPECT_TRUE(!FForm.HistoryComboBoxBgFileName->isHidden());
  Choose(FForm.ComboBoxBgType, 3);  // " " leaves the controls as they are
  EXPECT_TRUE(!FForm.HistoryComboBoxBgFileName->isHidden());
  Choose(FForm.ComboBoxBgType, bg_Color);
  EXPECT_TRUE(!FForm.ShapeBgColor->isHidden());
  EXPECT_FALSE(!FForm.SpeedButtonBgFile->isHidden());

  FDialogs.QueueColor(true, RGB(10, 20, 30));
  FForm.ShapeBgColorClick();
  EXPECT_EQ(FForm.ShapeBgColor->Color(), RGB(10, 20, 30));

  FDialogs.QueueFile(Dir() + "bg.png");
  FForm.SpeedButtonBgFileClick();
  EXPECT_EQ(FDialogs.FileDialogs().back().Title, "Hintergrundbild wählen:");
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxBgFileName), Dir() + "bg.png");
  EXPECT_EQ(FForm.HistoryComboBoxBgFileName->HistoryStrings().front(), Dir() + "bg.png");
  FDialogs.QueueFile("");
  FForm.SpeedButtonBgFileClick();
  EXPECT_EQ(FDialogs.FileDialogs().back().InitialDir, Dir());
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxBgFileName), Dir() + "bg.png");
}

TEST_F(SettingsDialogTest, ASequenceGetsOnlyBackgroundAndVideoPagesAndAlwaysItsBackground) {
  TSequenceDocument seq;
  seq.SetWidth(640);
  seq.SetHeight(480);
  FForm.ActivateSettings(seq);
  EXPECT_TRUE(FForm.PageVisible(TFormSettings::pgBackground));
  EXPECT_FALSE(FForm.PageVisible(TFormSettings::pgMorphing));
  EXPECT_TRUE(FForm.PageVisible(TFormSettings::pgAVI));
  EXPECT_FALSE(FForm.PageVisible(TFormSettings::pgProperties));
  Choose(FForm.ComboBoxBGFormat, 3);
  FForm.ObtainSettings(seq);
  EXPECT_EQ(seq.BackGround().Width(), 1920);
  EXPECT_EQ(seq.BGFormatIndex(), 3);
  EXPECT_EQ(seq.FramesPerSecond(), 25);
}

TEST_F(SettingsDialogTest, VideoSwitchesAreStoredWhenClicked) {
  EXPECT_TRUE(FForm.AutoPlay());
  EXPECT_TRUE(FForm.GetAutoPlayIntern());
  FForm.CheckBoxAutoPlay->click();
  EXPECT_FALSE(FForm.GetAutoPlayIntern());
  EXPECT_FALSE(FForm.CheckBoxAutoPlayIntern->isEnabled());
  EXPECT_FALSE(Settings().readBool("Opt", "Autoplay", true));
  FForm.CheckBoxCompress->click();
  EXPECT_TRUE(Settings().readBool("Opt", "CompressDia", false));
  FForm.CheckBoxAutoPlay->click();
  FForm.CheckBoxAutoPlayIntern->click();
  EXPECT_FALSE(Settings().readBool("Opt", "AutoplayInt", true));
  EXPECT_TRUE(FForm.AutoPlay());
  EXPECT_FALSE(FForm.GetAutoPlayIntern());

  // A new dialog starts with the stored switches.
  TFormSettings second;
  EXPECT_TRUE(second.CheckBoxCompress->isChecked());
  EXPECT_TRUE(second.AutoPlay());
  EXPECT_FALSE(second.GetAutoPlayIntern());
}

TEST_F(SettingsDialogTest, ShowingReplacesZeroesAndTheBoxesStartWithTheirDefaults) {
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxWidth), "810");
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxHeight), "1080");
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxDuration), "4");
  FForm.ActivateSettings(FMorphing);  // an empty morphing: 0 x 0
  FForm.HistoryComboBoxDuration->SetText("0");
  FForm.show();
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxWidth), "786");
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxHeight), "1024");
  EXPECT_EQ(TextOf(FForm.HistoryComboBoxDuration), "4");
  EXPECT_EQ(FForm.HistoryComboBoxDuration->HistoryStrings().front(), "4");
  // The values are taken when the boxes' handlers run, as the main window does at start.
  FForm.HistoryComboBoxWidthChange();
  EXPECT_EQ(FForm.MWidth(), 786);
}

}  // namespace
}  // namespace qv
