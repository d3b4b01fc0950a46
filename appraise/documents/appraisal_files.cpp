#include "appraise/documents/appraisal_files.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/text_file.h"

#include <cctype>
#include <set>

namespace appraise {

using namespace common;

namespace {
std::string lowered(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
} // namespace

std::string trimForSave(std::string text) {
    for (;;) {
        const size_t before = text.size();
        while (!text.empty() && text.back() == ' ') text.pop_back();
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.size() == before) return text;
    }
}

std::optional<std::string> nextAppraisalFile(const std::string& custprefix) {
    // One listing of the folder, then the first number no file has.
    std::set<std::string> used;
    for (const std::string& name : listMatching("appraise\\" + custprefix + "???.app")) used.insert(lowered(name));
    for (int n = 1; n <= 999; ++n) {
        const std::string name = custprefix + std::string(right("000" + std::string(trim(str(n))), 3)) + ".app";
        if (!used.count(lowered(name))) return "appraise\\" + name;
    }
    return std::nullopt;
}

std::string reopenAppraisal(const std::string& path) {
    std::string text = readLinesCrLf(path);
    if (text.size() >= 2) text.resize(text.size() - 2);
    return text;
}

std::string appraisalNumberOf(const std::string& file) {
    const size_t slash = file.find_last_of("\\/");
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

} // namespace appraise
