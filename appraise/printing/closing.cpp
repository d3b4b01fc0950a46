#include "appraise/printing/closing.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/run_error.h"

namespace appraise {

using namespace common;

std::vector<std::string> closingLines(const std::vector<std::string>& fileLines) {
    std::vector<std::string> out;
    auto store = [&](std::string piece) {
        if (out.size() >= maxClosingLines) throw RunError(err::Subscript, "more than 30 closing lines");
        out.push_back(std::move(piece));
    };
    for (const std::string& line : fileLines) {
        if (trim(line).empty()) continue;
        std::string rest = line;
        while (rest.size() > 80) {
            size_t cut = 0;
            for (size_t p = 80; p >= 1 && cut == 0; --p)
                if (rest[p - 1] == ' ') cut = p;
            if (cut == 0) throw RunError(err::InvalidCall, "a closing line with no blank in 80 characters");
            store(rest.substr(0, cut));
            rest.erase(0, cut);
        }
        store(rest);
    }
    return out;
}

} // namespace appraise
