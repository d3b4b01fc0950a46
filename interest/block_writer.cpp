#include "interest/block_writer.h"

#include "common/basic_number.h"
#include "interest/account_files.h"

#include <algorithm>

namespace interest {

using namespace common;

BlockWriter::BlockWriter(RecordFile& accounts, PostingJournal& journal, bool fromFirstAccount)
    : accounts_(accounts), journal_(journal) {
    if (fromFirstAccount) accountsState_.emplace();
}

BlockWriter::~BlockWriter() { settle(); }

void BlockWriter::start(BlockWrite block, bool noted) {
    written_ = std::move(block);
    writing_ = std::async(std::launch::async, [this, noted] {
        label_ = Step::Accounts;
        if (!noted) journal_.note(written_.block);
        write(written_.block.accounts, label_, written_.month, written_.monthlast, &written_.accounts,
              written_.block.first);
        lastDone_ = written_.block.last;
        if (accountsState_) { // the block as it is now on disk
            accountsState_->add(written_.accounts);
            for (size_t at = 0; at + custrec::length <= written_.accounts.size(); at += custrec::length)
                accountHashes_.push_back(recordHash(std::string_view(written_.accounts).substr(at, custrec::length)));
        }
    });
}

void BlockWriter::settle() {
    if (writing_.valid()) writing_.wait();
}

std::optional<BlockWrite> BlockWriter::finish(StepLabel& label) {
    if (!writing_.valid()) return std::nullopt;
    try {
        writing_.get();
    } catch (...) {
        label = label_; // the step that failed
        throw;
    }
    return std::exchange(written_, BlockWrite{});
}

void BlockWriter::setPointer(int32_t last) {
    const std::string text = str(last) + "\r\n";
    pointer_->writeAt(0, text);
    if (text.size() < pointerLength_) pointer_->truncate(static_cast<int64_t>(text.size()));
    pointerLength_ = text.size();
}

void BlockWriter::write(const std::vector<JournalAccount>& plans, StepLabel& label, RecordFile* month,
                        int32_t monthlast, std::string* block, int32_t blockFrom) {
    // The transactions first, in runs of consecutive records; then the month's count; then the
    // accounts that point at them, in runs of consecutive accounts; then all of it durable.
    label = Step::Transactions;
    std::vector<const JournalAccount*> charged;
    for (const JournalAccount& p : plans)
        if (p.record > 0) charged.push_back(&p);
    std::sort(charged.begin(), charged.end(), [](auto* a, auto* b) { return a->record < b->record; });
    if (charged.empty()) month = nullptr;
    for (size_t k = 0; k < charged.size();) {
        run_.assign(charged[k]->transaction);
        size_t e = k + 1;
        while (e < charged.size() && charged[e]->record == charged[e - 1]->record + 1)
            run_.append(charged[e++]->transaction);
        month->writeRun(charged[k]->record, run_);
        k = e;
    }
    label = Step::MonthCount;
    if (!charged.empty()) setPointer(monthlast);
    label = Step::Accounts;
    // A block's accounts are changed in the block as read and written from it; a few accounts
    // left as they are, between two that change, are written again as they were read (nobody
    // else may write the file meanwhile): one write instead of two. Without the block, runs of
    // consecutive accounts.
    const int32_t gapLimit = block ? 16 : 0;
    const auto at = [&](int32_t account) { return static_cast<size_t>(account - blockFrom) * custrec::length; };
    if (block)
        for (const JournalAccount& p : plans) block->replace(at(p.account), custrec::length, p.after);
    for (size_t k = 0; k < plans.size();) {
        size_t e = k + 1;
        while (e < plans.size() && plans[e].account > plans[e - 1].account &&
               plans[e].account - plans[e - 1].account - 1 <= gapLimit)
            ++e;
        const int32_t first = plans[k].account, last = plans[e - 1].account;
        const auto count = static_cast<size_t>(last - first + 1);
        if (block) {
            accounts_.writeRun(first, std::string_view(*block).substr(at(first), count * custrec::length));
        } else {
            run_.clear();
            for (size_t j = k; j < e; ++j) run_.append(plans[j].after);
            accounts_.writeRun(first, run_);
        }
        lastDone_ = last;
        k = e;
    }
    if (month) month->syncData();
    pointer_->syncData();
    accounts_.syncData();
}

} // namespace interest
