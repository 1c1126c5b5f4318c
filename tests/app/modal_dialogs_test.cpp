#include "app/modal_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "modal_answer.h"

namespace vortaboot::app {
namespace {

using testing::WhenModalOpens;

bool CentredOnScreen(const QWidget& window) {
  const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
  return offset.manhattanLength() <= 2;
}

TEST(MessageBoxes, ShowTheirTextUnchangedUnderTheirTitleWithOneOkButton) {
  ModalDialogs dialogs;
  const struct {
    std::function<void()> show;
    const char* title;
    QMessageBox::Icon icon;
    const char* text;
  } cases[] = {
      {[&] { dialogs.showError("Нет свободного COM-порта!"); }, "Error", QMessageBox::Critical,
       "Нет свободного COM-порта!"},
      {[&] { dialogs.showInformation("Настройки записаны в МК"); }, "Information", QMessageBox::Information,
       "Настройки записаны в МК"},
      {[&] { dialogs.showDefaultError("Loader", "Нет ответа."); }, "Loader", QMessageBox::Critical,
       "Нет ответа."},
  };
  for (const auto& c : cases) {
    bool answered = false;
    WhenModalOpens([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle().toStdString(), c.title);
      EXPECT_EQ(box->icon(), c.icon);
      EXPECT_EQ(box->text().toStdString(), c.text);
      EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
      EXPECT_TRUE(CentredOnScreen(*box)) << c.title;
      answered = true;
      box->button(QMessageBox::Ok)->click();
    });
    c.show();
    EXPECT_TRUE(answered) << c.title;
  }
}

// How the user leaves the port-number dialog, and what it answers.
TEST(PortNumberDialog, AnswersTheChosenIndexOrNothingWhenCancelled) {
  const QStringList ports{"COM1", "COM3", "COM12"};
  const struct {
    const char* how;
    int preselected;
    std::function<void(QWidget*)> leave;
    std::optional<int> answer;
  } cases[] = {
      {"OK on COM12", 0,
       [](QWidget* d) {
         d->findChild<QComboBox*>("PCB")->setCurrentIndex(2);
         d->findChild<QPushButton*>("OKBtn")->click();
       },
       2},
      {"Enter keeps the preselected", 1, [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }, 1},
      {"OK with nothing selected", -1, [](QWidget* d) { d->findChild<QPushButton*>("OKBtn")->click(); }, -1},
      {"Cancel after choosing", 0,
       [](QWidget* d) {
         d->findChild<QComboBox*>("PCB")->setCurrentIndex(2);
         d->findChild<QPushButton*>("CancelBtn")->click();
       },
       std::nullopt},
      {"Esc", 1, [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, std::nullopt},
  };
  ModalDialogs dialogs;
  for (const auto& c : cases) {
    WhenModalOpens([&](QWidget* dialog) {
      auto* list = dialog->findChild<QComboBox*>("PCB");
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(list->count(), 3);
      EXPECT_EQ(list->itemText(2), "COM12");
      EXPECT_EQ(list->currentIndex(), c.preselected) << c.how;
      EXPECT_EQ(dialog->focusWidget(), list) << c.how;
      EXPECT_TRUE(CentredOnScreen(*dialog)) << c.how;
      c.leave(dialog);
    });
    EXPECT_EQ(dialogs.choosePort(ports, c.preselected), c.answer) << c.how;
  }
}

}  // namespace
}  // namespace vortaboot::app
