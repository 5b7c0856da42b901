// The page "MultiMorph" of the main window: the members of the sequence in a list with a
// pop-up menu to add and remove them, the chosen member's start and end picture, its project
// file, sub-sequence number, horizontal alignment and x position, its settings, and the
// button that renders the sequence video. The commands reach the window through TForm1.
#pragma once

#include <QWidget>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace qv {

class TForm1;
class THistoryComboBox;
class TMorphing;
class TMultiMorph;

class TSequencePage : public QWidget {
  Q_OBJECT
 public:
  TSequencePage(TForm1& form, TMultiMorph& multiMorph, QWidget* parent = nullptr);

  // The member at the list's selected row; nullptr when none is selected.
  TMorphing* SelectedSeqMorph() const;
  // The list's count follows the members; the selection stays while it is below the count,
  // otherwise the last entry is selected (none for an empty list).
  void RefreshSeqList();
  // Shows the selected member in the pictures and boxes.
  void ShowSeqMorph();
  void SelectRow(int row);

  // The commands of the page.
  void AddMorphingClick();
  // Removes the member under the list viewport position pos (where the pop-up menu opened).
  void DelMorphingAt(const QPoint& pos);
  void HistoryComboBoxMorphNameChange();
  void OpenMorphClick();
  void SpinEditSubSeqNrChange();
  void ComboBoxAlignChange();
  void LabeledEditXPositionChange();

  QToolButton* SpeedButtonSeqSave = nullptr;
  QToolButton* SpeedButtonSeqSettings = nullptr;
  QListWidget* ListBoxSequences = nullptr;
  QMenu* PopupMenuSeq = nullptr;
  THistoryComboBox* HistoryComboBoxMorphName = nullptr;
  QToolButton* SpeedButtonOpenMorph = nullptr;
  QSpinBox* SpinEditSubSeqNr = nullptr;
  QComboBox* ComboBoxAlign = nullptr;
  QLineEdit* LabeledEditXPosition = nullptr;
  QPushButton* BitBtnMorphProps = nullptr;
  QLabel* ImageSeqMorph1 = nullptr;
  QLabel* ImageSeqMorph9 = nullptr;
  QPushButton* BitBtnRenderNow = nullptr;

 private:
  void CreateControls();
  void ConnectControls();
  void ShowPicture(QLabel* image, const std::string& fileName);

  TForm1& FForm;
  TMultiMorph& FMultiMorph;
  QPoint FPopupPos;       // where the list's pop-up menu was opened last
  bool FShowing = false;  // ShowSeqMorph fills the boxes: their change handlers do nothing
};

}  // namespace qv
