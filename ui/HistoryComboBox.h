// An editable combo box that remembers the values typed into it, newest first, and offers them
// in its drop-down list. Each box keeps its list in the user settings under its own history
// name (section HistName, key "Hist"); without a settings store the list lives in memory only.
//
// The values are saved when the box loses the focus, on Enter (which goes no further, so no
// default button is pressed by it) and when its dialog calls SaveItems. Ctrl+A selects the
// whole text, Ctrl+Del removes the item selected in the list. All boxes share one pop-up menu
// with "Ausschneiden", "Kopieren", "Einfügen" and "Löschen".
#pragma once

#include <QComboBox>
#include <cstdint>
#include <string>

#include "HistoryItems.h"

class QMenu;

namespace qv {

class THistoryComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit THistoryComboBox(QWidget* parent = nullptr, const std::string& histName = {});
  ~THistoryComboBox() override;

  int16_t maxHistory() const { return FItems.maxHistory(); }
  void SetMaxHistory(int16_t value) { FItems.SetMaxHistory(value); }
  const std::string& HistName() const { return FItems.HistName(); }
  void SetHistName(const std::string& value) { FItems.SetHistName(value); }
  bool CrOnly() const { return FItems.CrOnly(); }
  void SetCrOnly(bool value) { FItems.SetCrOnly(value); }
  int32_t LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int32_t value);
  bool LangShortcuts() const { return FLangShortcuts; }
  void SetLangShortcuts(bool value) { FLangShortcuts = value; }
  const TStringList& HistoryStrings() const { return FItems.HistoryStrings(); }
  bool ItemsLoaded() const { return FItems.ItemsLoaded(); }
  bool Changed() const { return FItems.Changed(); }

  // Takes the stored list; the box then shows its newest item (an empty list keeps the text).
  void LoadItems();
  // Puts the present text on top of the list and stores the list.
  void SaveItems();

  std::string Text() const;
  // Sets the text without remembering it and without the change handling of user input.
  void SetText(const std::string& text);

  // The pop-up menu all boxes share, created with the first box; nullptr when none exists.
  static QMenu* SharedPopupMenu();
  // The box on which the shared menu was opened last.
  static THistoryComboBox* PopupTarget();
  // Opens the shared menu for this box at pos (in the box's coordinates), without waiting.
  void ShowPopupMenu(const QPoint& pos);

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  // Ctrl+Del in the open drop-down list.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows the list of FItems as the box's items, keeping the text and the edit selection.
  void ShowItems();
  void DeleteSelectedItem();
  // Takes the letter case of the item the text equals, keeping the edit selection.
  void MatchItemCase();

  THistoryItems FItems;
  int32_t FLeftMargin = 0;
  bool FFirstPaint = true;
  bool FLangShortcuts = true;
};

}  // namespace qv
