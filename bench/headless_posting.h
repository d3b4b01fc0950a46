#pragma once
#include "tests/support/headless_host.h"

#include <string>

namespace bench {

// Posts interest in the current folder as the window's Start does, headless. Returns the
// run's outcome as a number (0 completed).
int postHeadless(const std::string& datebox, const std::string& rate, const std::string& minimum, bool firstmon);
// The same with this host (to keep the report, say).
int postHeadless(const std::string& datebox, const std::string& rate, const std::string& minimum, bool firstmon,
                 testsupport::HeadlessHost& host);

} // namespace bench
