#include "app/port_number_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/form_builder.h"
#include "app/form_font.h"

namespace vortaboot::app {
namespace {

constexpr QSize kClientSize(337, 85);

QComboBox* PlacePortList(QWidget* parent, const QStringList& items, int selected) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QStringLiteral("PCB"));
  list->setEditable(false);
  list->addItems(items);
  list->setCurrentIndex(selected);
  list->setGeometry(224, 8, 105, list->sizeHint().height());
  return list;
}

}  // namespace

TQV_RS232_SetNumDlg::TQV_RS232_SetNumDlg(const QStringList& items, int selected, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("QV_RS232_SetNumDlg"));
  setWindowTitle(QStringLiteral("Выбор номера порта"));
  setFont(DialogFont());
  setFixedSize(kClientSize);
  Label1 = PlaceLabel(this, "Label1", QStringLiteral("Выберите последовательный порт"), QRect(8, 8, 201, 13));
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PCB = PlacePortList(this, items, selected);
  OKBtn = PlaceButton(this, "OKBtn", QStringLiteral("OK"), QRect(152, 48, 80, 27));
  OKBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  OKBtn->setDefault(true);
  CancelBtn = PlaceButton(this, "CancelBtn", QStringLiteral("Cancel"), QRect(244, 48, 80, 27));
  CancelBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  setTabOrder(PCB, OKBtn);
  setTabOrder(OKBtn, CancelBtn);
  PCB->setFocus();
}

int TQV_RS232_SetNumDlg::chosenIndex() const { return PCB->currentIndex(); }

}  // namespace vortaboot::app
