#include "interest/interest_settings.h"

#include "common/file_names.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include <vector>

namespace interest {

using namespace common;

std::string highestRate() {
    if (!fileExists(settingsFileName)) return {};
    const std::vector<std::string> lines = readAllLines(settingsFileName);
    return lines.empty() ? std::string() : std::string(trim(lines.front()));
}

void keepHighestRate(const std::string& rate) {
    std::vector<std::string> lines;
    if (fileExists(settingsFileName)) lines = readAllLines(settingsFileName);
    if (lines.empty()) lines.emplace_back();
    lines.front() = std::string(trim(rate));
    writeLines(settingsFileName, lines);
}

} // namespace interest
