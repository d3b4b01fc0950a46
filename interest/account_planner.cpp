#include "interest/account_planner.h"

#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_files.h"

#include <algorithm>

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

// One transaction of the exclusion walk: the charges it leaves out of `base`; whether the walk
// goes on; the step as the walk leaves it in `label`.
bool exclusionStep(const TransactionChain& chain, std::string_view accountField, double account,
                   const PostingDate& date, Money& base, StepLabel& label) {
    const std::string_view trans = chain.transaction();
    const std::string& file = chain.file();
    label.at(Step::ChainTransaction, file);
    // The same bytes are the same number; only others are read as one.
    const std::string_view acctno = fieldText(trans, transrec::acctno);
    if (acctno != accountField && val(acctno) != account) return false;
    if (fieldText(trans, transrec::txtype) == "A") {
        // Charges of this month, and of last month after the posting day, are left out.
        const TransactionDay t = transactionDay(fieldText(trans, transrec::txdate));
        if ((t.month == date.month && t.year == date.year) ||
            (t.month == date.prevMonth && t.year == date.prevYear && t.day > date.day))
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

// The no-interest mark counts down by one a posting, to 0; 99 stays.
void countDownNoInterest(std::string& account) {
    const double n = valOf(account, custrec::nointerest);
    if (n == 99) return;
    std::string t(trim(str(n - 1)));
    if (val(t) < 1) t = "0";
    storeField(account, custrec::nointerest, t);
}

// An account spared for its mark or the rate counts its mark down, and one that owes (or is
// owed) something, or is spared for its balance, goes up a rating.
void spare(std::string& account, bool forItsBalance) {
    countDownNoInterest(account);
    if (forItsBalance || valOf(account, custrec::balance) != 0)
        storeField(account, custrec::rating, str(valOf(account, custrec::rating) + 1));
}

} // namespace

std::string layawayFlag(ChainFiles& files, const std::string& account) {
    std::string flag;
    TransactionChain chain(files, account);
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

void excludeRecent(ChainFiles& files, const std::string& account, const PostingDate& date, Money& base,
                   StepLabel& label, const WalkNotice& notice) {
    std::string file = fieldOf(account, custrec::lasttxfile) + ".dat";
    if (valOf(account, custrec::lasttxrec) == 0) return;
    if (file[0] == '\0') throw RunError(err::NoFileNamed);
    int retries = 0; // for the whole walk, not reset by a success
    TransactionChain chain(files, account, walkedMonth);
    const std::string_view accountField = fieldText(account, custrec::acctno);
    const double number = val(accountField);
    for (;;) {
        label = Step::ChainNext;
        file = chain.nextFile();
        bool more = false;
        try {
            more = chain.next();
        } catch (const RunError& e) {
            // Read again while another computer holds the file.
            if (e.number() != err::PermissionDenied) throw;
            notice(label.text() + "\r|" + file);
            if (++retries > 20) {
                notice("Another computer is momentarily using this file.\rTry again.");
                retries = 0;
            }
            continue;
        }
        if (!more || !exclusionStep(chain, accountField, number, date, base, label)) break;
    }
}

bool excludeRecentAhead(ChainFiles& files, const std::string& account, const PostingDate& date, Money& base,
                        StepLabel& label) {
    struct LeftToPlanning {};
    try {
        if (valOf(account, custrec::lasttxrec) == 0) return true;
        if (fieldText(account, custrec::lasttxfile)[0] == '\0') return false;
        TransactionChain chain(files, account, [&date](const std::string& name) {
            if (sameName(name, date.monthFile)) throw LeftToPlanning{};
            return walkedMonth(name);
        });
        const std::string_view accountField = fieldText(account, custrec::acctno);
        const double number = val(accountField);
        for (;;) {
            label = Step::ChainNext;
            if (!chain.next() || !exclusionStep(chain, accountField, number, date, base, label)) return true;
        }
    } catch (...) {
        return false;
    }
}

AccountPlanning planAccount(std::string_view account, int32_t number, ChainFiles& files, const PlanTerms& terms,
                            StepLabel& label, const WalkNotice& notice, const WalkedBase* ahead) {
    AccountPlanning p;
    p.account.assign(account);
    // An account whose numbers cannot be handled is left as it is, and named on the report.
    double balance = 0, nointerest = 0;
    Money base;
    for (const auto& [field, name] :
         {std::pair{custrec::balance, "balance"}, std::pair{custrec::rating, "rating"},
          std::pair{custrec::lasttxrec, "lasttxrec"}, std::pair{custrec::nointerest, "no interest mark"}}) {
        try {
            const double v = val(fieldText(account, field));
            clng(v);
            if (field.offset == custrec::balance.offset) {
                base = Money::fromDouble(v);
                balance = v;
            }
            if (field.offset == custrec::nointerest.offset) nointerest = v;
        } catch (const RunError& e) {
            if (e.number() != err::Overflow) throw;
            p.spared = Spared::Unreadable;
            p.note =
                "its " + std::string(name) + " \"" + std::string(trim(fieldText(account, field))) + "\" cannot be read";
            return p;
        }
    }
    p.owes = balance > 0;
    // The layaway check walks the chain of every account owing more than 1.00.
    const bool layaway = balance > 1 && layawayFlag(files, p.account) == "Y";
    if (layaway && terms.skipLayaways) {
        p.spared = Spared::Layaway;
        return p;
    }
    if (nointerest > 0 || terms.rate == 0) {
        p.spared = balance == 0 ? Spared::NoBalance : nointerest > 0 ? Spared::Marked : Spared::RateZero;
        spare(p.account, false);
        return p;
    }
    if (!(balance > 0)) {
        p.spared = balance < 0 ? Spared::Credit : Spared::NoBalance;
        return p;
    }
    p.base = base;
    if (terms.firstmon) {
        if (ahead) {
            p.base = ahead->base;
            if (ahead->walked) label = ahead->label;
        } else {
            excludeRecent(files, p.account, terms.date, p.base, label, notice);
        }
    }
    if (p.base >= Money::fromTicks(Money::scale)) {
        if (std::binary_search(terms.sparedByHand.begin(), terms.sparedByHand.end(), number)) {
            p.spared = Spared::ByHand;
            p.account.assign(account);
        }
        return p;
    }
    p.spared = terms.firstmon && base >= Money::fromTicks(Money::scale) ? Spared::Recent : Spared::Small;
    spare(p.account, true);
    return p;
}

} // namespace interest
