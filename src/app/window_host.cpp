#include "app/window_host.h"

#include <QCoreApplication>
#include <QFileDialog>

#include "app/progress_form.h"
#include "app/screen_placement.h"

namespace vortaboot::app {

WindowHost::WindowHost(QWidget& mainWindow, Dialogs& dialogs, FileDialogs files)
    : mainWindow_(mainWindow), dialogs_(dialogs), files_(files) {}

std::unique_ptr<operations::ProgressWindow> WindowHost::createProgressWindow() {
  auto form = std::make_unique<TProgressForm>(&mainWindow_);
  ShowCentredOver(*form, mainWindow_);
  return form;
}

void WindowHost::showError(const std::string& text) {
  dialogs_.showError(QString::fromStdString(text));
}

void WindowHost::showInformation(const std::string& text) {
  dialogs_.showInformation(QString::fromStdString(text));
}

std::optional<std::filesystem::path> WindowHost::chooseFirmwareFile() {
  return chooseFile(files_.firmware);
}

std::optional<std::filesystem::path> WindowHost::chooseSettingsFile() {
  return chooseFile(files_.settings);
}

std::optional<std::filesystem::path> WindowHost::chooseFile(QFileDialog& dialog) {
  const auto chosen = dialogs_.chooseFile(dialog);
  if (!chosen) return std::nullopt;
  return std::filesystem::path(chosen->toStdString());
}

void WindowHost::processMessages() { QCoreApplication::processEvents(); }

std::optional<int> WindowHost::choosePort(const std::vector<std::string>& items, int selected) {
  QStringList list;
  for (const auto& item : items) list << QString::fromStdString(item);
  return dialogs_.choosePort(list, selected);
}

}  // namespace vortaboot::app
