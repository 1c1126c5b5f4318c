// Renders the main window, the port-number dialog and the progress window in
// the middle of a firmware load into PNG files, for the documentation. The
// device is the simulated one on a scripted line, so the load is quick and
// every run draws the same pictures.

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <iostream>

#include "app/port_number_dialog.h"
#include "app/progress_form.h"
#include "screenshot_frame.h"
#include "simulated_device.h"
#include "window_rig.h"

namespace {

using namespace vortaboot;

bool Save(QWidget& window, const QString& folder, const char* name) {
  const QString file = folder + QLatin1Char('/') + QLatin1String(name);
  const bool saved = testing::FramedPicture(window).save(file);
  std::cout << (saved ? "wrote " : "could not write ") << file.toStdString() << '\n';
  return saved;
}

app::TProgressForm* OpenProgressForm() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* form = qobject_cast<app::TProgressForm*>(window); form && form->isVisible()) return form;
  }
  return nullptr;
}

bool SavePortDialog(const QString& folder) {
  app::TQV_RS232_SetNumDlg dialog({"COM1", "COM3", "COM12"}, 1);
  dialog.show();
  return Save(dialog, folder, "port-dialog.png");
}

// Pictures the progress window once the gauge nears the middle.
bool SaveFirmwareLoad(testing::WindowRig& rig, app::TMainForm& form, const QString& folder) {
  testing::SimulatedDevice device(rig.line);
  testing::WriteFirmwareImage(rig.folder / "firmware.rom", 12);
  rig.dialogs.firmwareFile = rig.folder / "firmware.rom";
  bool saved = false;
  auto devicePeer = rig.line.peer;
  rig.line.peer = [&](const testing::Bytes& frame) {
    devicePeer(frame);
    app::TProgressForm* progress = OpenProgressForm();
    if (saved || !progress || progress->findChild<QProgressBar*>("ProgressGauge")->value() < 40) return;
    QApplication::processEvents();
    saved = Save(*progress, folder, "progress-window.png");
  };
  form.findChild<QPushButton*>("bLoadProg")->click();
  rig.line.peer = devicePeer;
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  testing::WindowRig rig({1, 3, 12});
  auto form = rig.makeForm();
  form->show();
  QApplication::processEvents();
  const bool ok = Save(*form, folder, "main-window.png") && SavePortDialog(folder) &&
                  SaveFirmwareLoad(rig, *form, folder);
  form->close();
  return ok ? 0 : 1;
}
