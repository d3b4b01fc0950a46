#include "interest/transaction_chain.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "store/account_record.h"
#include "store/month_files.h"
#include "store/transaction_record.h"

#include <algorithm>

namespace interest {

using namespace common;
namespace custrec = store::account;
namespace transrec = store::transaction;
using store::isMonthCode;

int FolderChainFiles::identity(const std::string& file) {
    if (!fileExists(file)) return -1;
    return ids_.emplace(resolveName(file), static_cast<int>(ids_.size())).first->second;
}

std::string_view FolderChainFiles::read(const std::string& file, int32_t record) {
    record_ = RecordFile(file, transrec::length, Access::Read).read(record);
    return record_;
}

namespace {
// The month file a pointer field names; empty when the field is not a month code of this store.
void setMonthFileOf(std::string& file, std::string_view field) {
    const std::string_view code = trim(field);
    if (isMonthCode(code)) file.assign(code).append(".dat");
    else file.clear();
}

// A record number field's value (none beyond any number), and the record it names: 0 (the end
// of the chain) when it is not a record number.
std::optional<double> valueOf(std::string_view field) {
    try {
        return val(field);
    } catch (const RunError&) {
        return std::nullopt;
    }
}
int32_t recordOf(std::optional<double> v) { return v && *v >= 1 && *v <= 2147483647.0 ? clng(*v) : 0; }
} // namespace

TransactionChain::TransactionChain(ChainFiles& files, const std::string& account,
                                   std::function<bool(const std::string& file)> accept)
    : files_(files), accept_(std::move(accept)),
      nextRecord_(recordOf(valueOf(fieldText(account, custrec::lasttxrec)))) {
    setMonthFileOf(nextFile_, fieldText(account, custrec::lasttxfile));
}

bool TransactionChain::visited(uint64_t place) const {
    if (!seenMany_.empty()) return seenMany_.count(place) > 0;
    return std::find(seen_.begin(), seen_.end(), place) != seen_.end();
}

void TransactionChain::visit(uint64_t place) {
    if (seenMany_.empty() && seen_.size() < 64) {
        seen_.push_back(place);
        return;
    }
    if (seenMany_.empty()) seenMany_.insert(seen_.begin(), seen_.end());
    seenMany_.insert(place);
}

bool TransactionChain::next() {
    if (ended_) return false;
    const std::string& file = nextFile_;
    int id = -1;
    if (nextRecord_ < 1 || file.empty() || (accept_ && !accept_(file)) || (id = files_.identity(file)) < 0) {
        ended_ = true;
        return false;
    }
    const uint64_t place = static_cast<uint64_t>(id) << 32 | static_cast<uint32_t>(nextRecord_);
    if (visited(place)) {
        ended_ = true;
        return false;
    }
    transaction_ = files_.read(file, nextRecord_); // may throw: the walk stays where it is
    visit(place);
    file_ = file;
    record_ = nextRecord_;
    setMonthFileOf(nextFile_, fieldText(transaction_, transrec::prevfile));
    prevValue_ = valueOf(fieldText(transaction_, transrec::prevrec));
    nextRecord_ = recordOf(prevValue_);
    return true;
}

} // namespace interest
