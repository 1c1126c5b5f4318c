#include "app/modal_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/port_number_dialog.h"

namespace vortaboot::app {
namespace {

// Without a parent the box opens centred on the screen. It stays on top so
// that it is not hidden behind the stay-on-top progress window it reports on.
void ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

}  // namespace

void ModalDialogs::showError(const QString& text) {
  ShowBox(QMessageBox::Critical, QStringLiteral("Error"), text);
}

void ModalDialogs::showInformation(const QString& text) {
  ShowBox(QMessageBox::Information, QStringLiteral("Information"), text);
}

void ModalDialogs::showDefaultError(const QString& caption, const QString& text) {
  ShowBox(QMessageBox::Critical, caption, text);
}

std::optional<int> ModalDialogs::choosePort(const QStringList& items, int selected) {
  TQV_RS232_SetNumDlg dialog(items, selected);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosenIndex();
}

std::optional<QString> ModalDialogs::chooseFile(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace vortaboot::app
