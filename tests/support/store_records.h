#pragma once
#include "common/fixed_field.h"
#include "interest/account_files.h"

#include <string>

namespace testsupport {

// A transaction of a month file as the main program writes one; the bytes of the fields the
// posting does not use are `filler`.
inline std::string transactionRecord(int acct, const std::string& prevFile, const std::string& prevRec,
                                     const std::string& descr, const std::string& amount, const std::string& date,
                                     const std::string& type, const std::string& amount2 = "", char filler = ' ') {
    std::string t(interest::transrec::length, filler);
    using namespace interest;
    common::storeField(t, transrec::acctno, std::to_string(acct));
    common::storeField(t, transrec::prevfile, prevFile);
    common::storeField(t, transrec::prevrec, prevRec);
    common::storeField(t, transrec::descr, descr);
    common::storeField(t, transrec::amount, amount);
    common::storeField(t, transrec::txdate, date);
    common::storeField(t, transrec::txtype, type);
    common::storeField(t, transrec::amount2, amount2);
    return t;
}

} // namespace testsupport
