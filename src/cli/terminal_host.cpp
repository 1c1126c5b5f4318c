#include "cli/terminal_host.h"

#include <string>

#include "cli/interrupts.h"

namespace vortaboot::cli {

// The progress window as lines on standard error: in place on a terminal,
// otherwise one line per stage and per 10 % of progress.
class TerminalProgress : public operations::ProgressWindow {
 public:
  TerminalProgress(TerminalHost& host) : host_(host), err_(host.err_) {}
  ~TerminalProgress() override {
    if (lineOpen_) err_ << '\n' << std::flush;
  }

  void setLabel(const std::string& text) override {
    if (text.empty() || text == label_) return;
    label_ = text;
    lastStep_ = 0;
    if (host_.options_.redrawProgress) {
      if (lineOpen_) err_ << '\n';
      draw();
    } else {
      err_ << label_ << '\n' << std::flush;
    }
  }

  void setGaugeVisible(bool visible) override {
    gaugeVisible_ = visible;
    if (host_.options_.redrawProgress && lineOpen_) draw();
  }

  void setGauge(int percent) override {
    if (percent == percent_) return;
    percent_ = percent;
    if (!gaugeVisible_) return;
    if (host_.options_.redrawProgress) {
      draw();
    } else if (percent_ / 10 > lastStep_) {
      lastStep_ = percent_ / 10;
      err_ << label_ << ' ' << percent_ << "%\n" << std::flush;
    }
  }

  void setCancelVisible(bool visible) override {
    if (visible) {
      host_.waitStart_ = host_.clock_.tickCount();
    } else {
      host_.waitStart_.reset();
    }
  }

  bool cancelRequested() const override { return host_.cancelRequested(); }

 private:
  void draw() {
    std::string line = "\r\033[K" + label_;
    if (gaugeVisible_) {
      constexpr int kWidth = 30;
      const int filled = percent_ * kWidth / 100;
      line += " [" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
              std::to_string(percent_) + "%";
    }
    err_ << line << std::flush;
    lineOpen_ = true;
  }

  TerminalHost& host_;
  std::ostream& err_;
  std::string label_;
  bool gaugeVisible_ = false;
  int percent_ = -1;
  int lastStep_ = 0;
  bool lineOpen_ = false;
};

TerminalHost::TerminalHost(std::ostream& out, std::ostream& err, TerminalOptions options,
                           platform::Clock& clock)
    : out_(out), err_(err), options_(std::move(options)), clock_(clock) {}

std::unique_ptr<operations::ProgressWindow> TerminalHost::createProgressWindow() {
  return std::make_unique<TerminalProgress>(*this);
}

void TerminalHost::showError(const std::string& text) { err_ << text << '\n' << std::flush; }

void TerminalHost::showInformation(const std::string& text) { out_ << text << '\n' << std::flush; }

void TerminalHost::processMessages() {
  const int interrupts = InterruptCount();
  if (interrupts >= 2) throw Interrupted();
  if (interrupts == 1 && !interruptNoticed_) {
    interruptNoticed_ = true;
    err_ << "\nПрерывание: работа остановится, как только это будет возможно; "
            "повторное прерывание остановит её сразу.\n"
         << std::flush;
  }
}

bool TerminalHost::cancelRequested() {
  if (InterruptCount() > 0) return true;
  if (!waitStart_ || !options_.waitSeconds) return false;
  const double waited = platform::elapsedSince(*waitStart_, clock_.tickCount()) / 1000.0;
  if (waited >= *options_.waitSeconds) waitExpired_ = true;
  return waitExpired_;
}

}  // namespace vortaboot::cli
