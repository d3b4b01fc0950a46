#include "store/month_files.h"

#include "common/basic_number.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

namespace store {

using namespace common;

std::string monthFileName(const std::string& dateText) {
    return std::string(left(dateText, 2)) + std::string(right(dateText, 2)) + ".dat";
}

std::string monthCode(QDate date) {
    const std::string file = monthFileName(shortDateText(date));
    return file.substr(0, file.size() - 4);
}

bool isMonthCode(std::string_view code) {
    if (code.size() != 4) return false;
    int dashes = 0;
    for (char c : code) {
        if (c == '-') ++dashes;
        else if (c < '0' || c > '9') return false;
    }
    return dashes <= 1;
}

std::string pointerFileName(const std::string& monthFile) { return std::string(left(monthFile, 5)) + "ptn"; }

int32_t readPointer(const std::string& name) {
    if (!fileExists(name)) return 0;
    TextReader r(name);
    if (r.atEnd()) return 0;
    return clng(val(r.readField()));
}

} // namespace store
