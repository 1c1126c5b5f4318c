// The three windows as the user sees them: every control where it belongs,
// with its text, and every text whole in the font the window ends up with.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/port_number_dialog.h"
#include "app/progress_form.h"
#include "layout_expectations.h"
#include "window_rig.h"

namespace vortaboot::testing {
namespace {

void ExpectLayout(const QWidget& window, std::initializer_list<ControlLayout> controls) {
  for (const auto& expected : controls) {
    auto* control = window.findChild<QWidget*>(expected.name);
    ASSERT_NE(control, nullptr) << expected.name;
    EXPECT_STREQ(control->metaObject()->className(), expected.kind) << expected.name;
    EXPECT_EQ(control->parentWidget()->objectName().toStdString(), expected.parent) << expected.name;
    EXPECT_EQ(control->geometry(), expected.rect) << expected.name;
    EXPECT_EQ(ShownText(*control), expected.text) << expected.name;
    EXPECT_TRUE(TextFits(*control)) << expected.name << " clips its text";
  }
}

void ExpectFixedClientSize(const QWidget& window, QSize size) {
  EXPECT_EQ(window.minimumSize(), size);
  EXPECT_EQ(window.maximumSize(), size);
}

std::vector<std::string> TabChain(QWidget* first) {
  std::vector<std::string> names;
  QWidget* widget = first;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) names.push_back(widget->objectName().toStdString());
    widget = widget->nextInFocusChain();
  } while (widget != first);
  return names;
}

TEST(MainWindow, HoldsTheComPortButtonAndTheThreeStepsWhereTheyBelong) {
  WindowRig rig;
  auto form = rig.makeForm();
  form->show();

  EXPECT_EQ(form->windowTitle().toStdString(), "BootLoader for ARM Vorta (TZ) (Версия 04.12.24)");
  ExpectFixedClientSize(*form, {810, 249});
  ExpectLayout(*form, {
      {"bRS232", "QPushButton", "MainForm", {8, 32, 393, 25}, "Выбрать СОМ-порт"},
      {"GroupBox1", "QGroupBox", "MainForm", {8, 72, 393, 121}, "Шаг 1"},
      {"Label2", "QLabel", "GroupBox1", {40, 16, 313, 57},
       "Для последующего восстановления настроек, сделанных пользователем в текущей версии, или для "
       "переноса текущих настроек в более новые версии считайте текущие настройки МК."},
      {"bGetParams", "QPushButton", "GroupBox1", {8, 80, 377, 25}, "Считать настройки из МК"},
      {"GroupBox2", "QGroupBox", "MainForm", {408, 8, 393, 89}, "Шаг 2"},
      {"Label3", "QLabel", "GroupBox2", {40, 16, 313, 25}, "Загрузите новую прошивку в МК."},
      {"bLoadProg", "QPushButton", "GroupBox2", {8, 48, 377, 25}, "Загрузить прошивку"},
      {"GroupBox4", "QGroupBox", "MainForm", {408, 112, 393, 81}, "Шаг 3"},
      {"Label1", "QLabel", "GroupBox4", {40, 16, 313, 25}, "Запишите ранее сохраненные настройки в МК"},
      {"bSetParams", "QPushButton", "GroupBox4", {8, 40, 377, 25}, "Записать настройки в МК"},
      {"Image1", "QLabel", "MainForm", {560, 200, 240, 40}, ""},
  });
  EXPECT_EQ(TabChain(form->findChild<QWidget*>("bRS232")),
            (std::vector<std::string>{"bRS232", "bGetParams", "bLoadProg", "bSetParams"}));
}

TEST(MainWindow, HasAFixedBorderWithoutMaximizeButtonBoldElevenPixelTextAndALogo) {
  WindowRig rig;
  auto form = rig.makeForm();
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  for (const char* name : {"bRS232", "Label2", "GroupBox2", "bSetParams"}) {
    const QFont font = form->findChild<QWidget*>(name)->font();
    EXPECT_TRUE(font.bold()) << name;
    EXPECT_EQ(font.pixelSize(), 11) << name;
  }
  const QPixmap logo = form->findChild<QLabel*>("Image1")->pixmap();
  ASSERT_FALSE(logo.isNull());
  const QImage image = logo.toImage();
  EXPECT_TRUE(image.hasAlphaChannel());
  EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0) << "the window shows through";
}

TEST(MainWindow, KeepsItsFileDialogsForFirmwareImagesAndSettingsFiles) {
  WindowRig rig;
  auto form = rig.makeForm();
  const struct {
    const char* name;
    const char* filter;
  } cases[] = {{"OpenDialog1", "Файлы прошивок (*.rom)"}, {"OpenDialog2", "Файлы настроек (*.pset)"}};
  for (const auto& c : cases) {
    auto* dialog = form->findChild<QFileDialog*>(c.name);
    ASSERT_NE(dialog, nullptr) << c.name;
    EXPECT_EQ(dialog->nameFilters(), QStringList{c.filter}) << c.name;
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile) << c.name;
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen) << c.name;
  }
}

TEST(PortNumberDialog, ListsThePortsBesideItsPromptAboveOkAndCancel) {
  app::TQV_RS232_SetNumDlg dialog({"COM1", "COM3", "COM12"}, 1);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Выбор номера порта");
  ExpectFixedClientSize(dialog, {337, 85});
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
  ExpectLayout(dialog, {
      {"Label1", "QLabel", "QV_RS232_SetNumDlg", {8, 8, 201, 13}, "Выберите последовательный порт"},
      {"OKBtn", "QPushButton", "QV_RS232_SetNumDlg", {152, 48, 80, 27}, "OK"},
      {"CancelBtn", "QPushButton", "QV_RS232_SetNumDlg", {244, 48, 80, 27}, "Cancel"},
  });
  auto* list = dialog.findChild<QComboBox*>("PCB");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->geometry().topLeft(), QPoint(224, 8));
  EXPECT_EQ(list->width(), 105);
  EXPECT_FALSE(list->isEditable());
  EXPECT_TRUE(dialog.findChild<QPushButton*>("OKBtn")->isDefault());
  EXPECT_EQ(TabChain(list), (std::vector<std::string>{"PCB", "OKBtn", "CancelBtn"}));
}

TEST(ProgressWindow, ShowsItsLabelOverThePercentageGaugeAndTheCancelButton) {
  QWidget mainWindow;
  app::TProgressForm form(&mainWindow);
  EXPECT_EQ(form.windowTitle().toStdString(), "Progress...");
  ExpectFixedClientSize(form, {261, 113});
  ExpectLayout(form, {
      {"ProgressLabel", "QLabel", "ProgressForm", {0, 0, 261, 41}, "Прогресс"},
      {"BitBtn1", "QPushButton", "ProgressForm", {75, 80, 111, 25}, "Cancel"},
  });
  form.setLabel("Переподключите питание МК");
  EXPECT_TRUE(TextFits(*form.findChild<QLabel*>("ProgressLabel")));
  auto* gauge = form.findChild<QProgressBar*>("ProgressGauge");
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->geometry(), QRect(21, 48, 220, 25));
  EXPECT_EQ(gauge->minimum(), 0);
  EXPECT_EQ(gauge->maximum(), 100);
  EXPECT_TRUE(gauge->isTextVisible());
  form.setGauge(37);
  EXPECT_EQ(gauge->text(), "37%");
}

}  // namespace
}  // namespace vortaboot::testing
