#include "interest/transaction_chain.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_files.h"

namespace interest {

using namespace common;

bool FolderChainFiles::exists(const std::string& file) { return fileExists(file); }

std::string FolderChainFiles::resolved(const std::string& file) { return resolveName(file); }

std::string FolderChainFiles::read(const std::string& file, int32_t record) {
    return RecordFile(file, transrec::length, Access::Read).read(record);
}

namespace {
// The month file a pointer field names; empty when the field is not a month code of this store.
std::string monthFileOf(std::string_view field) {
    const std::string_view code = trim(field);
    return isMonthCode(code) ? std::string(code) + ".dat" : std::string();
}

// A record number field; 0 (the end of the chain) when it is not a record number.
int32_t recordOf(std::string_view field) {
    double v = 0;
    try {
        v = val(field);
    } catch (const RunError&) {
        return 0; // beyond any number: no record
    }
    return v >= 1 && v <= 2147483647.0 ? clng(v) : 0;
}
} // namespace

TransactionChain::TransactionChain(ChainFiles& files, const std::string& account,
                                   std::function<bool(const std::string& file)> accept)
    : files_(files), accept_(std::move(accept)), nextFile_(monthFileOf(fieldText(account, custrec::lasttxfile))),
      nextRecord_(recordOf(fieldText(account, custrec::lasttxrec))) {}

bool TransactionChain::next() {
    if (ended_) return false;
    const std::string& file = nextFile_;
    if (nextRecord_ < 1 || file.empty() || (accept_ && !accept_(file)) || !files_.exists(file) ||
        seen_.count({files_.resolved(file), nextRecord_})) {
        ended_ = true;
        return false;
    }
    transaction_ = files_.read(file, nextRecord_); // may throw: the walk stays where it is
    seen_.insert({files_.resolved(file), nextRecord_});
    file_ = file;
    record_ = nextRecord_;
    nextFile_ = monthFileOf(fieldText(transaction_, transrec::prevfile));
    nextRecord_ = recordOf(fieldText(transaction_, transrec::prevrec));
    return true;
}

} // namespace interest
