#pragma once
#include "common/fixed_field.h"

namespace demo {

// The suite's account and transaction records as the demo store and the stand-in main
// program use them; the fields Interest reads are where Interest reads them.
namespace cust {
constexpr size_t length = 222;
inline constexpr auto f =
    common::layoutFields<22>({20, 25, 24, 1, 20, 2, 10, 4, 8, 8, 8, 12, 12, 6, 8, 5, 8, 4, 2, 5, 24, 6});
inline constexpr common::Field name1 = f[0], name2 = f[1], street = f[2], initial = f[3], city = f[4], state = f[5],
                               zip = f[6], lasttxfile = f[7], lasttxrec = f[8], balance = f[9], creditLimit = f[10],
                               phone = f[11], workPhone = f[12], opened = f[13], acctno = f[15], rating = f[17],
                               nointerest = f[18];
} // namespace cust

namespace trans {
constexpr size_t length = 94;
inline constexpr auto f = common::layoutFields<16>({5, 4, 8, 3, 5, 24, 8, 3, 8, 1, 8, 1, 8, 5, 1, 2});
inline constexpr common::Field acctno = f[0], prevfile = f[1], prevrec = f[2], clerk = f[3], invoice = f[4],
                               descr = f[5], amount = f[6], txdate = f[8], txtype = f[9], amount2 = f[10],
                               txrating = f[11];
} // namespace trans

} // namespace demo
