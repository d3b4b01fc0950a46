#include "interest/interest_removal.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_files.h"
#include "interest/posting_date.h"
#include "interest/transaction_chain.h"
#include "store/account_count.h"

#include <algorithm>
#include <functional>

namespace interest {

using namespace common;

namespace {
std::string digitsOf(std::string_view s) {
    std::string d;
    for (char c : s)
        if (c >= '0' && c <= '9') d += c;
    return d;
}
} // namespace

namespace {
// Which accounts a removal looks at: true for one to look at, counted in the result as it
// decides; `ask`: each charge found is offered before it is removed.
using Wanted = std::function<bool(const std::string& account, int32_t number, RemovalResult& result)>;

RemovalResult removeFrom(const Wanted& wanted, bool ask, EngineHost& host, StepLabel& steplabel,
                         const std::string& onlyDate, const ChargeRemoved& removed) {
    RemovalResult result;
    steplabel = Step::RemovalCount;
    const int32_t count = store::readAccountCount();
    steplabel = Step::RemovalAccounts;
    RecordFile cust("cust.dat", custrec::length);
    FolderChainFiles monthFiles;
    // The accounts are read by blocks; only the customer's are looked at further.
    constexpr int32_t block = 4096;
    std::string accounts;
    int32_t blockFirst = 0;
    for (int32_t i = 1; i <= count; ++i) {
        if (i >= blockFirst + block || blockFirst == 0) {
            blockFirst = i;
            accounts = cust.readRun(i, std::min(block, count - i + 1));
        }
        std::string c = accounts.substr(static_cast<size_t>(i - blockFirst) * custrec::length, custrec::length);
        if (!wanted(c, i, result)) continue;
        ++result.accounts;
        if (val(fieldText(c, custrec::lasttxrec)) == 0) continue; // no transactions: the next account
        host.setBusy(true);
        if (trim(fieldText(c, custrec::lasttxfile)).substr(0, 1) == std::string_view("\0", 1))
            throw RunError(err::NoFileNamed);
        TransactionChain chain(monthFiles, c);
        steplabel = Step::RemovalChain;
        bool changedThis = false;
        while (chain.next()) {
            std::string t(chain.transaction());
            // A chain that reaches another account's transaction has left this account.
            if (val(fieldText(t, transrec::acctno)) != val(fieldText(c, custrec::acctno))) break;
            if (trim(left(fieldText(t, transrec::descr), 8)) != "Interest") continue;
            if (!onlyDate.empty() && normalisePostingDate(std::string(trim(fieldText(t, transrec::txdate)))) !=
                                         normalisePostingDate(onlyDate))
                continue;
            const QString charge =
                QStringLiteral("Account %1: %2 %3, phone %4\rInterest charged on %5: %6 (%7)\r\rRemove this charge?")
                    .arg(i)
                    .arg(fromAnsi(std::string(trim(fieldText(c, custrec::name1)))),
                         fromAnsi(std::string(trim(fieldText(c, custrec::name2)))),
                         fromAnsi(std::string(trim(fieldText(c, custrec::phone)))),
                         fromAnsi(std::string(trim(fieldText(t, transrec::txdate)))),
                         fromAnsi(std::string(trim(fieldText(t, transrec::amount)))),
                         fromAnsi(std::string(trim(fieldText(t, transrec::descr)))));
            if (ask && !host.confirmRemoval(charge)) continue;
            const std::string balance = str(val(fieldText(c, custrec::balance)) - val(fieldText(t, transrec::amount)));
            if (balance.size() > custrec::balance.width) {
                host.notify(QStringLiteral("This charge was not removed: the new balance %1 does not fit the account.")
                                .arg(fromAnsi(balance)),
                            {}, Tone::Exclamation);
                continue;
            }
            // The charge is zeroed before the balance drops, so a stop in between never leaves
            // a lowered balance with the charge still standing.
            const Money amount = Money::fromDouble(val(fieldText(t, transrec::amount)));
            storeField(t, transrec::amount, "0.00");
            RecordFile(chain.file(), transrec::length).write(chain.record(), t);
            storeField(c, custrec::balance, balance);
            cust.write(i, c);
            ++result.removed;
            result.total = result.total + amount;
            if (removed)
                removed(RemovedCharge{i, accountNames(c), std::string(trim(fieldText(c, custrec::phone))),
                                      std::string(trim(fieldText(t, transrec::txdate))),
                                      std::string(trim(formatPicture(amount, "######0.00"))),
                                      std::string(trim(fieldText(t, transrec::descr)))});
            if (!changedThis) ++result.accountsChanged;
            changedThis = true;
        }
    }
    return result;
}
} // namespace

RemovalResult removeInterest(const std::string& phone, EngineHost& host, StepLabel& steplabel,
                             const std::string& onlyDate, const ChargeRemoved& removed) {
    const std::string digits = digitsOf(phone);
    const auto samePhone = [&](const std::string& c, int32_t i, RemovalResult& result) {
        if (trim(fieldText(c, custrec::phone)) == phone) return true;
        if (!digits.empty() && digitsOf(fieldText(c, custrec::phone)) == digits)
            result.sameDigits.push_back(PhoneMatch{i, std::string(trim(fieldText(c, custrec::phone))),
                                                   std::string(trim(fieldText(c, custrec::name2))) + " " +
                                                       std::string(trim(fieldText(c, custrec::name1)))});
        return false;
    };
    RemovalResult result = removeFrom(samePhone, true, host, steplabel, onlyDate, removed);
    if (result.accounts > 0) result.sameDigits.clear();
    return result;
}

PhoneSearch findPhone(const std::string& phone, StepLabel& steplabel) {
    const std::string digits = digitsOf(phone);
    PhoneSearch found;
    steplabel = Step::RemovalCount;
    const int32_t count = store::readAccountCount();
    steplabel = Step::RemovalAccounts;
    RecordFile cust("cust.dat", custrec::length, Access::Read);
    constexpr int32_t block = 4096;
    for (int32_t first = 1; first <= count; first += block) {
        const int32_t n = std::min(block, count - first + 1);
        const std::string accounts = cust.readRun(first, n);
        for (int32_t k = 0; k < n; ++k) {
            const std::string_view c =
                std::string_view(accounts).substr(static_cast<size_t>(k) * custrec::length, custrec::length);
            const std::string_view at = trim(fieldText(c, custrec::phone));
            if (at == phone) ++found.accounts;
            else if (!digits.empty() && digitsOf(at) == digits)
                found.sameDigits.push_back(PhoneMatch{first + k, std::string(at),
                                                      std::string(trim(fieldText(c, custrec::name2))) + " " +
                                                          std::string(trim(fieldText(c, custrec::name1)))});
        }
    }
    if (found.accounts > 0) found.sameDigits.clear();
    return found;
}

RemovalResult removePostingCharges(const std::string& date, EngineHost& host, StepLabel& steplabel,
                                   const ChargeRemoved& removed) {
    return removeFrom([](const std::string&, int32_t, RemovalResult&) { return true; }, false, host, steplabel, date,
                      removed);
}

} // namespace interest
