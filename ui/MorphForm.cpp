// The main window: construction, menus and tool bar, caption, start-up, close query, dropped
// files, recent files and idle handling.
#include "MorphForm.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "AboutDialog.h"
#include "FileFolders.h"
#include "FileHst.h"
#include "FormOpt.h"
#include "FormPlay.h"
#include "FormState.h"
#include "Guarded.h"
#include "Morph.h"
#include "MultiMorph.h"
#include "Overlay.h"
#include "PaintBox.h"
#include "QtFileMenu.h"
#include "QtFormWindow.h"
#include "QtStrings.h"
#include "Sound.h"
#include "StorageAccess.h"
#include "UserSettings.h"

#ifdef QUORVEL_HAVE_RESOURCES
static void InitResources() {
  Q_INIT_RESOURCE(quorvel);
}
#else
static void InitResources() {}
#endif

namespace qv {

namespace {

QIcon ResourceIcon(const QString& name) {
  QIcon icon;
  for (int size : {16, 24, 32, 48})
    icon.addFile(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(name), QSize(size, size));
  return icon;
}

bool HasExtension(const std::string& fileName, const char* ext) {
  return ToQ(fileName).endsWith(QLatin1String(ext), Qt::CaseInsensitive);
}

}  // namespace

TForm1::TForm1(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), FArguments(std::move(arguments)) {
  InitResources();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quorvel"));
  setWindowIcon(ResourceIcon(QStringLiteral("quorvel")));
  setMinimumSize(600, 400);
  setAcceptDrops(true);
  FMorphing = std::make_unique<TMorphing>();
  FFlup = std::make_unique<TSound>(QStringLiteral(":/flup"));
  CreateActions();
  CreateMenus();
  CreatePages();
  for (QWidget* w : findChildren<QWidget*>()) w->setToolTipDuration(10000);  // hints stay 10 s
  resize(750, 522 + menuBar()->sizeHint().height());
  move(200, 100);
  FormCreate();
  CreateCommandWindows();  // after FormCreate: a project re-opened there is not primed
  qApp->installEventFilter(this);  // the window sees keys before its controls
  if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance())
    connect(d, &QAbstractEventDispatcher::aboutToBlock, this, &TForm1::ApplicationIdle);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  FFileHistory.reset();
  FMorphing.reset();  // FormDestroy
  FMultiMorph.reset();
}

QAction* TForm1::NewAction(const QString& name, const QString& caption, const QString& icon,
                           const QString& hint) {
  auto* a = new QAction(caption, this);
  a->setObjectName(name);
  if (!icon.isEmpty()) a->setIcon(ResourceIcon(icon));
  a->setToolTip(hint.isEmpty() ? QString(caption).remove(QLatin1Char('&')).trimmed() : hint);
  a->setStatusTip(hint);
  return a;
}

void TForm1::CreateActions() {
  ActionFileNew = NewAction("ActionFileNew", "Neues Morphing...", "file-new", "neues Morphing");
  ActionFileOpen = NewAction("ActionFileOpen", "Öffnen...", "file-open", "Morphing laden");
  ActionFileSave = NewAction("ActionFileSave", "Speichern", "file-save", "Morphing Speichern");
  ActionFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  ActionFileSaveAs = NewAction("ActionFileSaveAs", "Speichern unter...", "file-save-as");
  ActionFrameSave = NewAction("ActionFrameSave", "Zwischenbild speichern...", "frame-save");
  ActionTibo = NewAction("ActionTibo", "Als Textdatei mit Tibo öffnen", "text-edit");
  ActionSeqNew = NewAction("ActionSeqNew", "Neue Morphingsequenz", "sequence-new");
  ActionSeqOpen = NewAction("ActionSeqOpen", "Sequenz öffen...", "sequence-open");
  ActionSeqSave =
      NewAction("ActionSeqSave", "Sequenz speichern", "sequence-save", "Multimorph speichern");
  ActionSeqSaveAs = NewAction("ActionSeqSaveAs", "Sequenz speichern unter...", "sequence-save-as");
  ActionExit = NewAction("ActionExit", "Beenden", "exit");

  ActionZoomAuto =
      NewAction("ActionZoomAuto", "Zoom automatisch", "zoom-auto", "Zoomeinstellung automatisch");
  ActionZoomAuto->setCheckable(true);
  ActionZoomAuto->setChecked(true);
  ActionZoomAuto->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_9),
       QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_9))});
  ActionZoomNormal = NewAction("ActionZoomNormal", "normal", "zoom-normal");
  ActionZoomNormal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  ActionZoomIn = NewAction("ActionZoomIn", "größer", "zoom-in");
  // The plus key of the main keyboard is "+" on German and "=" on US keyboards.
  ActionZoomIn->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
       QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus))});
  ActionZoomOut = NewAction("ActionZoomOut", "kleiner", "zoom-out", "kleiner");
  ActionZoomOut->setShortcuts(
      {QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Slash)),
       QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus))});
  FZoomGroup = new QActionGroup(this);
  for (QAction* a : {ActionZoomNormal, ActionZoomIn, ActionZoomOut}) {
    a->setCheckable(true);
    FZoomGroup->addAction(a);
  }
  ActionPointsBig = NewAction("ActionPointsBig", "große Punkte", "points-large");
  ActionPointsMiddle = NewAction("ActionPointsMiddle", "mittlere Punktgröße", "points-medium");
  ActionPointsSmall = NewAction("ActionPointsSmall", "kleine Punkte", "points-small");
  FPointSizeGroup = new QActionGroup(this);
  for (QAction* a : {ActionPointsBig, ActionPointsMiddle, ActionPointsSmall}) {
    a->setCheckable(true);
    FPointSizeGroup->addAction(a);
  }
  ActionPointsInImageMode = NewAction(
      "ActionPointsInImageMode", "Punkte auch im Bildauswahlmodus zeigen", "points-in-image-mode");
  ActionPointsInImageMode->setCheckable(true);
  ActionPointsInImageMode->setChecked(true);
  ActionGridColor = NewAction("ActionGridColor", "Gitternetzfarbe...", "grid-colour");

  ActionSettings =
      NewAction("ActionSettings", "Einstellungen ", "settings", "Morphing-Einstellungen");
  ActionSource1 = NewAction("ActionSource1", "Anfangsbild wählen...", "source-start");
  ActionSource2 = NewAction("ActionSource2", "Endbild wählen...", "source-end");
  ActionBackwards = NewAction("ActionBackwards", "Verwandlungsrichtung umkehren", "reverse");
  ActionModeImage = NewAction("ActionModeImage", "Modus: Bildausschnitt festlegen ", "mode-image");
  ActionModePoints = NewAction("ActionModePoints", "Modus: Punkte setzen", "mode-points");
  MenuModePoints = NewAction("MenuModePoints", "Modus: Punkte setzen", "mode-points");
  ActionModeNet = NewAction("ActionModeNet", "Modus: Gitternetz", "mode-net");
  FModeGroup = new QActionGroup(this);
  for (QAction* a : {ActionModeImage, ActionModePoints, ActionModeNet}) {
    a->setCheckable(true);
    FModeGroup->addAction(a);
  }
  ActionVideo = NewAction("ActionVideo", "Video erzeugen", "video-create");
  ActionInfo = NewAction("ActionInfo", "Info", "about");

  ActionPanePicture = NewAction("ActionPanePicture", "Bild wählen...", "picture-open");
  ActionPaneEdit = NewAction("ActionPaneEdit", "Bild extern bearbeiten", "picture-edit");
  ActionPaneSaveRect = NewAction("ActionPaneSaveRect", "Bildausschnitt speichern...", "rect-save");
  ActionPaneSaveRectEdit = NewAction(
      "ActionPaneSaveRectEdit", "Bildausschnitt speichern und extern bearbeiten", "rect-save-edit");

  // Every command runs guarded: an error no command caught is shown and the program goes on.
  auto on = [this](QAction* a, std::function<void()> f) {
    connect(a, &QAction::triggered, this, [f = std::move(f)] { Guarded(f); });
  };
  on(ActionFileOpen, [this] { FileOpen(); });
  on(ActionFileSave, [this] { FileSave(); });
  on(ActionFileSaveAs, [this] { SaveProjectAs(); });
  on(ActionExit, [this] { close(); });
  on(ActionZoomAuto, [this] { ZoomCommand(ActionZoomAuto); });
  for (QAction* a : {ActionZoomNormal, ActionZoomIn, ActionZoomOut})
    on(a, [this, a] { ZoomCommand(a); });
  on(ActionPointsBig, [this] { SetPointSize(4); });
  on(ActionPointsMiddle, [this] { SetPointSize(3); });
  on(ActionPointsSmall, [this] { SetPointSize(2); });
  on(ActionPointsInImageMode, [this] { invalidateBoth(); });
  on(ActionGridColor, [this] { GridColorCommand(); });
  on(ActionBackwards, [this] {
    FMorphing->Backwards();
    invalidateAll();
  });
  on(ActionModeImage, [this] { SetEditMode(mm_ImgSel); });
  on(ActionModePoints, [this] {
    SetEditMode(mm_Points);
    SpeedButtonMorph->setChecked(true);
  });
  on(MenuModePoints, [this] { SetEditMode(mm_Points); });
  on(ActionModeNet, [this] { SetEditMode(mm_Net); });
  on(ActionInfo, [this] { ShowAboutDialog(this); });
}

void TForm1::CreateMenus() {
  MenuFile = menuBar()->addMenu(QStringLiteral("&Datei"));
  MenuFile->setObjectName(QStringLiteral("MenuFile"));
  MenuFile->addActions({ActionFileNew, ActionFileOpen, ActionFileSave, ActionFileSaveAs});
  MenuFile->addSeparator();
  MenuFile->addActions({ActionFrameSave, ActionTibo});
  MenuFile->addSeparator();
  MenuFile->addActions({ActionSeqNew, ActionSeqOpen, ActionSeqSave, ActionSeqSaveAs});
  MenuFile->addSeparator();
  MenuFile->addAction(ActionExit);
  // The recent files follow here; the list is read again whenever the menu opens.
  connect(MenuFile, &QMenu::aboutToShow, this, [this] { FFileHistory->Load(); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("&Ansicht"));
  view->addAction(ActionZoomAuto);
  view->addActions({ActionZoomNormal, ActionZoomIn, ActionZoomOut});
  view->addSeparator();
  view->addActions({ActionPointsBig, ActionPointsMiddle, ActionPointsSmall});
  view->addSeparator();
  view->addActions({ActionPointsInImageMode, ActionGridColor});

  QMenu* morph = menuBar()->addMenu(QStringLiteral("Morphing"));
  morph->addAction(ActionSettings);
  morph->addSeparator();
  morph->addActions({ActionSource1, ActionSource2, ActionBackwards});
  morph->addSeparator();
  morph->addActions({ActionModeImage, MenuModePoints, ActionModeNet});
  morph->addSeparator();
  morph->addAction(ActionVideo);

  QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
  help->addAction(ActionInfo);

  PopupMenuPane = new QMenu(this);
  PopupMenuPane->setObjectName(QStringLiteral("PopupMenuPane"));
  PopupMenuPane->addActions(
      {ActionPanePicture, ActionPaneEdit, ActionPaneSaveRect, ActionPaneSaveRectEdit});
}

void TForm1::CreatePages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  TabSheetMorph = new QWidget;
  TabSheetMorph->setObjectName(QStringLiteral("TabSheetMorph"));
  TabSheetMorphSeq = new QWidget;
  TabSheetMorphSeq->setObjectName(QStringLiteral("TabSheetMorphSeq"));
  PageControl1->addTab(TabSheetMorph, QStringLiteral("Morphing"));
  PageControl1->addTab(TabSheetMorphSeq, QStringLiteral("MultiMorph"));
  setCentralWidget(PageControl1);
  connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::UpdateCaption);

  auto* layout = new QVBoxLayout(TabSheetMorph);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreateToolBar();
  CreatePanes();
  CreateBottomPanel();
  layout->addWidget(PanelTop);
  layout->addWidget(PanelImages, 1);
  layout->addWidget(PanelBottom);
  CreateSequencePage();
}

void TForm1::CreateToolBar() {
  PanelTop = new QWidget;
  PanelTop->setObjectName(QStringLiteral("PanelTop"));
  PanelTop->setFixedHeight(29);
  auto* row = new QHBoxLayout(PanelTop);
  row->setContentsMargins(2, 1, 8, 1);  // the size label keeps 8 pixels from the right edge
  row->setSpacing(1);
  auto addButton = [&](QToolButton* b, const QString& name) {
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setIconSize(QSize(22, 22));
    b->setFocusPolicy(Qt::NoFocus);
    row->addWidget(b);
    return b;
  };
  auto actionButton = [&](QAction* a, const QString& name) {
    auto* b = addButton(new QToolButton, name);
    b->setDefaultAction(a);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);  // tool buttons show only their icons
    return b;
  };
  auto plainButton = [&](const QString& name, const QString& text, const QString& icon,
                         const QString& hint) {
    auto* b = addButton(new QToolButton, name);
    b->setText(text);
    b->setToolTip(hint);
    if (!icon.isEmpty()) b->setIcon(ResourceIcon(icon));
    return b;
  };
  actionButton(ActionFileSave, "SpeedButtonSave");
  actionButton(ActionSettings, "SpeedButtonSettings");
  actionButton(ActionModeImage, "SpeedButtonModeImage");
  actionButton(ActionModePoints, "SpeedButtonModePoints");
  actionButton(ActionModeNet, "SpeedButtonModeNet");

  Image1 = new QLabel;
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(ResourceIcon(QStringLiteral("help")).pixmap(22, 22));
  Image1->installEventFilter(this);  // the mode help shows while the mouse is over it
  row->addWidget(Image1);

  SpeedButtonConvert = plainButton("SpeedButtonConvert", "Convert", "convert", "Convert");
  SpeedButtonConvert->hide();
  SpeedButtonD = plainButton("SpeedButtonD", "D", "triangle-indexes",
                             "Indizes der Dreiecke zeigen (für Testzwecke)");
  SpeedButtonD->setCheckable(true);
  connect(SpeedButtonD, &QToolButton::toggled, this, [this](bool down) {
    FDrawTriangleIndexes = down;
    RepaintTarget();
  });
  SpeedButtonLastAVI = plainButton("SpeedButtonLastAVI", "", "video-last",
                                   "Zuletzt erzeugtes oder verwendetes Video zeigen");

  SpeedButtonMorph = plainButton("SpeedButtonMorph", "M", "preview-morph",
                                 "Zwischenbild mittels Morphing erzeugen");
  SpeedButtonBlend = plainButton("SpeedButtonBlend", "B", "preview-blend",
                                 "Zwischenbild durch Überblenden erzeugen");
  FPreviewTypeGroup = new QButtonGroup(this);
  for (QToolButton* b : {SpeedButtonMorph, SpeedButtonBlend}) {
    b->setCheckable(true);
    FPreviewTypeGroup->addButton(b);
    connect(b, &QToolButton::clicked, this, &TForm1::RepaintTarget);
  }
  SpeedButtonMorph->setChecked(true);

  SpeedButtonGrid =
      plainButton("SpeedButtonGrid", "", "grid", "Netz auf dem Zielbild zeigen an/aus");
  SpeedButtonGrid->setCheckable(true);
  connect(SpeedButtonGrid, &QToolButton::clicked, this, &TForm1::RepaintTarget);
  SpeedButtonCompute =
      plainButton("SpeedButtonCompute", "", "preview-play", "Direktvorschau zeigen");
  connect(SpeedButtonCompute, &QToolButton::clicked, this, &TForm1::SpeedButtonComputeClick);
  SpeedButtonPause =
      plainButton("SpeedButtonPause", "", "preview-pause", "Direktvorschau anhalten");
  SpeedButtonPause->setEnabled(false);
  connect(SpeedButtonPause, &QToolButton::clicked, this, &TForm1::SpeedButtonPauseClick);
  actionButton(ActionVideo, "SpeedButtonVideo");

  row->addStretch(1);
  LabelPictSize = new QLabel(QStringLiteral("Bildgröße:"));
  LabelPictSize->setObjectName(QStringLiteral("LabelPictSize"));
  LabelPictSize->setToolTip(
      QStringLiteral("klicken Sie hier, um die Abmessungen des Morphings zu ändern"));
  row->addWidget(LabelPictSize);
}

void TForm1::CreateBottomPanel() {
  PanelBottom = new QWidget;
  PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
  PanelBottom->setFixedHeight(77);
  PanelBottom->installEventFilter(this);
  Memo1 = new QPlainTextEdit(PanelBottom);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setFocusPolicy(Qt::NoFocus);
  Memo1->setGeometry(0, 0, 300, 77);
  TrackBar1 = new QSlider(Qt::Horizontal, PanelBottom);
  TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
  TrackBar1->setRange(0, 100);
  TrackBar1->setTickInterval(2);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  TrackBar1->setValue(50);
  TrackBar1->setGeometry(300, 4, 200, 40);
  connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
}

// --- start-up -------------------------------------------------------------------------------

void TForm1::FormCreate() {
  FDraggingPointIndex = -1;
  FZoom = 1000;
  FFileMenu = std::make_unique<TQtFileMenu>(
      *MenuFile, [this](int32_t id) { Guarded([&] { HandleMenuCommand(id); }); });
  FFileHistory = std::make_unique<TFileHistory>(FFileMenu.get());
  FFileHistory->SetUserSettings(CurrentUserSettings());
  TQtFormWindow placement(*this, "TForm1");
  RestoreFormState(placement, CurrentUserSettings());
  const std::string top = FFileHistory->GetMenuFileTop();
  const std::string current = ReadSettingString("File", "Current", "");
  if (!current.empty() && QFileInfo::exists(ToQ(current))) OpenProject(current);
  if (HasExtension(top, ".msq")) OpenSequence(top);
  FLastAVIUsed = ReadSettingString("File", "LastAVI", "");
  const int32_t size = ReadSettingInteger("Opt", "PointSize", qv::PointSize());
  qv::SetPointSize(size);
  ActionPointsSmall->setChecked(size == 2);
  ActionPointsMiddle->setChecked(size == 3);
  ActionPointsBig->setChecked(size == 4);
  SpeedButtonD->hide();
  PageControl1->setTabVisible(1, false);
  for (QAction* a : {ActionSeqNew, ActionSeqOpen, ActionSeqSave, ActionSeqSaveAs})
    a->setVisible(false);
  SetEditMode(FMorphing->MorphMode());
}

void TForm1::FormActivate() {
  if (!FFirstActivation) return;
  FFirstActivation = false;
  if (FMorphing->FileName().empty() && AutoZoom()) SetAutoZoom(true);
  if (!FArguments.isEmpty()) {
    const std::string arg = FromQ(FArguments.first());
    if (QFileInfo(ToQ(arg)).isFile()) {
      if (HasExtension(arg, ".qvp"))
        OpenProject(arg);
      else if (HasExtension(arg, ".msq"))
        OpenSequence(arg);
    }
  }
  if (FMorphing->FileName().empty()) {
    // A new morphing of the size the settings dialog proposes; the dialog is not forced on
    // the user at start ("Neues Morphing..." and "Einstellungen " offer it).
    const TSizeProposal size = ProposedNewMorphSize();
    FMorphing->NewProject("", size.Width, size.Height);
    FFormSettings->ActivateSettings(*FMorphing);
    ShowTargetSize(FMorphing->Width(), FMorphing->Height());
  }
  ActionZoomAuto->setChecked(!ActionZoomAuto->isChecked());
  ActionZoomAuto->trigger();
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// --- documents ------------------------------------------------------------------------------

void TForm1::OpenProject(const std::string& fileName) {
  FMorphing->LoadFromFile(fileName);
  ShowTargetSize(FMorphing->TargetBmp().Width(), FMorphing->TargetBmp().Height());
  if (FFormSettings) FFormSettings->ActivateSettings(*FMorphing);
  SetEditMode(FMorphing->MorphMode());
  FFileHistory->MenuAppendFile(fileName, true);
  UpdateCaption();
  // A project without a stored zoom (or an unusable one) is shown at the fit zoom.
  const int32_t zoom = FMorphing->CurrentZoom();
  SetZoom(zoom < 50 ? GetFitZoom() : zoom);
}

void TForm1::UpdateCaption() {
  if (PageControl1->currentWidget() == TabSheetMorph)
    setWindowTitle(QStringLiteral("Quorvel - Morphing: ") +
                   QFileInfo(ToQ(FMorphing->FileName())).fileName());
  else
    setWindowTitle(QStringLiteral("Quorvel - MorphSequence: ") +
                   QFileInfo(ToQ(FMultiMorph->FileName())).fileName());
}

void TForm1::ShowMorphPage() {
  PageControl1->setCurrentWidget(TabSheetMorph);
  UpdateCaption();
}

void TForm1::ShowTargetSize(int32_t w, int32_t h) {
  LabelPictSize->setText(QStringLiteral("Zielgröße: %1 x %2").arg(w).arg(h));
}

void TForm1::FileOpen() {
  if (!FMorphing->SaveIfModified()) return;
  FOpenDialog.Kind = TFileDialogKind::Open;
  FOpenDialog.Title = "Quorvel-Projekt öffnen";
  FOpenDialog.Filter = "Quorvel-Projekte *.qvp|*.qvp";
  FOpenDialog.InitialDir = DefaultProjectDir();
  if (!Dialogs().ExecuteFileDialog(FOpenDialog)) return;
  StoreFileFolder("ProjDir", FOpenDialog.FileName);
  OpenProject(FOpenDialog.FileName);
  ShowMorphPage();
}

void TForm1::FileSave() {
  if (FMorphing->FileName().empty())
    SaveProjectAs();
  else
    FMorphing->SaveToFile(FMorphing->FileName());
}

// --- closing --------------------------------------------------------------------------------

bool TForm1::FormCloseQuery() {
  FStopped = true;
  SaveFormState(TQtFormWindow(*this, "TForm1"), fp_StateAndSize | fp_Position,
                CurrentUserSettings());
  WriteSettingString("File", "Current", FMorphing->FileName());
  if (!FMorphing->SaveIfModified()) {
    if (!FMorphing->FileName().empty()) return false;
    if (!SaveProjectAs()) return false;
  }
  if (!FMultiMorph->SaveIfModified()) {
    if (!FMultiMorph->FileName().empty()) return false;
    if (!SaveSequenceAs()) return false;
  }
  return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  Guarded([&] { mayClose = FormCloseQuery(); });  // a failed save keeps the window open
  if (mayClose)
    event->accept();
  else
    event->ignore();
}

// --- dropped and recent files ---------------------------------------------------------------

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  QStringList names;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) names << url.toLocalFile();
  event->acceptProposedAction();
  OpenDroppedFiles(names);
}

void TForm1::OpenDroppedFiles(const QStringList& names) {
  QStringList files;
  for (const QString& name : names) {
    QFileInfo fi(name);
    if (!fi.isSymLink()) {
      files << name;
      continue;
    }
    const QString target = fi.symLinkTarget();  // a link counts as its target
    if (!target.isEmpty() && QFileInfo::exists(target)) files << target;
  }
  if (!files.isEmpty() && FMorphing->SaveIfModified()) OpenProject(FromQ(files.first()));
  activateWindow();
  raise();
}

bool TForm1::HandleMenuCommand(int id) {
  if (id < TFileHistory::kFirstCommand || id > TFileHistory::kLastCommand) return false;
  const std::string fileName = FFileHistory->GetMenuFileHistory(id);
  if (!HasExtension(fileName, ".msq")) {
    if (FMorphing->SaveIfModified()) {
      OpenProject(fileName);
      ShowMorphPage();
    }
  } else if (FMultiMorph->SaveIfModified()) {
    OpenSequence(fileName);
  }
  return true;
}

// --- idle -----------------------------------------------------------------------------------

void TForm1::ApplicationIdle() {
  ActionFileSave->setEnabled(FMorphing->Modified());
  ShowStatus();
}

}  // namespace qv
