#pragma once
#include <functional>
#include <string>

namespace appraise {

// The command suggested for the export when the store has named none ("wpname.dat" missing): the
// first usual word processor that is installed, opening "app.tmp", else the desktop's opener.
std::string suggestedWordProcessor(const std::function<bool(const std::string& program)>& installed);

} // namespace appraise
