#pragma once
#include "common/money.h"

#include <cstdint>
#include <string>

namespace interest {

// The terms of one posting, as the charge of an account reads them.
struct ChargeTerms {
    double rate = 0;        // monthly rate
    double minimum = 0;     // minimum charge
    std::string datebox;    // posting date as typed
    std::string monthFile;  // the posting month file ("1298.dat")
    bool wholesale = false; // interest transactions carry "1 999999" in amount2
    bool withBase = false;  // the report shows the base where the last month's charges lowered it
    bool reportLine = true; // the charge's line of the report is made
};

// The interest of one account: the new transaction, the account as it will be, and the
// report line, when the terms ask for one. An amount or a balance too wide for its field charges
// nothing, and `reportLine` says why in words ("too large: new balance 101499.99").
struct AccountCharge {
    bool charged = false;
    std::string transaction, account, reportLine;
    common::Money amount;
};

// Charges `account` (record `accountNo` of "cust.dat") interest on `base`; the new transaction
// goes to record `record` of the month file.
AccountCharge chargeAccount(const std::string& account, int32_t accountNo, common::Money base, int32_t record,
                            const ChargeTerms& terms);

} // namespace interest
