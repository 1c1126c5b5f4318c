#pragma once
// TQV_RS232_SetNumDlg: the port-number dialog, a drop-down list of the COM
// ports found and the OK and Cancel buttons.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace vortaboot::app {

class TQV_RS232_SetNumDlg : public QDialog {
  Q_OBJECT

 public:
  // `selected` is the index of the item to preselect, or -1 for none.
  TQV_RS232_SetNumDlg(const QStringList& items, int selected, QWidget* parent = nullptr);

  // The index of the item chosen in PCB, -1 when none is.
  int chosenIndex() const;

 private:
  QLabel* Label1;
  QComboBox* PCB;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
};

}  // namespace vortaboot::app
