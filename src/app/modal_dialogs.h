#pragma once
// The real dialogs: modal message boxes, the port-number dialog and the
// file-open dialogs, each running its own message loop until closed.

#include "app/dialogs.h"

namespace vortaboot::app {

class ModalDialogs : public Dialogs {
 public:
  void showError(const QString& text) override;
  void showInformation(const QString& text) override;
  void showDefaultError(const QString& caption, const QString& text) override;
  std::optional<int> choosePort(const QStringList& items, int selected) override;
  std::optional<QString> chooseFile(QFileDialog& dialog) override;
};

}  // namespace vortaboot::app
