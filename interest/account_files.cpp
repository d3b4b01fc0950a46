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
    RecordFile& file = open(name, transrec::length, Access::Read, Sharing::Default);
    const std::string key = resolved(name);
    if (record < 1 || files_.at(key).access != Access::Read) return file.read(record); // the file the run writes
    // A month file the walks read (others may not write it while the run holds it): read in
    // pieces of whole records, each piece once, kept while there is room.
    const int64_t perPiece = pieceSize / static_cast<int64_t>(transrec::length);
    const int64_t piece = (record - 1) / perPiece;
    auto& pieces = pieces_[key];
    auto it = pieces.find(piece);
    if (it == pieces.end()) {
        if (cachedBytes_ > cacheLimit) {
            for (auto& [file, held] : pieces_) held.clear(); // full: start again
            cachedBytes_ = 0;
        }
        it = pieces.emplace(piece, file.readRun(piece * perPiece + 1, perPiece)).first;
        cachedBytes_ += static_cast<int64_t>(it->second.size());
    }
    return it->second.substr(static_cast<size_t>((record - 1) % perPiece) * transrec::length, transrec::length);
}

RecordFile& RunFiles::open(const std::string& name, size_t recordLength, Access access, Sharing sharing) {
    const std::string key = resolved(name);
    if (access == Access::ReadWrite) lookups_[name].exists = true; // opening for writing creates it
    auto it = files_.find(key);
    if (it != files_.end() && access == Access::ReadWrite && it->second.access == Access::Read) {
        files_.erase(it); // opened for reading earlier; reopen it for writing
        pieces_.erase(key);
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
