// The main window's controls: the COM-port button over step 1 on the left,
// steps 2 and 3 on the right, the logo under step 3.

#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/form_builder.h"
#include "app/logo.h"
#include "app/main_form.h"

namespace vortaboot::app {

void TMainForm::buildComponents() {
  bRS232 = PlaceButton(this, "bRS232", QStringLiteral("Выбрать СОМ-порт"), QRect(8, 32, 393, 25));

  GroupBox1 = PlaceGroupBox(this, "GroupBox1", QStringLiteral("Шаг 1"), QRect(8, 72, 393, 121));
  Label2 = PlaceLabel(GroupBox1, "Label2",
                      QStringLiteral("Для последующего восстановления настроек, сделанных пользователем в "
                                     "текущей версии, или для переноса текущих настроек в более новые версии "
                                     "считайте текущие настройки МК."),
                      QRect(40, 16, 313, 57));
  bGetParams = PlaceButton(GroupBox1, "bGetParams", QStringLiteral("Считать настройки из МК"),
                           QRect(8, 80, 377, 25));

  GroupBox2 = PlaceGroupBox(this, "GroupBox2", QStringLiteral("Шаг 2"), QRect(408, 8, 393, 89));
  Label3 = PlaceLabel(GroupBox2, "Label3", QStringLiteral("Загрузите новую прошивку в МК."),
                      QRect(40, 16, 313, 25));
  bLoadProg = PlaceButton(GroupBox2, "bLoadProg", QStringLiteral("Загрузить прошивку"), QRect(8, 48, 377, 25));

  GroupBox4 = PlaceGroupBox(this, "GroupBox4", QStringLiteral("Шаг 3"), QRect(408, 112, 393, 81));
  Label1 = PlaceLabel(GroupBox4, "Label1", QStringLiteral("Запишите ранее сохраненные настройки в МК"),
                      QRect(40, 16, 313, 25));
  bSetParams = PlaceButton(GroupBox4, "bSetParams", QStringLiteral("Записать настройки в МК"),
                           QRect(8, 40, 377, 25));

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(560, 200, 240, 40);
  Image1->setScaledContents(true);
  Image1->setPixmap(DrawLogo(Image1->size()));

  setTabOrder(bRS232, bGetParams);
  setTabOrder(bGetParams, bLoadProg);
  setTabOrder(bLoadProg, bSetParams);
}

namespace {

QFileDialog* MakeOpenDialog(QWidget* owner, const char* name, const QString& filter) {
  auto* dialog = new QFileDialog(owner);
  dialog->setObjectName(QString::fromLatin1(name));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setNameFilter(filter);
  return dialog;
}

}  // namespace

void TMainForm::buildFileDialogs() {
  OpenDialog1 = MakeOpenDialog(this, "OpenDialog1", QStringLiteral("Файлы прошивок (*.rom)"));
  OpenDialog2 = MakeOpenDialog(this, "OpenDialog2", QStringLiteral("Файлы настроек (*.pset)"));
}

}  // namespace vortaboot::app
