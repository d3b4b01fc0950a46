#pragma once
#include "platform/desktop_services.h"

#include <string>

namespace appraise {

// The command the export offers: the one the store last used, else the usual word processor
// found on this computer.
std::string wordProcessorCommand(platform::Processes& processes);

} // namespace appraise
