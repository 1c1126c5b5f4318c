#pragma once
// Answers a modal dialog that the code under test opens and waits for: once
// the dialog's own message loop runs, `answer` gets the dialog.

#include <functional>

class QWidget;

namespace vortaboot::testing {

void WhenModalOpens(std::function<void(QWidget*)> answer);

}  // namespace vortaboot::testing
