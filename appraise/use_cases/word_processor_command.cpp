#include "appraise/use_cases/word_processor_command.h"

#include "appraise/documents/word_processor.h"

namespace appraise {

std::string wordProcessorCommand(platform::Processes& processes) {
    if (auto remembered = rememberedWordProcessor()) return *remembered;
    auto installed = [&processes](const std::string& program) { return processes.installed(program); };
#ifdef _WIN32
    return suggestedWindowsWordProcessor(
        installed, [&processes](const std::string& program) { return processes.registered(program); });
#else
    return suggestedWordProcessor(installed);
#endif
}

} // namespace appraise
