#pragma once
// The modal dialogs the window shows. The program shows real ones; tests
// answer them from a script without running modal loops.

#include <QString>
#include <QStringList>
#include <optional>

class QFileDialog;

namespace vortaboot::app {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // "Error" box: error icon, the text unchanged, one OK button.
  virtual void showError(const QString& text) = 0;
  // "Information" box: information icon, the text unchanged, one OK button.
  virtual void showInformation(const QString& text) = 0;
  // How an error no handler caught is shown: error icon, OK button, the
  // application title as caption. The text comes ready, period rule applied.
  virtual void showDefaultError(const QString& caption, const QString& text) = 0;
  // The port-number dialog over `items` with `selected` preselected (or -1).
  // nullopt when cancelled; otherwise the chosen index, -1 for none.
  virtual std::optional<int> choosePort(const QStringList& items, int selected) = 0;
  // Runs a prepared file-open dialog; nullopt when closed without a file.
  virtual std::optional<QString> chooseFile(QFileDialog& dialog) = 0;
};

}  // namespace vortaboot::app
