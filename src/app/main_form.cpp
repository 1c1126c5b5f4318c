#include "app/main_form.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QPushButton>
#include <exception>
#include <system_error>

#include "app/app_messages.h"
#include "app/application_title.h"
#include "app/form_font.h"
#include "app/ini_fls.h"
#include "app/just_one.h"
#include "app/screen_placement.h"
#include "app/window_placement.h"
#include "operations/default_error_text.h"
#include "operations/load_firmware_job.h"
#include "operations/read_settings_job.h"
#include "operations/write_settings_job.h"

namespace vortaboot::app {
namespace {

constexpr QSize kClientSize(810, 249);
constexpr std::uint32_t kLinkBaudRate = 19200;
constexpr std::uint8_t kRs485WithEcho = 2;
constexpr std::uint16_t kReplyTimeoutMs = 100;
constexpr const char* kConfigSection = "MainWindow";

}  // namespace

TMainForm::TMainForm(MainFormEnvironment environment)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      environment_(std::move(environment)) {
  setObjectName(QStringLiteral("MainForm"));
  setFont(MainWindowFont());
  setFixedSize(kClientSize);
  JustOne1 = new TJustOne(environment_.executablePath, environment_.instanceLockFolder, this);
  buildComponents();
  buildFileDialogs();
  host_ = std::make_unique<WindowHost>(*this, environment_.dialogs, FileDialogs{*OpenDialog1, *OpenDialog2});
  connectButtons();
}

void TMainForm::connectButtons() {
  connect(bRS232, &QPushButton::clicked, this, [this] { bRS232Click(); });
  connect(bGetParams, &QPushButton::clicked, this, [this] { bGetParamsClick(); });
  connect(bLoadProg, &QPushButton::clicked, this, [this] { bLoadProgClick(); });
  connect(bSetParams, &QPushButton::clicked, this, [this] { bSetParamsClick(); });
}

bool TMainForm::ShowAsOnlyInstance() {
  if (JustOne1->Owned()) {
    show();
    return true;
  }
  const std::string& failure = JustOne1->Failure();
  if (failure.empty()) {
    environment_.dialogs.showInformation(QString::fromUtf8(message::kAlreadyRunning));
  } else {
    environment_.dialogs.showError(QString::fromUtf8(message::kInstanceCheckFailed) + QString::fromStdString(failure));
  }
  return false;
}

// Centred before showing, to open in about the right spot, and again after,
// once the frame the window got is known.
void TMainForm::setVisible(bool visible) {
  const bool firstShow = visible && !started_;
  if (firstShow) {
    started_ = true;
    FormShow();
    CentreOnScreen(*this);
  }
  QWidget::setVisible(visible);
  if (firstShow) CentreOnScreen(*this);
}

void TMainForm::FormShow() {
  setWindowTitle(QString::fromUtf8(message::kMainCaption));
  // The executable's folder exists while it runs; should it not, relative
  // names keep resolving where they did.
  std::error_code ignored;
  std::filesystem::current_path(executableFolder(), ignored);
  link_ = std::make_unique<link::TQV_RS>(
      link::LinkEnvironment{environment_.ports, environment_.clock, environment_.priority, *host_});
  restoreConfiguration();
  OpenDialog1->setDirectory(QString::fromStdString(executableFolder().string()));
  link_->SetBaudRate(kLinkBaudRate);
  link_->SetPortOpen(false);
  link_->SetPortType(kRs485WithEcho);
  link_->ReplyTimeout = kReplyTimeoutMs;
}

// Without a configuration file the window still opens, with the defaults;
// the steps after this one do not depend on it.
void TMainForm::restoreConfiguration() {
  showingErrors([this] {
    TMIniFile config(environment_.executablePath, environment_.configFallbackFolder);
    link_->LoadFromIni(config);
    FormPlacement placement = ReadPlacement(*this);
    config.LoadFormPlacement(kConfigSection, placement);
    ApplyPlacement(*this, placement);
  });
}

// A job is running only inside a button's handler, which processes window
// messages while it waits; closing then would pull the link from under it.
void TMainForm::closeEvent(QCloseEvent* event) {
  if (jobRunning_) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TMainForm::FormClose() {
  if (started_) saveConfiguration();
}

// A file that cannot be written is reported, and the program ends anyway.
void TMainForm::saveConfiguration() {
  showingErrors([this] {
    TMIniFile config(environment_.executablePath, environment_.configFallbackFolder);
    link_->SaveToIni(config);
    config.WriteBool("Common", "Auto", false);
    config.SaveFormPlacement(kConfigSection, ReadPlacement(*this));
  });
}

void TMainForm::bRS232Click() {
  showingErrors([this] {
    link_->SelectPort();
    link_->SetPortOpen(false);
  });
}

void TMainForm::bGetParamsClick() {
  runJob([this] {
    operations::RunReadSettingsJob(jobEnvironment(), {".", environment_.localTime});
  });
}

void TMainForm::bLoadProgClick() {
  runJob([this] { operations::RunLoadFirmwareJob(jobEnvironment()); });
}

void TMainForm::bSetParamsClick() {
  runJob([this] { operations::RunWriteSettingsJob(jobEnvironment()); });
}

void TMainForm::runJob(const std::function<void()>& job) {
  setJobRunning(true);
  showingErrors(job);
  setJobRunning(false);
}

void TMainForm::setJobRunning(bool running) {
  jobRunning_ = running;
  for (QPushButton* button : {bRS232, bGetParams, bLoadProg, bSetParams}) button->setEnabled(!running);
}

void TMainForm::showingErrors(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& error) {
    environment_.dialogs.showDefaultError(ApplicationTitle(environment_.executablePath),
                                          QString::fromStdString(operations::DefaultErrorText(error.what())));
  }
}

operations::JobEnvironment TMainForm::jobEnvironment() {
  return {*link_, *host_, environment_.clock};
}

std::filesystem::path TMainForm::executableFolder() const {
  return environment_.executablePath.parent_path();
}

}  // namespace vortaboot::app
