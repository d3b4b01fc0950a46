#pragma once
#include <string>

namespace bench {

// Posts interest in the current folder as the window's Start does, headless. Returns the
// run's outcome as a number (0 completed).
int postHeadless(const std::string& datebox, const std::string& rate, const std::string& minimum, bool firstmon);

} // namespace bench
