#pragma once
#include "form_window.h"

#include <memory>

// The windows a script can open: "worksheet" (Appraise) and "interest" (Interest).
std::unique_ptr<FormWindow> makeWindow(const QString& name, Platform& platform);
