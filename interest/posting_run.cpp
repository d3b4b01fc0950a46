#include "interest/posting_run.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/env.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/large_pages.h"
#include "interest/transaction_chain.h"
#include "store/account_count.h"
#include "store/last_posting.h"

#include <algorithm>

namespace interest {

using namespace common;

namespace {
SparedLine::Why whyOf(Spared s) {
    switch (s) {
    case Spared::Marked: return SparedLine::Why::Marked;
    case Spared::RateZero: return SparedLine::Why::RateZero;
    case Spared::Recent: return SparedLine::Why::Recent;
    case Spared::Small: return SparedLine::Why::Small;
    case Spared::Layaway: return SparedLine::Why::Layaway;
    case Spared::NoBalance: return SparedLine::Why::NoBalance;
    case Spared::Credit: return SparedLine::Why::Credit;
    case Spared::ByHand: return SparedLine::Why::ByHand;
    case Spared::No:
    case Spared::Unreadable: break;
    }
    return SparedLine::Why::Other;
}

bool journalHoldsStop() {
    return fileExists(PostingJournal::fileName) && Env::current().info(resolveName(PostingJournal::fileName)).size > 0;
}

// The month file's last record: after the pointer and after every record in the file (the
// pointer may lag a stopped run's last write, or the main program may have appended since).
int32_t lastMonthRecord(const PostingDate& date) {
    int32_t last = readPointer(date.pointerFile);
    if (const PathInfo month = Env::current().info(resolveName(date.monthFile)); month.exists && !month.folder)
        last = std::max<int64_t>(last, (month.size + transrec::length - 1) / transrec::length);
    return last;
}
} // namespace

bool sealedBeforeItsEnd(const JournalBlock& pending) {
    const auto last = PostingBackup::newest();
    return last && PostingBackup::sealed(*last) && PostingBackup::postingDate(*last) == pending.datebox;
}

void endSealedPosting() {
    if (!journalHoldsStop()) return; // the usual start: nothing to open, nothing written
    try {
        PostingJournal journal;
        if (const auto pending = journal.pending(); pending && sealedBeforeItsEnd(*pending)) journal.finish();
    } catch (const RunError&) {
        // held by a posting under way elsewhere, or unreadable: left to the next posting
    }
}

bool previewPossible() { return !journalHoldsStop() && fileExists("Cust.ptn") && fileExists("cust.dat"); }

PostingRun::PostingRun(const PostingInput& input, EngineHost& host, StepLabel& steplabel)
    : in_(input), host_(host), steplabel_(steplabel) {
    const double rate = val(in_.percentage);
    planTerms_ = PlanTerms{in_.date, rate, in_.skipLayaways, in_.firstmon, in_.sparedByHand};
    std::sort(planTerms_.sparedByHand.begin(), planTerms_.sparedByHand.end());
    terms_ = ChargeTerms{.rate = rate,
                         .minimum = val(in_.minfinance),
                         .datebox = in_.date.text,
                         .monthFile = in_.date.monthFile,
                         .wholesale = in_.wholesale,
                         .withBase = in_.firstmon,
                         .reportLine = !in_.preview || in_.reportLines};
    notice_ = [this](const std::string& message) { host_.notify(fromAnsi(message)); };
}

PostingRun::~PostingRun() = default;

int32_t PostingRun::lastDone() const { return writer_ ? writer_->lastDone() : 0; }

void PostingRun::flushReport(std::vector<std::string>& lines) {
    for (const std::string& line : lines) host_.reportBytes(printable(line));
    lines.clear();
}

PostingOutcome PostingRun::run() {
    // The journal is let go whatever the outcome: it stays on disk only while it holds an
    // entry of a stopped run.
    preferLargePages(); // a run touches tens of megabytes of new memory
    try {
        const PostingOutcome outcome = in_.preview ? previewSteps() : runSteps();
        journal_.reset();
        return outcome;
    } catch (...) {
        if (writer_) writer_->settle();        // a block still being written is let finish
        if (copying_.valid()) copying_.wait(); // and the undo copy being made
        if (!lastpostWritten_) leaveAsFound();
        journal_.reset();
        throw;
    }
}

PostingOutcome PostingRun::runSteps() {
    // One posting at a time: the journal is held for the whole run.
    try {
        journal_ = std::make_unique<PostingJournal>();
    } catch (const RunError& e) {
        if (e.number() != err::PermissionDenied) throw;
        return PostingOutcome::PostingElsewhere;
    }
    // A run that cannot start is not recorded as a posting.
    if (!fileExists("Cust.ptn")) return PostingOutcome::NoCustPtn;
    if (!fileExists("cust.dat")) return PostingOutcome::NoCustDat;
    const std::optional<JournalBlock> pending = journal_->pending();
    if (pending && sealedBeforeItsEnd(*pending)) {
        // Complete already: only its journal is let go (Interest does so as it starts).
        journal_->finish();
        return PostingOutcome::Completed;
    }
    if (pending && pending->datebox != in_.date.text) {
        pendingDate_ = pending->datebox;
        return PostingOutcome::OtherDateStopped;
    }
    host_.reportBytes(columnHeadings(in_.firstmon), true);
    host_.doEvents();

    startBackup(pending.has_value());
    host_.doEvents();

    steplabel_ = Step::AccountCount;
    count_ = store::readAccountCount(); // the accounts of the store, for the blocks and the bar

    steplabel_ = Step::MonthPointer;
    holdMonthPointer();

    steplabel_ = Step::Accounts;
    custFile_ = &files_.open("cust.dat", custrec::length, Access::ReadWrite, Sharing::Default);
    writer_ = std::make_unique<BlockWriter>(*custFile_, *journal_, !pending);
    if (pointer_) writer_->usePointer(*pointer_, static_cast<size_t>(pointer_->size()));
    const int32_t first = pending ? resume(*pending) : 1;

    postBlocks(first);
    finishWriting();
    beforeFirstWrite(); // a run without accounts still writes the pointer
    std::map<std::string, std::string> known;
    const auto cust = custFileState();
    if (cust) known["cust.dat"] = *cust;
    files_.closeAll();
    aheadFiles_.closeAll();
    custFile_ = nullptr;

    steplabel_ = Step::MonthCount;
    makeMonthPointer();
    writer_->setPointer(monthlast_);
    pointer_->syncData();
    pointer_.reset();
    // Sealed while the journal still holds the posting: a stop between the two leaves a posting
    // the next run finds complete (`sealedBeforeItsEnd`), never one that cannot be undone.
    if (cust) PostingBackup::noteAccounts(backup_, writer_->accountHashes());
    PostingBackup::seal(backup_, in_.date.text, known);
    journal_->finish();

    reportTotals();
    return PostingOutcome::Completed;
}

void PostingRun::startBackup(bool completing) {
    steplabel_ = Step::Backup;
    // Before the first write, a copy of what the posting changes, for an undo; a stopped
    // posting being completed keeps the copy taken before it. A new copy is made beside the
    // planning of the first block (the account file's copy takes about as long as planning
    // 100,000 accounts); it is complete, and the posting recorded in "lastpost.dat", before
    // anything is written (`beforeFirstWrite`).
    if (const auto last = PostingBackup::newest(); completing && last && !PostingBackup::sealed(*last)) {
        backup_ = *last;
        beforeFirstWrite();
        return;
    }
    taking_ =
        PostingBackup::begin({"cust.dat", in_.date.monthFile, in_.date.pointerFile, "lastpost.dat"}, host_.clock());
    backup_ = taking_.name;
    copying_ = std::async(std::launch::async, [this] { return PostingBackup::copy(taking_); });
}

void PostingRun::holdMonthPointer() {
    // A record that exists is never written over.
    monthlast_ = monthAtStart_ = lastMonthRecord(in_.date);
    // Held from here on, so that the month's count stays what was read. One that is missing is
    // made only when the run first writes: a run that stops before leaves no empty count.
    if (fileExists(in_.date.pointerFile))
        pointer_ = std::make_unique<LockedFile>(in_.date.pointerFile, Access::ReadWrite);
}

void PostingRun::makeMonthPointer() {
    if (pointer_ || !writer_) return; // held, or the run is not yet at its writes
    const StepLabel label = steplabel_;
    steplabel_ = Step::MonthPointer;
    // Made by another program since the run read the month: its records and the run's could
    // meet. Nothing has been written yet; the next posting reads the month again.
    if (fileExists(in_.date.pointerFile)) throw RunError(err::FileExists, in_.date.pointerFile);
    pointerMade_ = true;
    pointer_ = std::make_unique<LockedFile>(in_.date.pointerFile, Access::ReadWrite);
    writer_->usePointer(*pointer_, 0);
    steplabel_ = label;
}

void PostingRun::postBlocks(int32_t first) {
    // Each block is written on a thread of its own while the next one is planned; one block
    // at a time, its journal entry first, so what a stop leaves is what it left before.
    // A walk that reads the posting month file where a block being written may write (records
    // past those there at the start, or those a stopped run left) waits for that block first.
    files_.beforeReadingWritten = [this](int32_t record) {
        if (record > monthAtStart_ || !resumption_.preferred.empty()) writer_->settle();
    };
    const int32_t blockSize = std::max(1, in_.blockSize);
    for (int32_t from = first; from <= count_; from += blockSize) {
        const int32_t to = std::min<int64_t>(count_, static_cast<int64_t>(from) + blockSize - 1);
        BlockWrite next;
        try {
            next = planBlock(from, to);
        } catch (...) {
            finishWriting(); // the block being written is completed (or its failure told) first
            throw;
        }
        finishWriting();
        completeBackup();
        bool noted = false;
        const bool opensMonth = next.charged > 0 && !files_.openForWriting(in_.date.monthFile);
        if (!lastpostWritten_ || opensMonth) {
            // The first block's entry is noted here, before anything of the store is written (the
            // last posting, a month's count), so that a stop after any of it is completed by the
            // next run; and the first block that charges before the month file is opened for
            // writing here (not on the writing thread, which touches no shared state), so that a
            // month file held by another computer stops the run with the block noted.
            steplabel_ = Step::Accounts;
            journal_->note(next.block);
            noted = true;
        }
        beforeFirstWrite();
        if (opensMonth) steplabel_ = Step::Transactions;
        if (next.charged > 0) next.month = &monthFile();
        makeMonthPointer();
        writer_->start(std::move(next), noted);
    }
}

std::optional<std::string> PostingRun::custFileState() {
    // What the file holds past the accounts posted (seldom anything) is read as it is; a file
    // shorter than the accounts posted, or much longer, is left to the seal to read again.
    std::optional<FileState>& state = writer_->accountsState();
    const int64_t tail = state ? custFile_->size() - state->size() : -1;
    if (tail < 0 || tail > int64_t{1} << 20) return std::nullopt;
    if (tail > 0) {
        const int64_t records = (tail + custrec::length - 1) / custrec::length;
        const int64_t next = state->size() / custrec::length + 1;
        const std::string rest = std::string(std::string_view(custFile_->readRun(next, records)).substr(0, tail));
        state->add(rest);
        for (size_t at = 0; at + custrec::length <= rest.size(); at += custrec::length)
            writer_->accountHashes().push_back(recordHash(std::string_view(rest).substr(at, custrec::length)));
    }
    return state->text();
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

void PostingRun::completeBackup() {
    if (!copying_.valid()) return;
    const StepLabel label = steplabel_;
    steplabel_ = Step::Backup;
    PostingBackup::complete(taking_, copying_.get());
    steplabel_ = label;
}

void PostingRun::beforeFirstWrite() {
    if (lastpostWritten_) return;
    const StepLabel label = steplabel_;
    steplabel_ = Step::Backup;
    completeBackup();
    makeMonthPointer();
    store::writeLastPosting(in_.date.text, str(Money::fromText(in_.percentage)), str(Money::fromText(in_.minfinance)));
    lastpostWritten_ = true;
    steplabel_ = label;
}

void PostingRun::reportTotals() {
    // After the charges, every account not charged, named with its reason; then the counts.
    if (!sparedLines_.empty()) {
        host_.reportBytes({});
        host_.reportBytes(sparedHeading());
        host_.reportBytes(sparedColumns(), true);
        sparedLines_.replay([this](std::string_view line, bool) { host_.reportBytes(line); });
        sparedLines_.clear();
    }
    host_.reportBytes({}, true);
    for (const std::string& line : reportSummary(lookedAt_, charged_, total_, spared_)) host_.reportBytes(line);
    host_.endReport();
}

PostingOutcome PostingRun::previewSteps() {
    // The run as it would go, on the files as they are; nothing is written, not even the date.
    if (journalHoldsStop()) return PostingOutcome::StoppedPending;
    if (!fileExists("Cust.ptn") || !fileExists("cust.dat")) return PostingOutcome::NothingToPreview;
    host_.reportBytes(columnHeadings(in_.firstmon), true);
    monthlast_ = monthAtStart_ = lastMonthRecord(in_.date);
    RecordFile cust(in_.accountsFile.empty() ? "cust.dat" : in_.accountsFile, custrec::length, Access::Read);
    const int32_t count = in_.accountsFile.empty() ? store::readAccountCount() : cust.count();
    // A preview that only counts, without the walks of the last month (whose boxes are the
    // window's to show), counts the second half of each block on the other core, on files of
    // its own; the counts are added up at the end. Its first error is the first half's, as one
    // after the other.
    StepLabel otherLabel;
    std::unique_ptr<PostingRun> other;
    if (!terms_.reportLine && !in_.firstmon) {
        other = std::make_unique<PostingRun>(in_, host_, otherLabel);
        other->monthlast_ = other->monthAtStart_ = monthAtStart_;
    }
    const auto plan = [](PostingRun& run, std::string_view accounts, int32_t from, int32_t first, int32_t last) {
        for (int32_t i = first; i <= last; ++i) {
            const AccountPlan p =
                run.planAccount(i, accounts.substr(static_cast<size_t>(i - from) * custrec::length, custrec::length));
            run.total_ = run.total_ + p.charged;
            if (p.record > 0) ++run.charged_;
        }
    };
    const int32_t blockSize = std::max(1, in_.blockSize);
    for (int32_t from = 1; from <= count; from += blockSize) {
        const int32_t to = std::min<int64_t>(count, static_cast<int64_t>(from) + blockSize - 1);
        const std::string accounts = cust.readRun(from, to - from + 1);
        if (other && to > from) {
            const int32_t half = from + (to - from + 1) / 2;
            std::future<void> second = std::async(std::launch::async, [&] { plan(*other, accounts, from, half, to); });
            try {
                plan(*this, accounts, from, from, half - 1);
            } catch (...) {
                second.wait();
                throw;
            }
            try {
                second.get();
            } catch (...) {
                steplabel_ = otherLabel;
                throw;
            }
        } else {
            std::future<void> ahead = startWalksAhead(accounts, from, to);
            plan(*this, accounts, from, from, to);
            if (ahead.valid()) ahead.get();
            ahead_.clear();
        }
        flushReport(pendingReport_);
    }
    if (other) {
        other->files_.closeAll();
        withBalance_ += other->withBalance_;
        lookedAt_ += other->lookedAt_;
        spared_ += other->spared_;
        total_ = total_ + other->total_;
        charged_ += other->charged_;
    }
    files_.closeAll();
    aheadFiles_.closeAll();
    reportTotals();
    return PostingOutcome::Completed;
}

BlockWrite PostingRun::planBlock(int32_t from, int32_t to) {
    // Read in one go and planned in memory; the report's lines wait for the block's writes.
    steplabel_ = Step::Accounts;
    BlockWrite w;
    w.accounts = std::move(spare_);
    w.accounts.resize(static_cast<size_t>(to - from + 1) * custrec::length);
    custFile_->readRunInto(from, to - from + 1, w.accounts.data());
    const std::string_view accounts = w.accounts;
    std::future<void> ahead = startWalksAhead(accounts, from, to);
    JournalBlock& block = w.block;
    block.datebox = in_.date.text;
    block.first = from;
    block.last = to;
    block.monthlast = monthlast_;
    for (int32_t i = from; i <= to; ++i) {
        const std::string_view before =
            accounts.substr(static_cast<size_t>(i - from) * custrec::length, custrec::length);
        if (const auto r = resumption_.decisions.find(i);
            r != resumption_.decisions.end() && r->second != ResumeDecision::Plan) {
            if (r->second == ResumeDecision::CheckByHand) reportCheckByHand(i, std::string(before));
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

void PostingRun::finishWriting() {
    if (std::optional<BlockWrite> w = writer_->finish(steplabel_)) blockDone(std::move(*w));
}

void PostingRun::blockDone(BlockWrite&& w) {
    total_ = total_ + w.total;
    charged_ += w.charged;
    flushReport(w.report); // before any line of the block being planned
    spare_ = std::move(w.accounts);
    // The share of the accounts handled so far, whatever the number of accounts.
    host_.progress(static_cast<int>(std::min<int64_t>(100, static_cast<int64_t>(w.block.last) * 100 / count_)));
}

int32_t PostingRun::resume(const JournalBlock& pending) {
    report("(Completing the posting of " + pending.datebox + " interrupted at account " +
           std::to_string(pending.first) + ".)");
    resumption_ = judgeStoppedBlock(
        pending, [this](int32_t account) { return custFile_->read(account); },
        [this](const std::string& account, int32_t record, const std::string& transaction) {
            return chainHolds(account, record, transaction);
        });
    std::vector<JournalAccount> repairs;
    for (const JournalAccount& a : resumption_.written) repairTransaction(a, repairs);
    if (!repairs.empty()) {
        JournalBlock block;
        block.datebox = in_.date.text;
        block.first = block.last = repairs.front().account;
        block.monthlast = monthlast_;
        block.accounts = std::move(repairs);
        journal_->note(block);
        const bool charges =
            std::any_of(block.accounts.begin(), block.accounts.end(), [](const auto& a) { return a.record > 0; });
        makeMonthPointer();
        writer_->write(block.accounts, steplabel_, charges ? &monthFile() : nullptr, monthlast_);
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
        if (sameName(chain.file(), in_.date.monthFile) && chain.record() == record)
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
                     .arg(fromAnsi(printable(name)), fromAnsi(in_.date.text)),
                 {}, Tone::Exclamation);
    report("Check by hand: account " + std::to_string(i) + " " + name + " (changed since the posting stopped at it)");
    ++lookedAt_;
    ++spared_.checkByHand;
    SparedLine s = sparedOf(i, current);
    s.because = "changed since the stop: check by hand";
    sparedLines_.add(printable(sparedLine(s)));
}

SparedLine PostingRun::sparedOf(int32_t i, std::string_view account) const {
    SparedLine s;
    s.account = i;
    s.name = accountNames(account);
    s.balance = balanceText(fieldText(account, custrec::balance));
    return s;
}

PostingRun::AccountPlan PostingRun::planAccount(int32_t i, std::string_view before) {
    AccountPlan plan;
    plan.account = i;
    const size_t k = static_cast<size_t>(i - aheadFrom_);
    const WalkedBase* walked = nullptr;
    if (in_.firstmon && i >= aheadFrom_ && k < ahead_.size() && ahead_[k].ready.load(std::memory_order_acquire))
        walked = &ahead_[k].walk;
    AccountPlanning planned = interest::planAccount(before, i, files_, planTerms_, steplabel_, notice_, walked);
    if (planned.owes) ++withBalance_;
    ++lookedAt_;
    countSpared(planned.spared);
    if (planned.spared != Spared::No && terms_.reportLine) {
        SparedLine s = sparedOf(i, before);
        s.why = whyOf(planned.spared);
        s.base = planned.base;
        s.markLeft = std::string(trim(fieldText(planned.account, custrec::nointerest)));
        s.because = std::move(planned.note);
        if (planned.spared == Spared::ByHand)
            byHand_.push_back({i, s.name, std::string(trim(fieldText(before, custrec::phone)))});
        sparedLines_.add(printable(sparedLine(s)));
    }
    if (planned.spared == Spared::No) charge(plan, std::move(planned.account), planned.base);
    else plan.after = std::move(planned.account);
    if (plan.after == before && plan.transaction.empty()) plan.after.clear(); // nothing changes
    else if (!in_.preview) plan.beforeHash = recordHash(before);              // for the journal
    return plan;
}

void PostingRun::countSpared(Spared why) {
    switch (why) {
    case Spared::Layaway: ++spared_.layaway; break;
    case Spared::NoBalance: ++spared_.noBalance; break;
    case Spared::Marked: ++spared_.marked; break;
    case Spared::RateZero: ++spared_.rateZero; break;
    case Spared::Recent: ++spared_.recent; break;
    case Spared::Small: ++spared_.small; break;
    case Spared::Credit: ++spared_.credit; break;
    case Spared::ByHand: ++spared_.byHand; break;
    case Spared::Unreadable: ++spared_.unreadable; break;
    case Spared::No: break;
    }
}

void PostingRun::charge(AccountPlan& plan, std::string&& account, Money base) {
    int32_t record = monthlast_ + 1;
    AccountCharge c = chargeAccount(account, plan.account, base, record, terms_);
    if (const auto pref = resumption_.preferred.find(plan.account);
        pref != resumption_.preferred.end() && pref->second.first <= monthAtStart_) {
        // The account a stopped run was writing: its transaction may be in the month file
        // already, unreferenced. Only that very record, unchanged or cut short, is taken again.
        AccountCharge again = chargeAccount(account, plan.account, base, pref->second.first, terms_);
        if (again.charged && isFreeFor(pref->second.first, again.transaction)) {
            c = std::move(again);
            record = pref->second.first;
        }
    }
    if (!c.charged) {
        ++spared_.tooLarge;
        if (terms_.reportLine) {
            SparedLine s = sparedOf(plan.account, account);
            s.because = std::move(c.reportLine);
            sparedLines_.add(printable(sparedLine(s)));
        }
        plan.after = std::move(account);
        return;
    }
    if (terms_.reportLine) report(std::move(c.reportLine));
    if (in_.preview && in_.listCharges) chargedList_.push_back({plan.account, accountNames(account), c.amount});
    if (record > monthlast_) monthlast_ = record;
    plan.after = std::move(c.account);
    plan.transaction = std::move(c.transaction);
    plan.record = record;
    plan.charged = c.amount;
}

std::future<void> PostingRun::startWalksAhead(std::string_view accounts, int32_t from, int32_t to) {
    // With firstmon the exclusion walks are most of the work: those of the last two thirds of
    // the block are walked ahead on another thread while the first third is planned here.
    if (!in_.firstmon || to - from + 1 < 3 * aheadMinimum) return {};
    aheadFrom_ = from + (to - from + 1) / 3;
    ahead_ = std::vector<Ahead>(static_cast<size_t>(to - aheadFrom_ + 1));
    return std::async(std::launch::async, [this, accounts, from] {
        walkAhead(accounts.substr(static_cast<size_t>(aheadFrom_ - from) * custrec::length));
    });
}

void PostingRun::walkAhead(std::string_view accounts) {
    std::string account;
    for (size_t k = 0; k < ahead_.size(); ++k) {
        account.assign(accounts.substr(k * custrec::length, custrec::length));
        Ahead& a = ahead_[k];
        double balance = 0;
        try {
            balance = val(fieldText(account, custrec::balance));
            a.walk.base = Money::fromDouble(balance);
        } catch (...) {
            continue; // left to the planning
        }
        if (!(balance > 0) || !excludeRecentAhead(aheadFiles_, account, in_.date, a.walk.base, a.walk.label)) continue;
        a.walk.walked = a.walk.label.step != Step::None;
        a.ready.store(true, std::memory_order_release);
    }
}

std::string PostingRun::monthRecord(int32_t record) {
    if (writer_) writer_->settle(); // the block being written may write there
    if (!files_.exists(in_.date.monthFile)) return std::string(transrec::length, '\0');
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
    return files_.open(in_.date.monthFile, transrec::length, Access::ReadWrite, Sharing::Default);
}

} // namespace interest
