#pragma once
#include "common/fixed_field.h"
#include "common/record_file.h"
#include "interest/transaction_chain.h"
#include "store/account_record.h"
#include "store/month_files.h"
#include "store/transaction_record.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace interest {

// The account and transaction records and the month files, as the store's one owner of them
// lays them out.
namespace custrec = store::account;
namespace transrec = store::transaction;
using store::isMonthCode;
using store::monthFileName;
using store::pointerFileName;
using store::readPointer;

// The record files one run works on, each opened once and kept open until the run ends:
// the posting month file for writing, any other for reading, shared with other computers.
class RunFiles : public ChainFiles {
  public:
    // The open file; opening it may fail (70 when another computer holds it).
    common::RecordFile& open(const std::string& name, size_t recordLength, common::Access access,
                             common::Sharing sharing);
    void closeAll();
    // Whether a record file of this name is there; each name is looked up once a run (the run
    // creates only the posting month file, through open).
    bool exists(const std::string& name) { return known(name).id >= 0; }
    // Whether the file is open for writing.
    bool openForWriting(const std::string& name);
    int identity(const std::string& name) override { return known(name).id; }
    // A transaction of a month file opened for reading.
    std::string_view read(const std::string& name, int32_t record) override;
    // Called before a record of a file opened for writing is read (the run may be writing it).
    std::function<void(int32_t record)> beforeReadingWritten;

  private:
    // A name as it was spelt, and the file on disk it names (-1: none).
    struct Known {
        std::string path;
        int id = -1;
    };
    Known& known(const std::string& name);
    int idOf(const std::string& path);
    std::unordered_map<std::string, Known> known_;
    std::vector<std::pair<uint64_t, Known*>> short_; // eight-byte names, as numbers

    // Pieces of the month files the walks read; a piece holds whole records (about 64 KiB).
    // The cache starts at 4 MiB and doubles (up to 64 MiB) only while pieces it let go are read
    // again, so a store whose chains run in step with its accounts holds only what it uses;
    // when full, the piece used longest ago goes.
    static constexpr int64_t perPiece = 64 * 1024 / static_cast<int64_t>(transrec::length);
    static constexpr size_t pieceBytes = static_cast<size_t>(perPiece) * transrec::length;
    static constexpr size_t firstSlots = 64, maxSlots = 1024;
    struct Slot {
        int file = -1; // the piece it holds, if any
        size_t piece = 0;
        uint64_t used = 0;
        std::unique_ptr<char[]> bytes;
    };
    // A file on disk, once opened.
    struct Open {
        std::string path;
        std::unique_ptr<common::RecordFile> file;
        common::Access access = common::Access::Read;
        std::vector<int32_t> slotOf; // by piece: its slot, or -1
        std::vector<bool> loaded;    // by piece: read before
    };
    size_t load(Open& f, int id, size_t piece);
    void dropPieces(int id);
    std::vector<Open> files_; // by id
    std::vector<Slot> slots_;
    size_t slotLimit_ = firstSlots, rereads_ = 0;
    uint64_t clock_ = 0;
    std::string record_; // a record of the file the run writes
};

// A field's bytes as a string, as stored.
std::string fieldOf(const std::string& record, common::Field f);

// The account record's bytes shown in a report line: NULs of never-written fields as blanks.
std::string printable(std::string_view bytes);

// An account's names as the report and the record show them: name1, then name2 ("ADAMS Ann").
std::string accountNames(std::string_view account);

} // namespace interest
