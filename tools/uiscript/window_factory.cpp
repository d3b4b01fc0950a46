#include "tools/uiscript/window_factory.h"

#include "appraise/worksheet_window.h"
#include "interest/interest_window.h"

namespace uiscript {

using namespace common;
using namespace platform;
using namespace appraise;
using namespace interest;

std::unique_ptr<FormWindow> makeWindow(const QString& name, Platform& platform) {
    if (name == "worksheet") return std::make_unique<WorksheetWindow>(platform);
    if (name == "interest") return std::make_unique<InterestWindow>(platform);
    return nullptr;
}

} // namespace uiscript
