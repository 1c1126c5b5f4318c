#include "scripted_dialogs.h"

#include <QFileDialog>

namespace vortaboot::testing {
namespace {

std::string Text(const QString& text) { return text.toStdString(); }

}  // namespace

void ScriptedDialogs::showError(const QString& text) {
  errors.push_back(Text(text));
  if (onBox) onBox();
}

void ScriptedDialogs::showInformation(const QString& text) {
  informations.push_back(Text(text));
  if (onBox) onBox();
}

void ScriptedDialogs::showDefaultError(const QString& caption, const QString& text) {
  defaultErrors.push_back(Text(caption) + "|" + Text(text));
  if (onBox) onBox();
}

std::optional<int> ScriptedDialogs::choosePort(const QStringList& items, int selected) {
  portItems.clear();
  for (const QString& item : items) portItems.push_back(Text(item));
  portSelected = selected;
  ++portDialogs;
  return portChoice;
}

std::optional<QString> ScriptedDialogs::chooseFile(QFileDialog& dialog) {
  fileDialogs.push_back(Text(dialog.objectName()) + "|" + Text(dialog.directory().absolutePath()) + "|" +
                        Text(dialog.nameFilters().join(";")));
  const bool firmware = dialog.objectName() == QLatin1String("OpenDialog1");
  const auto& answer = firmware ? firmwareFile : settingsFile;
  if (!answer) return std::nullopt;
  return QString::fromStdString(answer->string());
}

}  // namespace vortaboot::testing
