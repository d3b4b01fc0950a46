#include "interest/account_charge.h"

#include "common/basic_number.h"
#include "common/format_picture.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_files.h"
#include "interest/posting_report.h"

#include <algorithm>

namespace interest {

using namespace common;

AccountCharge chargeAccount(const std::string& account, int32_t accountNo, Money base, int32_t record,
                            const ChargeTerms& terms) {
    AccountCharge c;
    Money charge = Money::fromDouble(base.toDouble() * terms.rate);
    if (charge.toDouble() < terms.minimum) charge = Money::fromDouble(terms.minimum);
    const std::string amount = formatPicture(charge, "#####.00");
    const std::string balance = generalFormat(val(fieldText(account, custrec::balance)) + val(amount));
    if (amount.size() > custrec::balance.width || balance.size() > custrec::balance.width) {
        // Cut to its field the amount would be wrong: the account stays as it is.
        c.account = account;
        c.reportLine = amount.size() > custrec::balance.width ? "too large: charge " + std::string(trim(amount))
                                                              : "too large: new balance " + balance;
        return c;
    }
    const int32_t rating = std::min<int32_t>(9, clng(val(fieldText(account, custrec::rating)) + 1));

    c.transaction.assign(transrec::length, ' ');
    std::string& t = c.transaction;
    storeField(t, transrec::acctno, trim(str(accountNo)));
    storeField(t, transrec::prevfile, fieldText(account, custrec::lasttxfile));
    storeField(t, transrec::prevrec, fieldText(account, custrec::lasttxrec));
    storeField(t, transrec::descr, terms.minimum == charge.toDouble() ? "Interest Minimum" : "Interest");
    storeField(t, transrec::amount, amount);
    storeField(t, transrec::txdate, trim(terms.datebox));
    storeField(t, transrec::txtype, "A");
    storeField(t, transrec::amount2, terms.wholesale ? "1 999999" : "");
    storeField(t, transrec::txrating, trim(str(rating)));

    c.account = account;
    storeField(c.account, custrec::lasttxfile, left(terms.monthFile, 4));
    storeField(c.account, custrec::rating, trim(str(rating)));
    storeField(c.account, custrec::lasttxrec, trim(str(record)));
    storeField(c.account, custrec::balance, balance);

    c.amount = Money::fromText(amount);
    c.charged = true;
    if (!terms.reportLine) return c;
    ChargeLine line;
    line.account = accountNo;
    line.name = accountNames(account);
    line.before = val(fieldText(account, custrec::balance));
    if (base < Money::fromDouble(line.before)) line.base = base;
    line.charge = amount;
    line.minimum = trim(fieldText(t, transrec::descr)) == "Interest Minimum";
    line.after = val(balance);
    c.reportLine = chargeLine(line, terms.withBase);
    return c;
}

} // namespace interest
