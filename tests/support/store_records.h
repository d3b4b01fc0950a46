#pragma once
#include "common/fixed_field.h"
#include "store/account_record.h"
#include "store/transaction_record.h"

#include <string>

namespace testsupport {

// An account of "cust.dat" with the fields a test gives; every other byte is `filler` (bytes of
// the main program's fields, which the programs must carry through).
struct Account {
    std::string name1{}, name2{}, lastFile{}, lastRec{}, balance{}, phone{};
    int acctno = 0;
    std::string rating{}, nointerest{};
    char filler = ' ';
};

inline std::string accountRecord(const Account& a) {
    namespace account = store::account;
    std::string r(account::length, a.filler);
    common::storeField(r, account::name1, a.name1);
    common::storeField(r, account::name2, a.name2);
    common::storeField(r, account::lasttxfile, a.lastFile);
    common::storeField(r, account::lasttxrec, a.lastRec);
    common::storeField(r, account::balance, a.balance);
    common::storeField(r, account::phone, a.phone);
    common::storeField(r, account::acctno, std::to_string(a.acctno));
    common::storeField(r, account::rating, a.rating);
    common::storeField(r, account::nointerest, a.nointerest);
    return r;
}

// Account 7 of Maria DIAZ, rated 1, whose chain of transactions starts at `lastRec` of the month
// file `lastFile`.
inline std::string diazAccount(const std::string& lastFile, const std::string& lastRec,
                               const std::string& balance = "100") {
    return accountRecord({.name1 = "DIAZ",
                          .name2 = "Maria",
                          .lastFile = lastFile,
                          .lastRec = lastRec,
                          .balance = balance,
                          .acctno = 7,
                          .rating = "1"});
}

// A transaction of a month file as the main program writes one; the bytes of the fields the
// posting does not use are `filler`.
inline std::string transactionRecord(int acct, const std::string& prevFile, const std::string& prevRec,
                                     const std::string& descr, const std::string& amount, const std::string& date,
                                     const std::string& type, const std::string& amount2 = "", char filler = ' ') {
    std::string t(store::transaction::length, filler);
    namespace transrec = store::transaction;
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
