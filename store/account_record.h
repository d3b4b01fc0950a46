#pragma once
#include "common/fixed_field.h"

// An account of the suite's "cust.dat": 222 bytes, laid out here once for every program of the
// house. Fields a program does not use are carried through byte for byte.
namespace store::account {

constexpr size_t length = 222;
inline constexpr auto fields =
    common::layoutFields<22>({20, 25, 24, 1, 20, 2, 10, 4, 8, 8, 8, 12, 12, 6, 8, 5, 8, 4, 2, 5, 24, 6});
inline constexpr common::Field name1 = fields[0], name2 = fields[1], street = fields[2], initial = fields[3],
                               city = fields[4], state = fields[5], zip = fields[6], lasttxfile = fields[7],
                               lasttxrec = fields[8], balance = fields[9], creditLimit = fields[10], phone = fields[11],
                               workPhone = fields[12], opened = fields[13], acctno = fields[15], rating = fields[17],
                               nointerest = fields[18];

} // namespace store::account
