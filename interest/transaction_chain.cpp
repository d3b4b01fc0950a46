#include "interest/transaction_chain.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/record_file.h"
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
std::string monthFileOf(std::string_view code) { return std::string(trim(code)) + ".dat"; }
} // namespace

TransactionChain::TransactionChain(ChainFiles& files, const std::string& account,
                                   std::function<bool(const std::string& file)> accept)
    : files_(files), accept_(std::move(accept)), nextFile_(monthFileOf(fieldText(account, custrec::lasttxfile))),
      nextRecord_(clng(val(fieldText(account, custrec::lasttxrec)))) {}

bool TransactionChain::next() {
    if (ended_) return false;
    const std::string& file = nextFile_;
    if (nextRecord_ < 1 || file.find('\0') != std::string::npos || (accept_ && !accept_(file)) ||
        !files_.exists(file) || seen_.count({files_.resolved(file), nextRecord_})) {
        ended_ = true;
        return false;
    }
    transaction_ = files_.read(file, nextRecord_); // may throw: the walk stays where it is
    seen_.insert({files_.resolved(file), nextRecord_});
    file_ = file;
    record_ = nextRecord_;
    nextFile_ = monthFileOf(fieldText(transaction_, transrec::prevfile));
    nextRecord_ = clng(val(fieldText(transaction_, transrec::prevrec)));
    return true;
}

} // namespace interest
