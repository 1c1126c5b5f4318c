#pragma once
// TProgressForm: the small stay-on-top window a device job shows while it
// runs: what the job is doing, a percentage gauge, and a cancel button.
// It is shown without blocking; the job keeps running while it is up.

#include <QDialog>

#include "operations/job_host.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vortaboot::app {

class TProgressForm : public QDialog, public operations::ProgressWindow {
  Q_OBJECT

 public:
  explicit TProgressForm(QWidget* mainWindow);

  void setLabel(const std::string& text) override;
  void setGaugeVisible(bool visible) override;
  void setGauge(int percent) override;
  void setCancelVisible(bool visible) override;
  bool cancelRequested() const override { return CancelRequested; }

  // Esc presses the cancel button while it is shown; the window itself
  // stays until the job ends.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BitBtn1Click() { CancelRequested = true; }

  QLabel* ProgressLabel;
  QProgressBar* ProgressGauge;
  QPushButton* BitBtn1;
  bool CancelRequested = false;
};

}  // namespace vortaboot::app
