#include "interest/account_files.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/text_file.h"

namespace interest {

using namespace common;

std::string monthFileName(const std::string& dateText) {
    return std::string(left(dateText, 2)) + std::string(right(dateText, 2)) + ".dat";
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

const RunFiles::Lookup& RunFiles::lookup(const std::string& name) {
    auto it = lookups_.find(name);
    if (it == lookups_.end()) it = lookups_.emplace(name, Lookup{resolveName(name), fileExists(name)}).first;
    return it->second;
}

bool RunFiles::exists(const std::string& name) { return lookup(name).exists; }

std::string RunFiles::resolved(const std::string& name) { return lookup(name).path; }

std::string RunFiles::read(const std::string& name, int32_t record) {
    return open(name, transrec::length, Access::Read, Sharing::Default).read(record);
}

RecordFile& RunFiles::open(const std::string& name, size_t recordLength, Access access, Sharing sharing) {
    const std::string key = resolved(name);
    if (access == Access::ReadWrite) lookups_[name].exists = true; // opening for writing creates it
    auto it = files_.find(key);
    if (it != files_.end() && access == Access::ReadWrite && it->second.access == Access::Read) {
        files_.erase(it); // opened for reading earlier; reopen it for writing
        it = files_.end();
    }
    if (it == files_.end())
        it =
            files_.emplace(key, Entry{std::make_unique<RecordFile>(name, recordLength, access, sharing), access}).first;
    return *it->second.file;
}

std::string fieldOf(const std::string& record, Field f) { return std::string(fieldText(record, f)); }

std::string printable(std::string_view bytes) {
    std::string s(bytes);
    for (char& c : s)
        if (c == '\0') c = ' ';
    return s;
}

} // namespace interest
