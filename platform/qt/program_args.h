#pragma once
#include <optional>

namespace platform {

// The command line every program of the store takes: [FOLDER], --help, --version. Prints the
// usage or version, or makes FOLDER the current folder. Returns the exit status when the
// program should stop here.
std::optional<int> handleProgramArgs(int argc, char** argv, const char* name, const char* description);

} // namespace platform
