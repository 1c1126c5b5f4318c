#pragma once
// TMainForm: the program's main window. It holds the link, restores and saves
// the configuration, lets the user choose the COM port and runs the three
// device jobs from its buttons, one at a time.

#include <QWidget>
#include <functional>
#include <memory>

#include "app/main_form_environment.h"
#include "app/window_host.h"
#include "link/qv_rs232.h"
#include "operations/device_job.h"

class QFileDialog;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vortaboot::app {

class TJustOne;

class TMainForm : public QWidget {
  Q_OBJECT

 public:
  explicit TMainForm(MainFormEnvironment environment);

  // Shows the window when no other copy of the program runs; otherwise tells
  // the user so, or why that could not be checked, and returns false,
  // leaving the configuration untouched.
  bool ShowAsOnlyInstance();

  // The link; null until the window was first shown.
  link::TQV_RS* Link() const { return link_.get(); }

  // The first show runs the start-up, then centres the window.
  void setVisible(bool visible) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildComponents();
  void buildFileDialogs();
  void connectButtons();

  void FormShow();
  void FormClose();
  void restoreConfiguration();
  void saveConfiguration();

  void bRS232Click();
  void bGetParamsClick();
  void bLoadProgClick();
  void bSetParamsClick();

  // Runs one job with the buttons disabled and closing refused; an error the
  // job lets out is shown once the job has cleaned up.
  void runJob(const std::function<void()>& job);
  void setJobRunning(bool running);
  // Runs a handler's work; an error it lets out goes to the default display.
  void showingErrors(const std::function<void()>& work);
  operations::JobEnvironment jobEnvironment();
  std::filesystem::path executableFolder() const;

  MainFormEnvironment environment_;
  QPushButton* bRS232;
  QGroupBox* GroupBox1;
  QLabel* Label2;
  QPushButton* bGetParams;
  QGroupBox* GroupBox2;
  QLabel* Label3;
  QPushButton* bLoadProg;
  QGroupBox* GroupBox4;
  QLabel* Label1;
  QPushButton* bSetParams;
  QLabel* Image1;
  QFileDialog* OpenDialog1;
  QFileDialog* OpenDialog2;
  TJustOne* JustOne1;

  std::unique_ptr<WindowHost> host_;
  std::unique_ptr<link::TQV_RS> link_;  // after the host it reports to, so it goes first
  bool started_ = false;
  bool jobRunning_ = false;
};

}  // namespace vortaboot::app
