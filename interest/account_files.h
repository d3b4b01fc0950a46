#pragma once
#include "common/fixed_field.h"
#include "common/record_file.h"
#include "interest/transaction_chain.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace interest {

// Interest's view of an account in "cust.dat": 222 bytes. Fields Interest does not use are
// carried through byte for byte.
namespace custrec {
constexpr size_t length = 222;
inline constexpr auto fields =
    common::layoutFields<22>({20, 25, 24, 1, 20, 2, 10, 4, 8, 8, 8, 12, 12, 6, 8, 5, 8, 4, 2, 5, 24, 6});
inline constexpr common::Field name1 = fields[0], name2 = fields[1], lasttxfile = fields[7], lasttxrec = fields[8],
                               balance = fields[9], phone = fields[11], acctno = fields[15], rating = fields[17],
                               nointerest = fields[18];
} // namespace custrec

// One transaction of a month file: 94 bytes.
namespace transrec {
constexpr size_t length = 94;
inline constexpr auto fields = common::layoutFields<16>({5, 4, 8, 3, 5, 24, 8, 3, 8, 1, 8, 1, 8, 5, 1, 2});
inline constexpr common::Field acctno = fields[0], prevfile = fields[1], prevrec = fields[2], descr = fields[5],
                               amount = fields[6], txdate = fields[8], txtype = fields[9], amount2 = fields[10],
                               txrating = fields[11];
} // namespace transrec

// The month file of a date as typed: its first two and last two characters + ".dat"
// ("12-7-98" is 1298.dat, "1-5-98" is 1-98.dat).
std::string monthFileName(const std::string& dateText);
// A month code of this store: four characters, digits and at most one dash ("1226", "1-98").
// Any other name taken from a record or a date (a path, "cust", a blank) names no month file.
bool isMonthCode(std::string_view code);

// The pointer file of a month file: its first five characters + "ptn".
std::string pointerFileName(const std::string& monthFile);
// The record count in a pointer file (its first field, rounded); 0 when there is none.
int32_t readPointer(const std::string& name);

// The record files one run works on, each opened once and kept open until the run ends:
// the posting month file for writing, any other for reading, shared with other computers.
class RunFiles : public ChainFiles {
  public:
    // The open file; opening it may fail (70 when another computer holds it).
    common::RecordFile& open(const std::string& name, size_t recordLength, common::Access access,
                             common::Sharing sharing);
    void closeAll() { files_.clear(); }
    // Whether a record file of this name is there, and its name on disk; both are looked up
    // once a run (the run creates only the posting month file, through open).
    bool exists(const std::string& name) override;
    std::string resolved(const std::string& name) override;
    // A transaction of a month file opened for reading.
    std::string read(const std::string& name, int32_t record) override;

  private:
    struct Lookup {
        std::string path;
        bool exists;
    };
    const Lookup& lookup(const std::string& name);
    std::unordered_map<std::string, Lookup> lookups_;
    struct Entry {
        std::unique_ptr<common::RecordFile> file;
        common::Access access;
    };
    std::unordered_map<std::string, Entry> files_;
    // Pieces of the month files the walks read, by file and piece number; a piece holds whole
    // records (about 64 KiB), and all pieces together at most about 64 MiB.
    static constexpr int64_t pieceSize = 64 * 1024;
    static constexpr int64_t cacheLimit = 64 * 1024 * 1024;
    std::unordered_map<std::string, std::unordered_map<int64_t, std::string>> pieces_;
    int64_t cachedBytes_ = 0;
};

// A field's bytes as a string, as stored.
std::string fieldOf(const std::string& record, common::Field f);

// The account record's bytes shown in a report line: NULs of never-written fields as blanks.
std::string printable(std::string_view bytes);

} // namespace interest
