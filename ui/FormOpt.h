// The modal dialog "Einstellungen": picture size, transition length, still frames, easing,
// frame rate, field order and surrounding background of a document, and the application-wide
// video switches (codec offer, auto-play, own player). One instance lives for the whole run.
//
// ActivateSettings copies a document into the dialog, ObtainSettings copies the dialog back
// after the user confirmed with OK. A morphing uses all four pages, a sequence only
// "Hintergrund" and "AVI". The three switches of the page "AVI" are stored in the settings
// section "Opt" as soon as they are clicked.
#pragma once

#include <QDialog>
#include <QFrame>
#include <cstdint>
#include <functional>
#include <string>

#include "Types.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace qv {

class TMorph0;
class THistoryComboBox;

enum TDurationUnit : uint8_t { du_seconds, du_Frames };

// One entry of the format lists.
struct TSizePreset {
  const char* Text;
  int32_t Width, Height;  // 0 for the entry "nutzerdefiniertes Format"
};
inline constexpr int kPresetCount = 7;
inline constexpr int kCustomFormatIndex = 6;
extern const TSizePreset kSizePresets[kPresetCount];
// The row of the format list showing that size: the preset of exactly that width and height,
// kCustomFormatIndex for any other size.
int SizeToFormatIndex(int32_t w, int32_t h);
// The number a box's text is read as: its leading integer ("-" sign, "$" for hexadecimal
// digits), 0 without leading digits.
int32_t BoxNumber(const std::string& text);

// A field showing a colour; a click on it runs OnClick.
class TColorField : public QFrame {
 public:
  explicit TColorField(QWidget* parent = nullptr);
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  std::function<void()> OnClick;

 protected:
  void mousePressEvent(QMouseEvent* e) override;

 private:
  TColor FColor = clBlack;
};

class TFormSettings : public QDialog {
  Q_OBJECT
 public:
  enum TPage { pgBackground = 0, pgMorphing = 1, pgAVI = 2, pgProperties = 3 };

  explicit TFormSettings(QWidget* parent = nullptr);
  ~TFormSettings() override;

  // Document to dialog and, after OK, dialog to document (a TMorphing, or a sequence).
  void ActivateSettings(TMorph0& Morph);
  void ObtainSettings(TMorph0& Morph);

  // Auto-play after a video was written, and whether the own player does it.
  bool AutoPlay() const { return FAutoPlay; }
  bool GetAutoPlayIntern() const { return FAutoPlay && FAutoPlayIntern; }

  int32_t MWidth() const { return FMWidth; }
  int32_t MHeight() const { return FMHeight; }
  int32_t BGWidth() const { return FBGWidth; }
  int32_t BGHeight() const { return FBGHeight; }
  int32_t OldWidth() const { return FOldWidth; }
  int32_t OldHeight() const { return FOldHeight; }
  int32_t FramesPerSecond() const { return FFramesPerSecond; }
  int32_t FramesMorph() const { return FFramesMorph; }
  void SetFramesMorph(int32_t v);
  TDurationUnit DurationUnit() const { return FDurationUnit; }
  TInterlaceType InterlaceType() const { return FInterlaceType; }
  int32_t StillImagesAtStart() const { return FStillImagesAtStart; }
  int32_t StillImagesAtEnd() const { return FStillImagesAtEnd; }

  // Shows or hides a page (its tab) and selects a page.
  void SetPageVisible(int page, bool visible);
  bool PageVisible(int page) const;
  void SetActivePage(int page);
  int ActivePage() const;

  // The change handlers of the boxes, as user input runs them.
  void HistoryComboBoxWidthChange();
  void HistoryComboBoxHeightChange();
  void HistoryComboBoxDurationChange();
  void ComboBoxFormatChange();
  void ComboBoxBGFormatChange();
  void ComboBoxUnitChange();
  void ComboBoxFPSChange();
  void ComboBoxInterlaceChange();
  void ComboBoxBgTypeChange();
  void EditStillStartChange();
  void EditStillEndChange();
  void ShapeBgColorClick();
  void SpeedButtonBgFileClick();
  void CheckBoxWithBGClick();
  void CheckBoxCompressClick();
  void CheckBoxAutoPlayClick();
  void CheckBoxAutoPlayInternClick();
  // The work done each time the dialog is shown, and each time it becomes active.
  void FormShow();
  void FormActivate();

  // Page "Hintergrund".
  QComboBox* ComboBoxBGFormat = nullptr;
  THistoryComboBox* HistoryComboBoxBGWidth = nullptr;
  THistoryComboBox* HistoryComboBoxBGHeight = nullptr;
  QComboBox* ComboBoxBgType = nullptr;
  TColorField* ShapeBgColor = nullptr;
  THistoryComboBox* HistoryComboBoxBgFileName = nullptr;
  QToolButton* SpeedButtonBgFile = nullptr;
  // Page "Morphing".
  QWidget* PanelSize = nullptr;
  QComboBox* ComboBoxFormat = nullptr;
  THistoryComboBox* HistoryComboBoxWidth = nullptr;
  THistoryComboBox* HistoryComboBoxHeight = nullptr;
  QCheckBox* CheckBoxWithBG = nullptr;
  QCheckBox* CheckBoxAspect = nullptr;
  THistoryComboBox* HistoryComboBoxDuration = nullptr;
  QComboBox* ComboBoxUnit = nullptr;
  QLineEdit* EditStillStart = nullptr;
  QLineEdit* EditStillEnd = nullptr;
  QLabel* LabelStillStart = nullptr;
  QLabel* LabelStillEnd = nullptr;
  QGroupBox* RadioGroupEasing = nullptr;
  QButtonGroup* EasingButtons = nullptr;
  // Page "AVI".
  QComboBox* ComboBoxFPS = nullptr;
  QComboBox* ComboBoxInterlace = nullptr;
  QCheckBox* CheckBoxCompress = nullptr;
  QCheckBox* CheckBoxAutoPlay = nullptr;
  QCheckBox* CheckBoxAutoPlayIntern = nullptr;
  // Page "Eigenschaften".
  QPlainTextEdit* MemoProperties = nullptr;

  QTabWidget* PageControl1 = nullptr;
  QPushButton* ButtonOK = nullptr;
  QPushButton* ButtonCancel = nullptr;

  // The easing row: 0 linear, 1 both ends, 2 start only, 3 end only.
  int EasingIndex() const;
  void SetEasingIndex(int row);

 signals:
  // ActivateSettings is done: the main window lays out its panes again.
  void SettingsActivated();

 protected:
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  QWidget* CreateBackgroundPage();
  QWidget* CreateMorphingPage();
  QWidget* CreateAVIPage();
  QWidget* CreatePropertiesPage();
  void ConnectControls();
  void FormCreate();

  // The setters write the number into the box (unless the box itself is being typed in),
  // let the box remember it and select the matching format row.
  void SetMWidth(int32_t v, bool fromBox = false);
  void SetMHeight(int32_t v, bool fromBox = false);
  void SetFramesPerSecond(int32_t v);
  void SetInterlaceType(TInterlaceType v);
  void ShowDuration();
  // The still boxes in the present unit, and their labels.
  void ShowStillImages();
  void ApplyBgTypeVisibility();
  std::string UnitName() const;
  bool InSeconds() const;

  int32_t FMWidth = 0;
  int32_t FMHeight = 0;
  int32_t FBGWidth = 0;
  int32_t FBGHeight = 0;
  int32_t FOldWidth = 0;
  int32_t FOldHeight = 0;
  int32_t FFramesPerSecond = 25;
  int32_t FFramesMorph = 100;
  TDurationUnit FDurationUnit = du_seconds;
  bool FAutoPlay = true;
  bool FAutoPlayIntern = true;
  TInterlaceType FInterlaceType = it_upperFirst;
  int32_t FStillImagesAtEnd = 0;
  int32_t FStillImagesAtStart = 0;
};

}  // namespace qv
