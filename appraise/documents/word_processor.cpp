#include "appraise/documents/word_processor.h"

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

} // namespace appraise
