// The main window of the editor: it owns the morphing, shows it in three panes (start picture,
// end picture, the frame at the track bar's position), and turns menu commands, tool buttons,
// mouse gestures, keys, dropped files and the command line into calls on the document.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <string>

#include "Dialogs.h"
#include "RenderHost.h"
#include "Types.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QLabel;
class QMenu;
class QMouseEvent;
class QPainter;
class QPlainTextEdit;
class QScrollArea;
class QSlider;
class QTabWidget;
class QToolButton;

namespace qv {

class TBitmap;
class TFileHistory;
class TFormPlayer;
class TFormSettings;
class TMorph0;
class TMorphSource;
class TMorphing;
class TMultiMorph;
class TPaintBox;
class TSequencePage;
class TQtCanvas;
class TQtFileMenu;
class TSound;

class TForm1 : public QMainWindow, public TRenderHost {
  Q_OBJECT
 public:
  // arguments: the program's command-line arguments without the program name; the first one
  // is opened at the first activation.
  explicit TForm1(QStringList arguments = {}, QWidget* parent = nullptr);
  ~TForm1() override;

  TMorphing& Morphing() { return *FMorphing; }
  int32_t Zoom() const { return FZoom; }
  void SetZoom(int32_t v);
  bool AutoZoom() const;
  void SetAutoZoom(bool b);

  // Document lifecycle.
  void OpenProject(const std::string& fileName);
  void OpenSequence(const std::string& fileName);
  void UpdateCaption();
  void ShowMorphPage();
  void ShowSequencePage();
  void StorePointSize();
  void ShowTargetSize(int32_t w, int32_t h);
  bool SaveProjectAs();
  // Project commands.
  void FileNew();
  // The settings dialog on a document, showing the page pageIndex; true when confirmed.
  bool EditSettings(TMorph0& document, int pageIndex);
  // A new target size; asks first when it changes the aspect ratio of a morphing with points.
  void ChangeTargetSize(int32_t w, int32_t h);
  // The picture dialog for source 1 (start picture) or 2 (end picture).
  void SelectSourcePicture(int sourceIndex);
  // The save questions for the morphing and the sequence; false when one was cancelled.
  bool QuerySaveBoth();
  // The source of the pane whose pop-up menu was opened last (1 or 2).
  int PopupSourceIndex() const { return FPopupSourceIndex; }
  void SetPopupSourceIndex(int index) { FPopupSourceIndex = index; }

  // Export and external editing.
  void Zwischenbildspeichern1Click();
  std::string SaveImageSection();
  void OpenProjectInTextEditor();

  // Videos: the video command, the button for the last video, the conversion command.
  void CreateMorphAVI();
  void SpeedButton2Click();
  void SpeedButtonConvertClick();
  const std::string& LastAVIUsed() const { return FLastAVIUsed; }

  TFormSettings& FormSettings() { return *FFormSettings; }
  TFormPlayer& FormPlayer() { return *FFormPlayer; }

  // The work of the first activation (opening the command-line file, a new morphing).
  void FormActivate();
  // Files dropped onto the window, in their order; the first one is opened as a project.
  void OpenDroppedFiles(const QStringList& names);
  // A command of the recent-file entries of the file menu; false for other identifiers.
  bool HandleMenuCommand(int id);
  // The idle work: enabling "Speichern", refreshing the status.
  void ApplicationIdle();

  // Panes and zoom.
  int32_t GetFitZoom() const;
  TPoint ScreenToImagePoint(QPoint p) const;
  int32_t ScreenToImageLength(int32_t n) const;
  void invalidateAll();
  void invalidateBoth();
  void PanelImagesResize();
  // The point marker size shared with the overlay drawing (2, 3 or 4).
  int32_t PointSize() const;
  void SetPointSize(int32_t size);
  // The colour dialog of the window: starts with the colour chosen last in it.
  bool ExecuteColorDialog(TColor& color);

  // Edit modes and status.
  void SetEditMode(TMorphEditMode mode);
  void ShowStatus();
  void AddPointToSelection(int32_t pointIndex);
  static const char* ModeHelpText(TMorphEditMode mode);
  int FlupCount() const;

  // Preview.
  void TrackBar1Change();
  void SpeedButtonComputeClick();
  void SpeedButtonPauseClick();
  // The frame request of the window: computes the frame or field and shows a complete frame
  // in the target pane.
  void RenderMorphFrame(TMorphing& morphing, int32_t nomi, int32_t denom, TOddEvenBoth oe,
                        bool bgDraw);
  // The window as the host of frame loops: the target pane, the track bar as progress bar,
  // the processing of pending events.
  void ShowFrame(const TBitmap& frame) override;
  int32_t ProgressMax() const override;
  void SetProgressMax(int32_t value) override;
  int32_t ProgressPosition() const override;
  void SetProgressPosition(int32_t value) override;
  void ProcessMessages() override;
  bool Playing() const { return FPlaying; }
  bool Stopped() const { return FStopped; }
  // Frames shown by RenderMorphFrame since the start.
  int FramesShown() const { return FFramesShown; }

  // The sequence and its page (MorphFormSequence.cpp).
  TMultiMorph& MultiMorph();
  TSequencePage& SequencePage();
  // The save-as dialog of the sequence; true when it was saved.
  bool SaveSequenceAs();
  // "jetzt rendern": asks for the file and writes the sequence video. Answers false.
  bool RenderMultiMorphAVI(TMultiMorph& multiMorph);
  // The window's open dialog, which keeps its settings between uses.
  TFileDialog& OpenDialog() { return FOpenDialog; }

  // The window's components.
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheetMorph = nullptr;
  QWidget* TabSheetMorphSeq = nullptr;
  QWidget* PanelTop = nullptr;
  QWidget* PanelImages = nullptr;
  QWidget* PanelBottom = nullptr;
  QScrollArea* ScrollBoxSrc1 = nullptr;
  QScrollArea* ScrollBoxSrc2 = nullptr;
  QScrollArea* ScrollBoxTarget = nullptr;
  TPaintBox* PaintBoxSrc1 = nullptr;
  TPaintBox* PaintBoxSrc2 = nullptr;
  TPaintBox* PaintBoxTarget = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPlainTextEdit* Memo2 = nullptr;
  QSlider* TrackBar1 = nullptr;
  QLabel* LabelPictSize = nullptr;
  QLabel* Image1 = nullptr;
  QToolButton* SpeedButtonMorph = nullptr;
  QToolButton* SpeedButtonBlend = nullptr;
  QToolButton* SpeedButtonGrid = nullptr;
  QToolButton* SpeedButtonCompute = nullptr;
  QToolButton* SpeedButtonPause = nullptr;
  QToolButton* SpeedButtonD = nullptr;
  QToolButton* SpeedButtonConvert = nullptr;
  QToolButton* SpeedButtonLastAVI = nullptr;
  QMenu* MenuFile = nullptr;
  QMenu* PopupMenuPane = nullptr;

  QAction* ActionFileNew = nullptr;
  QAction* ActionFileOpen = nullptr;
  QAction* ActionFileSave = nullptr;
  QAction* ActionFileSaveAs = nullptr;
  QAction* ActionFrameSave = nullptr;
  QAction* ActionTibo = nullptr;
  QAction* ActionSeqNew = nullptr;
  QAction* ActionSeqOpen = nullptr;
  QAction* ActionSeqSave = nullptr;
  QAction* ActionSeqSaveAs = nullptr;
  QAction* ActionSeqSettings = nullptr;
  QAction* ActionExit = nullptr;
  QAction* ActionZoomAuto = nullptr;
  QAction* ActionZoomNormal = nullptr;
  QAction* ActionZoomIn = nullptr;
  QAction* ActionZoomOut = nullptr;
  QAction* ActionPointsBig = nullptr;
  QAction* ActionPointsMiddle = nullptr;
  QAction* ActionPointsSmall = nullptr;
  QAction* ActionPointsInImageMode = nullptr;
  QAction* ActionGridColor = nullptr;
  QAction* ActionSettings = nullptr;
  QAction* ActionSource1 = nullptr;
  QAction* ActionSource2 = nullptr;
  QAction* ActionBackwards = nullptr;
  QAction* ActionModeImage = nullptr;
  QAction* ActionModePoints = nullptr;
  QAction* MenuModePoints = nullptr;  // the menu's own entry: switches the mode only
  QAction* ActionModeNet = nullptr;
  QAction* ActionVideo = nullptr;
  QAction* ActionInfo = nullptr;
  QAction* ActionPanePicture = nullptr;
  QAction* ActionPaneEdit = nullptr;
  QAction* ActionPaneSaveRect = nullptr;
  QAction* ActionPaneSaveRectEdit = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building the window.
  void CreateActions();
  void CreateMenus();
  void CreatePages();
  void CreateToolBar();
  void CreatePanes();
  void CreateBottomPanel();
  QAction* NewAction(const QString& name, const QString& caption, const QString& icon,
                     const QString& hint = QString());
  void FormCreate();
  bool FormCloseQuery();
  void FileSave();
  void FileOpen();
  bool CopyPicturesInto(const std::string& folder);
  // The settings dialog, the player and the codec choice, and the commands that use them.
  void CreateCommandWindows();
  void ConnectCommands();
  void CreateSequencePage();
  void SequenceOpen();
  // "Eigenschaften": the settings dialog for the selected member, without its size and video.
  void SeqMorphPropsClick();

  // Panes.
  void PaintSourcePane(QPainter& painter, TPaintBox& paintBox, TMorphSource& source);
  void PaintBoxTargetPaint(QPainter& painter);
  void DrawTargetFrame(TQtCanvas& canvas);
  void DrawTargetOverlays(TQtCanvas& canvas);
  void CoupleScrollBars();
  void ZoomCommand(QAction* which);
  void GridColorCommand();
  void RepaintTarget();

  // Mouse and keys.
  // The source of the start pane (1) or the end pane (2), looked up at every use: the
  // sources change places when the direction of the morphing is reversed.
  TMorphSource& SourceOf(int index);
  void ConnectPane(TPaintBox& paintBox, int sourceIndex);
  void PaneMouseDown(TPaintBox& paintBox, TMorphSource& source, QMouseEvent* e);
  void PaneMouseMove(TPaintBox& paintBox, TMorphSource& source, QMouseEvent* e);
  void PaneMouseUp(TPaintBox& paintBox, TMorphSource& source, QMouseEvent* e);
  void MoveImageRect(TPaintBox& paintBox, TMorphSource& source, QPoint pos, bool resize);
  void DeleteTriangleAtMouse(TPaintBox& paintBox, TMorphSource& source);
  bool FormKeyDown(QKeyEvent* e);
  void ShowModeHelp(bool show);

  // Preview.
  void RunLivePreview();

  std::unique_ptr<TMorphing> FMorphing;
  std::unique_ptr<TSound> FFlup;
  std::unique_ptr<TQtFileMenu> FFileMenu;
  std::unique_ptr<TFileHistory> FFileHistory;
  TFileDialog FOpenDialog;  // the window's dialogs keep their settings between uses
  TFileDialog FSaveDialog;
  TFileDialog FPictureOpenDialog;
  TFileDialog FPictureSaveDialog;
  std::unique_ptr<TFormSettings> FFormSettings;
  std::unique_ptr<TFormPlayer> FFormPlayer;
  int FPopupSourceIndex = 1;  // the pane whose pop-up menu was opened last
  QStringList FArguments;
  QActionGroup* FModeGroup = nullptr;
  QActionGroup* FZoomGroup = nullptr;
  QActionGroup* FPointSizeGroup = nullptr;
  QButtonGroup* FPreviewTypeGroup = nullptr;

  int32_t FZoom = 1000;
  QPoint FMouseStartPos;
  int32_t FMouseOverPointIndex = -1;
  int32_t FDraggingPointIndex = -1;
  std::string FLastAVIUsed;
  bool FPlaying = false;
  bool FDrawTriangleIndexes = false;
  bool FFirstActivation = true;
  TColor FColorDialogColor = clBlack;
  int32_t FLastNoTrianglePosition = 0;  // track bar position of the last "no triangles" message

  // Target pane: set while its paint handler runs; a frame finished then is drawn by it.
  TQtCanvas* FTargetCanvas = nullptr;
  bool FShowRenderedFrame = false;       // repaint shows the target bitmap as it is
  const TBitmap* FShownFrame = nullptr;  // the frame last shown outside painting
  int FFramesShown = 0;
  bool FSyncingScroll = false;

  std::unique_ptr<TMultiMorph> FMultiMorph;
  TSequencePage* FSequencePage = nullptr;  // owned by its page widget
};

}  // namespace qv
