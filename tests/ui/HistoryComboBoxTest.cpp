// The history combo box: what it remembers and when, its keys and the shared pop-up menu.
#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "CommandTestTools.h"
#include "HistoryComboBox.h"

namespace qv {
namespace {

constexpr const char* kHist = "Test\\HistoryBox";

class HistoryComboBoxTest : public CommandTest {
 protected:
  static std::string Stored() { return Settings().readString(kHist, "Hist", ""); }
  static QStringList Items(const QComboBox& box) {
    QStringList out;
    for (int i = 0; i < box.count(); ++i) out << box.itemText(i);
    return out;
  }
  static void Type(THistoryComboBox& box, const char* text) {
    box.lineEdit()->selectAll();
    QTest::keyClicks(&box, text);
  }
};

TEST_F(HistoryComboBoxTest, LoadsTheStoredListAndShowsItsNewestItem) {
  Settings().writeString(kHist, "Hist", "alpha\r\nbeta\r\n\r\ngamma");
  THistoryComboBox box(nullptr, kHist);
  EXPECT_TRUE(box.ItemsLoaded());
  EXPECT_EQ(Items(box), QStringList({"alpha", "beta", "gamma"}));
  EXPECT_EQ(box.Text(), "alpha");

  // An empty stored list keeps the text the box had.
  THistoryComboBox empty;
  empty.SetText("from the form");
  empty.SetHistName("Test\\Nothing");
  empty.LoadItems();
  EXPECT_EQ(empty.count(), 0);
  EXPECT_EQ(empty.Text(), "from the form");
}

TEST_F(HistoryComboBoxTest, SavingPutsTheTextOnTopOnceAndStoresTheList) {
  THistoryComboBox box(nullptr, kHist);
  box.SetText("1");
  box.SaveItems();
  box.SetText("12");  // typed on: replaces the item saved while typing
  box.SaveItems();
  EXPECT_EQ(Items(box), QStringList({"12"}));
  box.SetText("abc");
  box.SaveItems();
  box.SetText("Abc");  // the same value in other letter case: one item, the new case
  box.SaveItems();
  EXPECT_EQ(Items(box), QStringList({"Abc", "12"}));
  EXPECT_EQ(box.Text(), "Abc");
  EXPECT_EQ(Stored(), "Abc\r\n12");

  box.SetMaxHistory(3);
  for (const char* v : {"x", "y"}) {
    box.SetText(v);
    box.SaveItems();
  }
  EXPECT_EQ(Items(box), QStringList({"y", "x", "Abc"}));

  // maxHistory 0: no history at all.
  box.SetMaxHistory(0);
  box.SetText("z");
  box.SaveItems();
  EXPECT_EQ(box.count(), 3);
}

TEST_F(HistoryComboBoxTest, SavingKeepsTheEditSelection) {
  THistoryComboBox box(nullptr, kHist);
  box.SetText("abcdef");
  box.lineEdit()->setSelection(1, 3);
  box.SaveItems();
  EXPECT_EQ(box.lineEdit()->selectedText(), "bcd");
  EXPECT_EQ(box.currentIndex(), 0);
}

TEST_F(HistoryComboBoxTest, EnterSavesAndIsConsumedShiftEnterOnlyPasses) {
  QDialog dlg;
  auto* layout = new QVBoxLayout(&dlg);
  auto* box = new THistoryComboBox(&dlg, kHist);
  auto* ok = new QPushButton("OK", &dlg);
  ok->setDefault(true);
  layout->addWidget(box);
  layout->addWidget(ok);
  QSignalSpy pressed(ok, &QPushButton::clicked);
  dlg.show();
  box->setFocus();

  Type(*box, "42");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(Stored(), "42");
  EXPECT_EQ(pressed.count(), 0);  // the default button saw nothing
  EXPECT_TRUE(dlg.isVisible());

  Type(*box, "43");
  QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Stored(), "42");
}

TEST_F(HistoryComboBoxTest, LosingTheFocusSaves) {
  QWidget w;
  auto* layout = new QVBoxLayout(&w);
  auto* box = new THistoryComboBox(&w, kHist);
  auto* other = new QLineEdit(&w);
  layout->addWidget(box);
  layout->addWidget(other);
  w.show();
  w.activateWindow();
  box->setFocus();
  Type(*box, "typed");
  EXPECT_EQ(Stored(), "");
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(box, &out);
  EXPECT_EQ(Stored(), "typed");
}

TEST_F(HistoryComboBoxTest, CtrlDelRemovesTheSelectedItemAndCtrlASelectsAll) {
  Settings().writeString(kHist, "Hist", "one\r\ntwo\r\nthree");
  THistoryComboBox box(nullptr, kHist);
  box.show();
  box.setCurrentIndex(1);
  QTest::keyClick(&box, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(Items(box), QStringList({"one", "three"}));
  EXPECT_EQ(box.Text(), "two");  // the text stays; saving it brings it back on top
  box.SaveItems();
  EXPECT_EQ(Stored(), "two\r\none\r\nthree");

  box.SetText("select me");
  box.lineEdit()->setCursorPosition(3);
  QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(box.lineEdit()->selectedText(), "select me");
}

TEST_F(HistoryComboBoxTest, TypingAnItemInOtherCaseTakesTheItemsCase) {
  Settings().writeString(kHist, "Hist", "Quorvel\r\nother");
  THistoryComboBox box(nullptr, kHist);
  box.show();
  box.setFocus();
  box.SetText("");
  QTest::keyClicks(&box, "quorvel");
  EXPECT_EQ(box.Text(), "Quorvel");
}

TEST_F(HistoryComboBoxTest, AllBoxesShareOnePopupMenuActingOnTheBoxItWasOpenedOn) {
  THistoryComboBox first(nullptr, kHist);
  THistoryComboBox second(nullptr, "Test\\Second");
  QMenu* menu = THistoryComboBox::SharedPopupMenu();
  ASSERT_NE(menu, nullptr);
  QStringList captions;
  for (QAction* a : menu->actions()) captions << a->text();
  EXPECT_EQ(captions, QStringList({"Ausschneiden", "Kopieren", "Einfügen", "Löschen"}));

  first.SetText("copied text");
  first.lineEdit()->selectAll();
  first.ShowPopupMenu(QPoint(1, 1));
  EXPECT_EQ(THistoryComboBox::PopupTarget(), &first);
  menu->actions()[1]->trigger();  // Kopieren
  menu->hide();
  EXPECT_EQ(QApplication::clipboard()->text(), "copied text");

  second.SetText("");
  second.ShowPopupMenu(QPoint(1, 1));
  menu->actions()[2]->trigger();  // Einfügen
  menu->hide();
  EXPECT_EQ(second.Text(), "copied text");
  EXPECT_EQ(first.Text(), "copied text");

  second.lineEdit()->setSelection(0, 7);
  second.ShowPopupMenu(QPoint(1, 1));
  menu->actions()[3]->trigger();  // Löschen
  EXPECT_EQ(second.Text(), "text");
  second.lineEdit()->selectAll();
  menu->actions()[0]->trigger();  // Ausschneiden
  menu->hide();
  EXPECT_EQ(second.Text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "text");
}

}  // namespace
}  // namespace qv
