#pragma once
// What the link needs from the platform and the user interface.

#include "platform/clock.h"
#include "platform/link_ui.h"
#include "platform/priority.h"
#include "platform/serial_port.h"

namespace vortaboot::link {

struct LinkEnvironment {
  platform::PortProvider& ports;
  platform::Clock& clock;
  platform::Priority& priority;
  platform::LinkUi& ui;
};

}  // namespace vortaboot::link
