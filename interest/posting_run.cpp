#include "interest/posting_run.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_charge.h"
#include "interest/posting_backup.h"
#include "interest/posting_report.h"
#include "interest/transaction_chain.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/dates.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "interest/large_pages.h"
#include "store/account_count.h"
#include "store/last_posting.h"

#include <algorithm>
#include <atomic>
#include <future>

namespace interest {

using namespace common;

namespace {
double valOf(std::string_view rec, Field f) { return val(fieldText(rec, f)); }

// The month a month file's code starts with, as the number its first two characters read as
// ("1226" 12, "1-26" 1, "-126" -1); the code is digits with at most one dash.
int monthOfCode(std::string_view code) {
    const auto digit = [&](size_t i) { return i < code.size() && code[i] >= '0' && code[i] <= '9'; };
    if (!digit(0)) return digit(1) ? -(code[1] - '0') : 0;
    return digit(1) ? (code[0] - '0') * 10 + (code[1] - '0') : code[0] - '0';
}

// The exclusion walk walks month files of a month 1 to 12 only.
bool walkedMonth(const std::string& name) {
    const int m = monthOfCode(name);
    return m >= 1 && m <= 12;
}

// Day: the two characters after the first dash found from position `from` (1-based) on.
int32_t dayAfterDash(std::string_view text, size_t from, size_t to) {
    for (size_t i = from; i <= std::min(to, text.size()); ++i)
        if (text[i - 1] == '-') return clng(val(mid(text, i + 1, 2)));
    return 0;
}
} // namespace

PostingDate postingDate(const std::string& datebox) {
    PostingDate d;
    d.month = clng(val(left(datebox, 2)));
    d.day = dayAfterDash(datebox, 1, datebox.size());
    d.year = cint(val(right(trim(datebox), 2)));
    d.prevMonth = d.month - 1;
    d.prevYear = d.year;
    if (d.prevMonth < 1) {
        d.prevMonth = 12;
        // Two-digit years: the month before January 00 is December 99.
        d.prevYear = d.year == 0 ? 99 : static_cast<int16_t>(d.year - 1);
    }
    return d;
}

PostingDate transactionDate(std::string_view txdate) {
    PostingDate d;
    d.month = clng(val(left(txdate, 2)));
    d.day = dayAfterDash(txdate, 2, 8);
    d.year = cint(val(right(trim(txdate), 2)));
    return d;
}

PostingRun::PostingRun(const PostingInput& input, EngineHost& host, StepLabel& steplabel)
    : in_(input), host_(host), steplabel_(steplabel) {
    in_.datebox = std::string(trim(in_.datebox));
    // The month file is named from the date as normalised: "01-15-05" posts to "1-05.dat", the
    // file the store's other programs name for January 2005.
    if (acceptablePostingDate(in_.datebox)) in_.datebox = normalisePostingDate(in_.datebox);
    date_ = postingDate(in_.datebox);
    monthfile_ = monthFileName(in_.datebox);
    monthptn_ = pointerFileName(monthfile_);
    pct_ = val(in_.percentage);
    minfin_ = val(in_.minfinance);
    terms_ = ChargeTerms{pct_, minfin_, in_.datebox, monthfile_, in_.wholesale};
}

void PostingRun::report(std::string line) { pendingReport_.push_back(std::move(line)); }

void PostingRun::flushReport(std::vector<std::string>& lines) {
    for (const std::string& line : lines) host_.reportLine(fromAnsi(printable(line)));
    lines.clear();
}

PostingOutcome PostingRun::run() {
    // The journal is let go whatever the outcome: it stays on disk only while it holds an
    // entry of a stopped run.
    preferLargePages(); // a run touches tens of megabytes of new memory
    try {
        const PostingOutcome outcome = runSteps();
        journal_.reset();
        return outcome;
    } catch (...) {
        if (writing_.valid()) writing_.wait(); // a block still being written is let finish
        if (copying_.valid()) copying_.wait(); // and the undo copy being made
        if (!lastpostWritten_) leaveAsFound();
        journal_.reset();
        throw;
    }
}

PostingOutcome PostingRun::runSteps() {
    // Nothing is written before the date is known to name a month file of this store.
    if (!acceptablePostingDate(in_.datebox)) {
        host_.notify(QStringLiteral("The posting date must be month-day-year, for example 12-7-98."), {},
                     Tone::Exclamation);
        return PostingOutcome::Stopped;
    }
    if (in_.preview) return previewSteps();
    // One posting at a time: the journal is held for the whole run.
    try {
        journal_ = std::make_unique<PostingJournal>();
    } catch (const RunError& e) {
        if (e.number() != err::PermissionDenied) throw;
        host_.notify(QStringLiteral("Interest is being posted on another computer. Try again when it has finished."),
                     {}, Tone::Exclamation);
        return PostingOutcome::Stopped;
    }
    // A run that cannot start is not recorded as a posting.
    if (!fileExists("Cust.ptn")) {
        host_.notify(QStringLiteral("The Cust.ptn file does not exist"));
        return PostingOutcome::NoCustPtn;
    }
    if (!fileExists("cust.dat")) {
        host_.notify(QStringLiteral("The CUST.DAT file does not exhist"));
        return PostingOutcome::NoCustDat;
    }
    const std::optional<JournalBlock> pending = journal_->pending();
    if (pending && pending->datebox != in_.datebox) {
        host_.notify(QStringLiteral("The posting of %1 was interrupted before it was complete. Post again with "
                                    "the date %1 to complete it first.")
                         .arg(fromAnsi(pending->datebox)),
                     {}, Tone::Exclamation);
        return PostingOutcome::Stopped;
    }
    host_.reportLine(fromAnsi(columnHeadings()));
    host_.doEvents();

    steplabel_ = Step::Backup;
    // Before the first write, a copy of what the posting changes, for an undo; a stopped
    // posting being completed keeps the copy taken before it. A new copy is made beside the
    // planning of the first block (the account file's copy takes about as long as planning
    // 100,000 accounts); it is complete, and the posting recorded in "lastpost.dat", before
    // anything is written (`beforeFirstWrite`).
    if (const auto last = PostingBackup::newest(); pending && last && !PostingBackup::sealed(*last)) {
        backup_ = *last;
        beforeFirstWrite();
    } else {
        taking_ = PostingBackup::begin({"cust.dat", monthfile_, monthptn_, "lastpost.dat"}, host_.clock());
        backup_ = taking_.name;
        copying_ = std::async(std::launch::async, [this] { return PostingBackup::copy(taking_); });
    }
    host_.doEvents();

    steplabel_ = Step::AccountCount;
    const int32_t count = store::readAccountCount();

    steplabel_ = Step::MonthPointer;
    // The next record goes after the pointer and after every record in the month file (the
    // pointer may lag a stopped run's last write, or the main program may have appended since):
    // a record that exists is never written over.
    monthlast_ = readPointer(monthptn_);
    if (const PathInfo month = Env::current().info(resolveName(monthfile_)); month.exists && !month.folder)
        monthlast_ = std::max<int64_t>(monthlast_, (month.size + transrec::length - 1) / transrec::length);
    monthAtStart_ = monthlast_;
    // Held from here on, so that the month's count stays what was read; made if missing.
    pointerMade_ = !fileExists(monthptn_);
    pointer_ = std::make_unique<LockedFile>(monthptn_, Access::ReadWrite);
    pointerLength_ = static_cast<size_t>(pointer_->size());

    steplabel_ = Step::Accounts;
    custFile_ = &files_.open("cust.dat", custrec::length, Access::ReadWrite, Sharing::Default);
    int32_t first = 1;
    if (pending) first = resume(*pending);
    else custState_.emplace();

    // Each block is written on a thread of its own while the next one is planned; one block
    // at a time, its journal entry first, so what a stop leaves is what it left before.
    // A walk that reads the posting month file where a block being written may write (records
    // past those there at the start, or those a stopped run left) waits for that block first.
    count_ = count;
    files_.beforeReadingWritten = [this](int32_t record) {
        if (record > monthAtStart_ || !preferred_.empty()) settleWriting();
    };
    const int32_t blockSize = std::max(1, in_.blockSize);
    for (int32_t from = first; from <= count; from += blockSize) {
        const int32_t to = std::min<int64_t>(count, static_cast<int64_t>(from) + blockSize - 1);
        BlockWrite next;
        try {
            next = planBlock(from, to);
        } catch (...) {
            finishWriting(); // the block being written is completed (or its failure told) first
            throw;
        }
        finishWriting();
        beforeFirstWrite();
        written_ = std::move(next);
        bool noted = false;
        if (written_.charged > 0 && !files_.openForWriting(monthfile_)) {
            // The first block that charges: its entry is noted before the month file is opened
            // for writing here (not on the writing thread, which touches no shared state), so a
            // month file held by another computer stops the run with the block noted.
            steplabel_ = Step::Accounts;
            journal_->note(written_.block);
            noted = true;
            steplabel_ = Step::Transactions;
        }
        if (written_.charged > 0) written_.month = &monthFile();
        writing_ = std::async(std::launch::async, [this, noted] { writeBlock(written_, noted); });
    }
    finishWriting();
    beforeFirstWrite(); // a run without accounts still writes the pointer
    std::map<std::string, std::string> known;
    if (const auto cust = custFileState()) known["cust.dat"] = *cust;
    files_.closeAll();
    aheadFiles_.closeAll();
    custFile_ = nullptr;

    steplabel_ = Step::MonthCount;
    setPointer(monthlast_);
    pointer_->syncData();
    pointer_.reset();
    journal_->finish();
    PostingBackup::seal(backup_, in_.datebox, known);

    reportTotals();
    return PostingOutcome::Completed;
}

std::optional<std::string> PostingRun::custFileState() {
    // What the file holds past the accounts posted (seldom anything) is read as it is; a file
    // shorter than the accounts posted, or much longer, is left to the seal to read again.
    const int64_t tail = custState_ ? custFile_->size() - custState_->size() : -1;
    if (tail < 0 || tail > int64_t{1} << 20) return std::nullopt;
    if (tail > 0) {
        const int64_t records = (tail + custrec::length - 1) / custrec::length;
        const int64_t next = custState_->size() / custrec::length + 1;
        custState_->add(std::string_view(custFile_->readRun(next, records)).substr(0, tail));
    }
    return custState_->text();
}

void PostingRun::leaveAsFound() {
    // A run that stops before its first write leaves no trace: no undo copy (it would hide the
    // last completed posting from an undo) and no empty count of a month that has none (the
    // main program would read it as a count), removed while still held. Called as the run
    // unwinds: what cannot be taken away stays, and the run's own failure is the one told.
    if (!taking_.name.empty()) PostingBackup::discard(taking_.name);
    try {
        if (pointerMade_ && pointer_ && pointer_->size() == 0) Env::current().remove(pointer_->path());
    } catch (const RunError&) {
        // it could not be read or removed: it stays
    }
    pointer_.reset();
}

void PostingRun::beforeFirstWrite() {
    if (lastpostWritten_) return;
    const StepLabel label = steplabel_;
    steplabel_ = Step::Backup;
    if (copying_.valid()) PostingBackup::complete(taking_, copying_.get());
    store::writeLastPosting(in_.datebox, str(Money::fromText(in_.percentage)), str(Money::fromText(in_.minfinance)));
    lastpostWritten_ = true;
    steplabel_ = label;
}

void PostingRun::reportTotals() {
    for (const std::string& line : reportSummary(charged_, total_, spared_)) host_.reportLine(fromAnsi(line));
    host_.endReport();
}

PostingOutcome PostingRun::previewSteps() {
    // The run as it would go, on the files as they are; nothing is written, not even the date.
    if (fileExists(PostingJournal::fileName) && Env::current().info(resolveName(PostingJournal::fileName)).size > 0) {
        host_.notify(QStringLiteral("A posting was stopped before it was complete. Complete it first."), {},
                     Tone::Exclamation);
        return PostingOutcome::Stopped;
    }
    if (!fileExists("Cust.ptn") || !fileExists("cust.dat")) {
        host_.notify(QStringLiteral("There are no accounts to preview."), {}, Tone::Exclamation);
        return PostingOutcome::Stopped;
    }
    host_.reportLine(fromAnsi(columnHeadings()));
    const int32_t count = store::readAccountCount();
    monthlast_ = readPointer(monthptn_);
    if (const PathInfo month = Env::current().info(resolveName(monthfile_)); month.exists && !month.folder)
        monthlast_ = std::max<int64_t>(monthlast_, (month.size + transrec::length - 1) / transrec::length);
    monthAtStart_ = monthlast_;
    RecordFile cust("cust.dat", custrec::length, Access::Read);
    const int32_t blockSize = std::max(1, in_.blockSize);
    for (int32_t from = 1; from <= count; from += blockSize) {
        const int32_t to = std::min<int64_t>(count, static_cast<int64_t>(from) + blockSize - 1);
        const std::string accounts = cust.readRun(from, to - from + 1);
        for (int32_t i = from; i <= to; ++i) {
            const AccountPlan plan = planAccount(
                i, std::string_view(accounts).substr(static_cast<size_t>(i - from) * custrec::length, custrec::length));
            total_ = total_ + plan.charged;
            if (plan.record > 0) ++charged_;
        }
        flushReport(pendingReport_);
    }
    files_.closeAll();
    reportTotals();
    return PostingOutcome::Completed;
}

PostingRun::BlockWrite PostingRun::planBlock(int32_t from, int32_t to) {
    // Read in one go and planned in memory; the report's lines wait for the block's writes.
    steplabel_ = Step::Accounts;
    BlockWrite w;
    w.accounts = std::move(spare_);
    w.accounts.resize(static_cast<size_t>(to - from + 1) * custrec::length);
    custFile_->readRunInto(from, to - from + 1, w.accounts.data());
    const std::string_view accounts = w.accounts;
    // With firstmon the exclusion walks are most of the work: those of the last two thirds of
    // the block are walked ahead on another thread while the first third is planned here.
    std::future<void> ahead;
    if (in_.firstmon && to - from + 1 >= 3 * aheadMinimum) {
        aheadFrom_ = from + (to - from + 1) / 3;
        ahead_ = std::vector<Ahead>(static_cast<size_t>(to - aheadFrom_ + 1));
        ahead = std::async(std::launch::async, [this, accounts, from] {
            walkAhead(accounts.substr(static_cast<size_t>(aheadFrom_ - from) * custrec::length));
        });
    }
    JournalBlock& block = w.block;
    block.datebox = in_.datebox;
    block.first = from;
    block.last = to;
    block.monthlast = monthlast_;
    for (int32_t i = from; i <= to; ++i) {
        const std::string_view before =
            accounts.substr(static_cast<size_t>(i - from) * custrec::length, custrec::length);
        if (const auto r = resumeDecision_.find(i); r != resumeDecision_.end() && r->second != Decision::Plan) {
            if (r->second == Decision::CheckByHand) reportCheckByHand(i, std::string(before));
            continue;
        }
        AccountPlan plan = planAccount(i, before);
        if (plan.after.empty()) continue;
        w.total = w.total + plan.charged;
        if (plan.record > 0) ++w.charged;
        block.accounts.push_back(std::move(static_cast<JournalAccount&>(plan)));
    }
    if (ahead.valid()) ahead.get();
    ahead_.clear();
    w.monthlast = monthlast_;
    w.report = std::move(pendingReport_);
    pendingReport_.clear();
    return w;
}

void PostingRun::writeBlock(BlockWrite& w, bool noted) {
    writerLabel_ = Step::Accounts;
    if (!noted) journal_->note(w.block);
    writePlans(w.block.accounts, writerLabel_, w.month, w.monthlast, &w.accounts, w.block.first);
    lastDone_ = w.block.last;
    if (custState_) custState_->add(w.accounts); // the block as it is now on disk
}

void PostingRun::settleWriting() {
    // Only waits: a failure of the block is told where the block is finished, never taken
    // for a failure to read (which a walk may retry).
    if (writing_.valid()) writing_.wait();
}

void PostingRun::finishWriting() {
    if (!writing_.valid()) return;
    try {
        writing_.get();
    } catch (...) {
        steplabel_ = writerLabel_; // the step that failed
        throw;
    }
    total_ = total_ + written_.total;
    charged_ += written_.charged;
    flushReport(written_.report); // before any line of the block being planned
    spare_ = std::move(written_.accounts);
    // The share of the accounts handled so far, whatever the number of accounts.
    host_.progress(static_cast<int>(std::min<int64_t>(100, static_cast<int64_t>(written_.block.last) * 100 / count_)));
    written_ = BlockWrite{};
}

void PostingRun::writePlans(const std::vector<JournalAccount>& plans, StepLabel& label, RecordFile* month,
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
            custFile_->writeRun(first, std::string_view(*block).substr(at(first), count * custrec::length));
        } else {
            run_.clear();
            for (size_t j = k; j < e; ++j) run_.append(plans[j].after);
            custFile_->writeRun(first, run_);
        }
        lastDone_ = last;
        k = e;
    }
    if (month) month->syncData();
    pointer_->syncData();
    custFile_->syncData();
}

int32_t PostingRun::resume(const JournalBlock& pending) {
    // The block a stopped run noted: each of its accounts is already posted, to be posted
    // again, or changed by the main program in a way only a person can judge.
    report("(Completing the posting of " + pending.datebox + " interrupted at account " +
           std::to_string(pending.first) + ".)");
    std::vector<JournalAccount> repairs;
    for (const JournalAccount& a : pending.accounts) {
        const std::string current = custFile_->read(a.account);
        if (recordHash(current) == a.beforeHash && !pending.singleAccount) {
            resumeDecision_[a.account] = Decision::Plan;
            if (a.record > 0) preferred_[a.account] = {a.record, a.transaction};
        } else if (pending.singleAccount && current == pending.before) {
            resumeDecision_[a.account] = Decision::Plan;
        } else if (current == a.after) {
            resumeDecision_[a.account] = Decision::Done;
            if (a.record > 0) repairTransaction(a, repairs);
        } else if (a.record > 0 && chainHolds(current, a.record, a.transaction)) {
            resumeDecision_[a.account] = Decision::Done; // the charge is in; the main program built on it
        } else if (a.record > 0 && !chainHolds(current, a.record, std::string())) {
            resumeDecision_[a.account] = Decision::Plan; // the charge never reached it
        } else {
            resumeDecision_[a.account] = Decision::CheckByHand;
        }
    }
    if (!repairs.empty()) {
        JournalBlock block;
        block.datebox = in_.datebox;
        block.first = block.last = repairs.front().account;
        block.monthlast = monthlast_;
        block.accounts = std::move(repairs);
        journal_->note(block);
        const bool charges =
            std::any_of(block.accounts.begin(), block.accounts.end(), [](const auto& a) { return a.record > 0; });
        writePlans(block.accounts, steplabel_, charges ? &monthFile() : nullptr, monthlast_);
    }
    return pending.first;
}

void PostingRun::repairTransaction(const JournalAccount& a, std::vector<JournalAccount>& repairs) {
    // The account was written; after a power cut its transaction may not have been.
    const std::string there = monthRecord(a.record);
    if (there == a.transaction) return;
    JournalAccount p;
    p.account = a.account;
    p.beforeHash = recordHash(a.after);
    p.after = a.after;
    p.transaction = a.transaction;
    if (isFreeFor(a.record, a.transaction)) {
        p.record = a.record;
    } else {
        // Another program wrote there since: the charge moves to a new record.
        p.record = ++monthlast_;
        storeField(p.after, custrec::lasttxrec, trim(str(p.record)));
    }
    repairs.push_back(std::move(p));
}

bool PostingRun::chainHolds(const std::string& account, int32_t record, const std::string& transaction) {
    // Whether the account's chain passes the posting month's record (holding this transaction,
    // unless none is given).
    TransactionChain chain(files_, account);
    while (chain.next())
        if (sameName(chain.file(), monthfile_) && chain.record() == record)
            return transaction.empty() || chain.transaction() == transaction;
    return false;
}

void PostingRun::reportCheckByHand(int32_t i, const std::string& current) {
    const std::string name = std::string(trim(fieldText(current, custrec::name2))) + " " +
                             std::string(trim(fieldText(current, custrec::name1)));
    host_.notify(QStringLiteral("Account %1 (%2) has changed since the posting of %3 stopped at it. It is left as it "
                                "is and listed on the report: check its interest by hand. The rest of the posting is "
                                "completed.")
                     .arg(i)
                     .arg(fromAnsi(printable(name)), fromAnsi(in_.datebox)),
                 {}, Tone::Exclamation);
    report("Check by hand: account " + std::to_string(i) + " " + name + " (changed since the posting stopped at it)");
}

bool previewPossible() {
    const bool stopped =
        fileExists(PostingJournal::fileName) && Env::current().info(resolveName(PostingJournal::fileName)).size > 0;
    return !stopped && fileExists("Cust.ptn") && fileExists("cust.dat");
}

std::string normalisePostingDate(const std::string& typed) {
    std::string normal = normaliseDashedDate(std::string(trim(typed)));
    if (normal == "ERROR") return normal;
    // Two digits of the year, as the store's dates have them ("1-15-5" is "1-15-05").
    if (normal.size() >= 2 && normal[normal.size() - 2] == '-') normal.insert(normal.size() - 1, "0");
    return normal;
}

bool acceptablePostingDate(const std::string& datebox) {
    const std::string normal = normalisePostingDate(datebox);
    return normal != "ERROR" && isMonthCode(left(monthFileName(normal), 4));
}

QString postingFailureMessage(const StepLabel& steplabel, const RunError& e, int32_t lastDone) {
    QString what;
    if (!e.detail().empty()) {
        const std::string& d = e.detail();
        const std::string file = d.substr(d.find_last_of('/') == std::string::npos ? 0 : d.find_last_of('/') + 1);
        what = QStringLiteral("The file %1 %2.").arg(fromAnsi(file), QString::fromStdString(troubleInWords(e)));
    } else {
        what = QStringLiteral("Error %1: %2.").arg(e.number()).arg(QString::fromStdString(e.description()));
    }
    const QString done = lastDone > 0 ? QStringLiteral("No account after account %1 was changed.").arg(lastDone)
                                      : QStringLiteral("No account was changed.");
    return fromAnsi(steplabel.text()) + '\r' + what + '\r' + done +
           QStringLiteral(" Post again with the same date to complete the posting.");
}

void PostingRun::setPointer(int32_t last) {
    // Written in place: the pointer's text only grows while a run appends.
    const std::string text = str(last) + "\r\n";
    pointer_->writeAt(0, text);
    if (text.size() < pointerLength_) pointer_->truncate(static_cast<int64_t>(text.size()));
    pointerLength_ = text.size();
}

PostingRun::AccountPlan PostingRun::planAccount(int32_t i, std::string_view before) {
    plan_ = AccountPlan{};
    plan_.account = i;
    cust_.assign(before);
    planFor(i);
    if (cust_ != before || !plan_.transaction.empty()) {
        plan_.beforeHash = recordHash(before);
        plan_.after = cust_;
    }
    return std::move(plan_);
}

void PostingRun::planFor(int32_t i) {
    // An account whose numbers cannot be handled is left as it is, and named on the report.
    double balance = 0, nointerest = 0;
    Money base;
    for (const auto& [field, name] :
         {std::pair{custrec::balance, "balance"}, std::pair{custrec::rating, "rating"},
          std::pair{custrec::lasttxrec, "lasttxrec"}, std::pair{custrec::nointerest, "no interest mark"}}) {
        try {
            const double v = val(fieldText(cust_, field));
            clng(v);
            if (field.offset == custrec::balance.offset) {
                base = Money::fromDouble(v);
                balance = v;
            }
            if (field.offset == custrec::nointerest.offset) nointerest = v;
        } catch (const RunError& e) {
            if (e.number() != err::Overflow) throw;
            report("Not charged: account " + std::to_string(i) + " " +
                   std::string(trim(fieldText(cust_, custrec::name2))) + " " +
                   std::string(trim(fieldText(cust_, custrec::name1))) + " (its " + name + " \"" +
                   std::string(trim(fieldText(cust_, field))) + "\" is not a number the posting can handle.)");
            return;
        }
    }
    if (balance > 0) ++withBalance_;
    std::string layaway;
    if (balance > 1) layaway = layawayCheck();
    if (layaway == "Y" && in_.skipLayaways) {
        ++spared_.layaway;
        return;
    }
    if (nointerest > 0 || pct_ == 0) {
        if (balance == 0) ++spared_.noBalance;
        else if (nointerest > 0) ++spared_.marked;
        else ++spared_.rateZero;
        noInterestCase(nullptr);
        return;
    }
    if (!(balance > 0)) {
        ++spared_.noBalance;
        return;
    }
    interestbase_ = base;
    if (in_.firstmon) {
        const size_t k = static_cast<size_t>(plan_.account - aheadFrom_);
        if (plan_.account >= aheadFrom_ && k < ahead_.size() && ahead_[k].ready.load(std::memory_order_acquire)) {
            interestbase_ = ahead_[k].base;
            if (ahead_[k].walked) steplabel_ = ahead_[k].label;
        } else {
            excluderecent();
        }
    }
    if (interestbase_ >= Money::fromTicks(Money::scale)) {
        chargeCase();
        return;
    }
    if (in_.firstmon && base >= Money::fromTicks(Money::scale)) ++spared_.recent;
    else ++spared_.small;
    noInterestCase(" (To new a charge.)");
}

std::string PostingRun::layawayCheck() {
    // The newest regular charge or layaway transaction decides.
    std::string flag;
    TransactionChain chain(files_, cust_);
    while (chain.next()) {
        const std::string_view trans = chain.transaction();
        const std::string_view type = fieldText(trans, transrec::txtype);
        if (type == "A" && left(fieldText(trans, transrec::descr), 8) != "Interest") flag = "N";
        if (type == "~") flag = "Y";
        const auto prevrec = chain.prevrecValue();
        if (!((prevrec ? *prevrec : valOf(trans, transrec::prevrec)) > 0) || !flag.empty()) break;
    }
    return flag;
}

void PostingRun::excluderecent() {
    std::string file = fieldOf(cust_, custrec::lasttxfile) + ".dat";
    if (valOf(cust_, custrec::lasttxrec) == 0) return;
    if (file[0] == '\0') nothingDesignated(host_);
    int retries = 0; // for the whole call, not reset by a success
    TransactionChain chain(files_, cust_, walkedMonth);
    const std::string_view accountField = fieldText(cust_, custrec::acctno);
    const double account = val(accountField);
    for (;;) {
        steplabel_ = Step::ChainNext;
        file = chain.nextFile();
        bool more = false;
        try {
            more = chain.next();
        } catch (const RunError& e) {
            // Retried while another computer holds the file.
            host_.notify(fromAnsi(steplabel_.text()) + '\r' + '|' + fromAnsi(file));
            if (e.number() == err::PermissionDenied) {
                if (++retries > 20) {
                    host_.notify(QStringLiteral("Another computer is momentarily using this file.\rTry again."));
                    retries = 0;
                }
                continue;
            }
            if (!host_.askRetry(
                    QStringLiteral("Error #%1 %2\rPlease tell The Velmaron Co")
                        .arg(QString::fromStdString(str(e.number())), QString::fromStdString(e.description())),
                    QStringLiteral("An Error has occured")))
                host_.endProgram();
            continue;
        }
        if (!more || !exclusionStep(chain, accountField, account, interestbase_, steplabel_)) break;
    }
}

bool PostingRun::exclusionStep(const TransactionChain& chain, std::string_view accountField, double account,
                               Money& base, StepLabel& label) const {
    const std::string_view trans = chain.transaction();
    const std::string& file = chain.file();
    label.at(Step::ChainTransaction, file);
    // The same bytes are the same number; only others are read as one.
    const std::string_view acctno = fieldText(trans, transrec::acctno);
    if (acctno != accountField && val(acctno) != account) return false;
    if (fieldText(trans, transrec::txtype) == "A") {
        // Charges of this month, and of last month after the posting day, are left out.
        const PostingDate t = transactionDate(fieldText(trans, transrec::txdate));
        if ((t.month == date_.month && t.year == date_.year) ||
            (t.month == date_.prevMonth && t.year == date_.prevYear && t.day > date_.day))
            base = base - Money::fromText(fieldText(trans, transrec::amount)) -
                   Money::fromText(fieldText(trans, transrec::amount2));
    }
    label = Step::ChainBack;
    // A chain only goes back: to another month file, or to an earlier record of this one.
    const std::string_view prevfile = trim(fieldText(trans, transrec::prevfile));
    const double prevrec = chain.prevrecValue() ? *chain.prevrecValue() : valOf(trans, transrec::prevrec);
    const bool sameFile = file.size() == prevfile.size() + 4 && file.compare(0, prevfile.size(), prevfile) == 0 &&
                          file.compare(prevfile.size(), 4, ".dat") == 0;
    return prevfile.size() > 2 && prevrec != 0 && (!sameFile || prevrec < chain.record());
}

void PostingRun::walkAhead(std::string_view accounts) {
    std::string account;
    for (size_t k = 0; k < ahead_.size(); ++k) {
        account.assign(accounts.substr(k * custrec::length, custrec::length));
        Ahead& a = ahead_[k];
        double balance = 0;
        try {
            balance = valOf(account, custrec::balance);
            a.base = Money::fromDouble(balance);
        } catch (...) {
            continue; // left to the planning
        }
        if (!(balance > 0) || !excludeAhead(aheadFiles_, account, a.base, a.label)) continue;
        a.walked = a.label.step != Step::None;
        a.ready.store(true, std::memory_order_release);
    }
}

bool PostingRun::excludeAhead(RunFiles& files, const std::string& account, Money& base, StepLabel& label) const {
    // The exclusion walk as the planning would make it, on files of its own; anything out of
    // the ordinary (a read that fails, a number beyond range, no file named, the posting month
    // file, which the run writes) is left to the planning, which knows what to do with it.
    struct LeftToPlanning {};
    try {
        if (valOf(account, custrec::lasttxrec) == 0) return true;
        if (fieldText(account, custrec::lasttxfile)[0] == '\0') return false;
        TransactionChain chain(files, account, [this](const std::string& name) {
            if (sameName(name, monthfile_)) throw LeftToPlanning{};
            return walkedMonth(name);
        });
        const std::string_view accountField = fieldText(account, custrec::acctno);
        const double acct = val(accountField);
        for (;;) {
            label = Step::ChainNext;
            if (!chain.next() || !exclusionStep(chain, accountField, acct, base, label)) return true;
        }
    } catch (...) {
        return false;
    }
}

void PostingRun::countDownNoInterest() {
    const double n = valOf(cust_, custrec::nointerest);
    if (n == 99) return;
    std::string t(trim(str(n - 1)));
    if (val(t) < 1) t = "0";
    storeField(cust_, custrec::nointerest, t);
}

void PostingRun::noInterestCase(const char* reason) {
    // `reason`: the account is spared for its balance, whatever its mark.
    countDownNoInterest();
    if (reason || valOf(cust_, custrec::balance) != 0) {
        storeField(cust_, custrec::rating, str(valOf(cust_, custrec::rating) + 1));
        // Counted by reason for the report, not listed one by one.
    }
}

std::string PostingRun::monthRecord(int32_t record) {
    settleWriting(); // the block being written may write there
    if (!files_.exists(monthfile_)) return std::string(transrec::length, '\0');
    return monthFile().read(record);
}

bool PostingRun::isFreeFor(int32_t record, const std::string& transaction) {
    // A record of the file holding this transaction whole, or cut short by a stop in the middle
    // of its write (the rest NULs), is the run's to write again. One beyond what the file held
    // when the run started is not: the run hands out those itself.
    if (record > monthAtStart_) return false;
    const std::string there = monthRecord(record);
    size_t same = 0;
    while (same < there.size() && there[same] == transaction[same]) ++same;
    return same == there.size() || there.find_first_not_of('\0', same) == std::string::npos;
}

RecordFile& PostingRun::monthFile() {
    return files_.open(monthfile_, transrec::length, Access::ReadWrite, Sharing::Default);
}

void PostingRun::chargeCase() {
    if (monthfile_.empty() || monthfile_[0] == '\0') nothingDesignated(host_);
    AccountPlan& p = plan_;
    int32_t record = monthlast_ + 1;
    AccountCharge c = chargeAccount(cust_, p.account, interestbase_, record, terms_);
    if (const auto pref = preferred_.find(p.account); pref != preferred_.end() && pref->second.first <= monthAtStart_) {
        // The account a stopped run was writing: its transaction may be in the month file
        // already, unreferenced. Only that very record, unchanged or cut short, is taken again.
        AccountCharge again = chargeAccount(cust_, p.account, interestbase_, pref->second.first, terms_);
        if (again.charged && isFreeFor(pref->second.first, again.transaction)) {
            c = std::move(again);
            record = pref->second.first;
        }
    }
    report(std::move(c.reportLine));
    if (!c.charged) return;
    if (record > monthlast_) monthlast_ = record;
    cust_ = std::move(c.account);
    p.transaction = std::move(c.transaction);
    p.record = record;
    p.charged = c.amount;
}

} // namespace interest
