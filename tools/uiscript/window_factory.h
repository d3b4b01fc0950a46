#pragma once
#include "platform/widgets/form_window.h"

#include <memory>

namespace uiscript {

// The windows a script can open: "worksheet" (Appraise) and "interest" (Interest).
std::unique_ptr<platform::FormWindow> makeWindow(const QString& name, platform::Platform& platform);

} // namespace uiscript
