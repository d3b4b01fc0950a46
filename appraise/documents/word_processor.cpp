#include "appraise/documents/word_processor.h"

#include "common/file_names.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include <utility>

namespace appraise {

std::string suggestedWordProcessor(const std::function<bool(const std::string& program)>& installed) {
    const std::pair<const char*, const char*> usual[] = {
        {"libreoffice", "libreoffice --writer app.tmp"},
        {"soffice", "soffice --writer app.tmp"},
        {"abiword", "abiword app.tmp"},
        {"calligrawords", "calligrawords app.tmp"},
    };
    for (const auto& [program, command] : usual)
        if (installed(program)) return command;
    return "xdg-open app.tmp";
}

std::string suggestedWindowsWordProcessor(const std::function<bool(const std::string& program)>& installed,
                                          const std::function<std::string(const std::string& program)>& registered) {
    if (installed("write")) return "write app.tmp";
    for (const char* program : {"winword.exe", "soffice.exe"}) {
        const std::string path = registered(program);
        if (!path.empty()) return '"' + path + "\" app.tmp";
    }
    return "notepad app.tmp";
}

void writeExportFile(const std::string& text) { common::writeBytes("app.tmp", text + "\r\n"); }

std::optional<std::string> rememberedWordProcessor() {
    if (!common::fileExists("wpname.dat")) return std::nullopt;
    // The command is kept as the line the user typed. Read as a field, a quoted program path
    // ("C:\Program Files\...\WINWORD.EXE" app.tmp) would lose its quotes and its arguments, and a
    // comma would end it; the line is the command whole.
    common::TextReader file("wpname.dat");
    if (file.atEnd()) return std::nullopt;
    std::string command(common::trim(file.readLine()));
    if (command.empty()) return std::nullopt;
    return command;
}

void rememberWordProcessor(const std::string& command) { common::writeLines("wpname.dat", {command}); }

} // namespace appraise
