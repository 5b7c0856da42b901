#include "HistoryComboBox.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>

#include "UserSettings.h"

namespace qv {

namespace {

QMenu* gSharedMenu = nullptr;
int gBoxCount = 0;
THistoryComboBox* gPopupTarget = nullptr;

QString ToQ(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The menu acts on the line edit of the box it was opened on.
template <typename F>
void OnTarget(F action) {
  if (gPopupTarget && gPopupTarget->lineEdit()) action(*gPopupTarget->lineEdit());
}

void CreateSharedMenu() {
  gSharedMenu = new QMenu();
  gSharedMenu->setObjectName("HistoryComboBoxPopupMenu");
  QObject::connect(gSharedMenu->addAction("Ausschneiden"), &QAction::triggered,
                   [] { OnTarget([](QLineEdit& e) { e.cut(); }); });
  QObject::connect(gSharedMenu->addAction("Kopieren"), &QAction::triggered,
                   [] { OnTarget([](QLineEdit& e) { e.copy(); }); });
  QObject::connect(gSharedMenu->addAction("Einfügen"), &QAction::triggered,
                   [] { OnTarget([](QLineEdit& e) { e.paste(); }); });
  QObject::connect(gSharedMenu->addAction("Löschen"), &QAction::triggered, [] {
    OnTarget([](QLineEdit& e) {
      if (e.hasSelectedText()) e.del();
    });
  });
}

// The text, cursor and selection of a line edit, to be put back after the items changed.
struct TEditState {
  explicit TEditState(const QLineEdit& e)
      : Text(e.text()),
        Cursor(e.cursorPosition()),
        SelStart(e.selectionStart()),
        SelLength(int(e.selectedText().size())) {}
  void Restore(QLineEdit& e) const {
    e.setText(Text);
    if (SelStart >= 0 && SelLength > 0) {
      // The cursor stays at the end of the selection it was at.
      if (Cursor == SelStart)
        e.setSelection(SelStart + SelLength, -SelLength);
      else
        e.setSelection(SelStart, SelLength);
    } else {
      e.setCursorPosition(Cursor);
    }
  }
  QString Text;
  int Cursor, SelStart, SelLength;
};

}  // namespace

THistoryComboBox::THistoryComboBox(QWidget* parent, const std::string& histName)
    : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // the history decides what the list holds
  if (gBoxCount++ == 0) CreateSharedMenu();
  view()->installEventFilter(this);
  FItems.SetHistName(histName);
  if (!histName.empty()) LoadItems();
}

THistoryComboBox::~THistoryComboBox() {
  if (gPopupTarget == this) gPopupTarget = nullptr;
  if (--gBoxCount == 0) {
    delete gSharedMenu;
    gSharedMenu = nullptr;
  }
}

QMenu* THistoryComboBox::SharedPopupMenu() {
  return gSharedMenu;
}

THistoryComboBox* THistoryComboBox::PopupTarget() {
  return gPopupTarget;
}

void THistoryComboBox::SetLeftMargin(int32_t value) {
  FLeftMargin = value;
  if (lineEdit()) lineEdit()->setTextMargins(value, 0, 0, 0);
}

std::string THistoryComboBox::Text() const {
  return lineEdit() ? lineEdit()->text().toStdString() : std::string();
}

void THistoryComboBox::SetText(const std::string& text) {
  const QSignalBlocker block(this);
  lineEdit()->setText(ToQ(text));
}

void THistoryComboBox::LoadItems() {
  if (FItems.maxHistory() == 0) return;
  const bool any = FItems.LoadItems(CurrentUserSettings());
  ShowItems();
  if (any) {
    const QSignalBlocker block(this);
    setCurrentIndex(0);
    lineEdit()->setText(ToQ(FItems.HistoryStrings()[0]));
  }
}

void THistoryComboBox::SaveItems() {
  if (FItems.maxHistory() == 0) return;
  FItems.SaveItems(Text(), CurrentUserSettings());
  ShowItems();
}

void THistoryComboBox::ShowItems() {
  const TEditState state(*lineEdit());
  const QSignalBlocker block(this);
  clear();
  for (const std::string& item : FItems.HistoryStrings()) addItem(ToQ(item));
  if (count() > 0 && itemText(0) == state.Text) setCurrentIndex(0);
  state.Restore(*lineEdit());
}

void THistoryComboBox::DeleteSelectedItem() {
  const int row = view()->isVisible() ? view()->currentIndex().row() : currentIndex();
  TStringList& items = FItems.HistoryStrings();
  if (row < 0 || row >= int(items.size())) return;
  items.erase(items.begin() + row);
  FItems.SetChanged(true);
  ShowItems();
}

void THistoryComboBox::MatchItemCase() {
  const int i = findText(lineEdit()->text(), Qt::MatchFixedString);  // ignores letter case
  if (i < 0 || itemText(i) == lineEdit()->text()) return;
  TEditState state(*lineEdit());
  state.Text = itemText(i);
  const QSignalBlocker block(this);
  state.Restore(*lineEdit());
}

void THistoryComboBox::focusInEvent(QFocusEvent* e) {
  if (!FItems.ItemsLoaded() && !FItems.HistName().empty()) LoadItems();
  QComboBox::focusInEvent(e);
}

void THistoryComboBox::focusOutEvent(QFocusEvent* e) {
  // The own drop-down list taking the focus is no leaving of the box.
  if (e->reason() != Qt::PopupFocusReason) SaveItems();
  QComboBox::focusOutEvent(e);
}

void THistoryComboBox::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  if (ctrl && e->key() == Qt::Key_A) {
    lineEdit()->selectAll();
    e->accept();
    return;
  }
  if (ctrl && e->key() == Qt::Key_Delete) {
    DeleteSelectedItem();
    e->accept();
    return;
  }
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (enter && !(e->modifiers() & Qt::ShiftModifier)) SaveItems();
  QComboBox::keyPressEvent(e);
  if (!e->text().isEmpty() && !enter) MatchItemCase();
  if (enter) e->accept();  // no default button is pressed by it
}

void THistoryComboBox::paintEvent(QPaintEvent* e) {
  if (FFirstPaint) {
    FFirstPaint = false;
    SetLeftMargin(FLeftMargin);
  }
  QComboBox::paintEvent(e);
}

void THistoryComboBox::contextMenuEvent(QContextMenuEvent* e) {
  ShowPopupMenu(e->pos());
  e->accept();
}

void THistoryComboBox::ShowPopupMenu(const QPoint& pos) {
  gPopupTarget = this;
  if (gSharedMenu) gSharedMenu->popup(mapToGlobal(pos));
}

bool THistoryComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view() && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if ((k->modifiers() & Qt::ControlModifier) && k->key() == Qt::Key_Delete) {
      DeleteSelectedItem();
      return true;
    }
  }
  return QComboBox::eventFilter(watched, event);
}

}  // namespace qv
