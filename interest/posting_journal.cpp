#include "interest/posting_journal.h"

#include "common/file_names.h"
#include "common/fixed_field.h"
#include "common/run_error.h"

#include <cstdlib>
#include <unistd.h>

namespace interest {

using namespace common;

namespace {
constexpr size_t recordLength = 222;
constexpr const char* magic = "VJRN1";
// magic, posting date, account, month file's last record, the record before and after.
constexpr auto fields = layoutFields<6>({5, 16, 12, 12, recordLength, recordLength});
} // namespace

PostingJournal::PostingJournal() : file_(std::make_unique<LockedFile>(fileName, Access::ReadWrite)) {}

PostingJournal::~PostingJournal() {
    try {
        if (file_ && file_->size() == 0) ::unlink(file_->path().c_str());
    } catch (const RunError&) {
        // The size could not be read: the journal stays, and reads as none.
    }
}

std::optional<JournalEntry> PostingJournal::pending() const {
    const std::string bytes = file_->readAll();
    if (bytes.size() != fields[5].offset + recordLength || fieldText(bytes, fields[0]) != magic) return std::nullopt;
    JournalEntry e;
    e.datebox = std::string(fieldText(bytes, fields[1]));
    while (!e.datebox.empty() && e.datebox.back() == ' ') e.datebox.pop_back();
    e.account = std::atoi(std::string(fieldText(bytes, fields[2])).c_str());
    e.monthlast = std::atoi(std::string(fieldText(bytes, fields[3])).c_str());
    e.before = std::string(fieldText(bytes, fields[4]));
    e.after = std::string(fieldText(bytes, fields[5]));
    return e;
}

void PostingJournal::note(int32_t account, int32_t monthlast, const std::string& before, const std::string& after) {
    std::string rec(fields[5].offset + recordLength, ' ');
    storeField(rec, fields[0], magic);
    storeField(rec, fields[1], datebox_);
    storeField(rec, fields[2], std::to_string(account));
    storeField(rec, fields[3], std::to_string(monthlast));
    rec.replace(fields[4].offset, recordLength, before);
    rec.replace(fields[5].offset, recordLength, after);
    file_->writeAt(0, rec);
}

void PostingJournal::finish() {
    // Removed while still held, so that no other run can open it in between.
    ::unlink(file_->path().c_str());
    file_.reset();
}

} // namespace interest
