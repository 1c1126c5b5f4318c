#include "app/progress_form.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include "app/form_builder.h"
#include "app/form_font.h"

namespace vortaboot::app {
namespace {

constexpr QSize kClientSize(261, 113);

QProgressBar* PlaceGauge(QWidget* parent) {
  auto* gauge = new QProgressBar(parent);
  gauge->setObjectName(QStringLiteral("ProgressGauge"));
  gauge->setGeometry(21, 48, 220, 25);
  gauge->setRange(0, 100);
  gauge->setValue(0);
  gauge->setTextVisible(true);
  QPalette palette = gauge->palette();
  palette.setColor(QPalette::Highlight, QColor(0, 0, 255));
  gauge->setPalette(palette);
  return gauge;
}

}  // namespace

TProgressForm::TProgressForm(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("ProgressForm"));
  setWindowTitle(QStringLiteral("Progress..."));
  setFont(DialogFont());
  setFixedSize(kClientSize);
  ProgressLabel = PlaceLabel(this, "ProgressLabel", QStringLiteral("Прогресс"), QRect(0, 0, 261, 41));
  ProgressLabel->setAlignment(Qt::AlignCenter);
  ProgressGauge = PlaceGauge(this);
  BitBtn1 = PlaceButton(this, "BitBtn1", QStringLiteral("Cancel"), QRect(75, 80, 111, 25));
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  BitBtn1->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

void TProgressForm::setLabel(const std::string& text) {
  ProgressLabel->setText(QString::fromStdString(text));
}

void TProgressForm::setGaugeVisible(bool visible) { ProgressGauge->setVisible(visible); }

void TProgressForm::setGauge(int percent) { ProgressGauge->setValue(percent); }

void TProgressForm::setCancelVisible(bool visible) { BitBtn1->setVisible(visible); }

void TProgressForm::reject() {
  if (!BitBtn1->isHidden() && BitBtn1->isEnabled()) BitBtn1->click();
}

// The job owns the window: the window manager's close must not take it away.
void TProgressForm::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace vortaboot::app
