#pragma once
#include <functional>
#include <optional>
#include <string>

namespace appraise {

// The command suggested for the export when the store has named none ("wpname.dat" missing): the
// first usual word processor that is installed, opening "app.tmp", else the desktop's opener.
std::string suggestedWordProcessor(const std::function<bool(const std::string& program)>& installed);

// The same on Windows: "write app.tmp" where WordPad is installed, else Word or LibreOffice where
// the system's register of programs (`registered`: its path, or empty) has one, else Notepad.
std::string suggestedWindowsWordProcessor(const std::function<bool(const std::string& program)>& installed,
                                          const std::function<std::string(const std::string& program)>& registered);

// The export's file "app.tmp": the text and a CR LF, for the word processor to open.
void writeExportFile(const std::string& text);
// The command the store last started the export with, as typed ("wpname.dat" holds it as its
// line); nothing when none is kept.
std::optional<std::string> rememberedWordProcessor();
void rememberWordProcessor(const std::string& command);

} // namespace appraise
