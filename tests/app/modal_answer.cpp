#include "modal_answer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

namespace vortaboot::testing {
namespace {

// Enough turns of the message loop for any dialog to come up; a dialog that
// never does fails the test instead of leaving a timer behind for the next.
constexpr int kTurns = 200;

void Try(std::function<void(QWidget*)> answer, int turnsLeft) {
  QTimer::singleShot(0, [answer = std::move(answer), turnsLeft]() mutable {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      answer(modal);
    } else if (turnsLeft > 0) {
      Try(std::move(answer), turnsLeft - 1);
    } else {
      ADD_FAILURE() << "no modal dialog came up";
    }
  });
}

}  // namespace

void WhenModalOpens(std::function<void(QWidget*)> answer) { Try(std::move(answer), kTurns); }

}  // namespace vortaboot::testing
