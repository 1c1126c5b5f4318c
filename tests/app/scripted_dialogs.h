#pragma once
// The window's dialogs answered from a script: records every box and dialog
// the window asks for, answers at once, and lets a test look around while a
// box would be open.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace vortaboot::testing {

class ScriptedDialogs : public app::Dialogs {
 public:
  void showError(const QString& text) override;
  void showInformation(const QString& text) override;
  void showDefaultError(const QString& caption, const QString& text) override;
  std::optional<int> choosePort(const QStringList& items, int selected) override;
  std::optional<QString> chooseFile(QFileDialog& dialog) override;

  // What the dialogs answer.
  std::optional<int> portChoice;
  std::optional<std::filesystem::path> firmwareFile;  // OpenDialog1
  std::optional<std::filesystem::path> settingsFile;  // OpenDialog2
  // Runs while each box is open, before it is answered.
  std::function<void()> onBox;

  std::vector<std::string> errors;
  std::vector<std::string> informations;
  std::vector<std::string> defaultErrors;  // "caption|text"
  std::vector<std::string> portItems;
  int portSelected = -2;
  int portDialogs = 0;
  // Per file dialog shown: "name|directory|filter".
  std::vector<std::string> fileDialogs;
};

}  // namespace vortaboot::testing
