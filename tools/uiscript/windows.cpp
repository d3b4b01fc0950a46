#include "windows.h"

#include "interest_window.h"
#include "worksheet_window.h"

std::unique_ptr<FormWindow> makeWindow(const QString& name, Platform& platform) {
    if (name == "worksheet") return std::make_unique<Worksheet>(platform);
    if (name == "interest") return std::make_unique<InterestForm>(platform);
    return nullptr;
}
