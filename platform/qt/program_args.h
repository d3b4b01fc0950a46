#pragma once
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The command line every program of the store takes: [FOLDER], --help, --version. Prints the
// usage or version; returns the exit status when the program should stop there.
std::optional<int> handleProgramArgs(int argc, char** argv, const char* name, const char* description);

// Makes FOLDER, when given, the current folder. `args` are the program's arguments in UTF-8, its
// own name first (as Env::programArguments gives them). What went wrong and what to do, in
// words, when the program cannot start there ("The folder C:\Stores\Demo does not exist. ...").
std::optional<QString> enterFolderArgument(const std::vector<std::string>& args, const char* name);

} // namespace platform
