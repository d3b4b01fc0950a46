#pragma once
#include "common/money.h"
#include "interest/posting_date.h"
#include "interest/step_label.h"
#include "interest/transaction_chain.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace interest {

// What decides an account's interest, apart from the charge itself.
struct PlanTerms {
    PostingDate date;
    double rate = 0;           // monthly rate
    bool skipLayaways = false; // layaways are not charged
    bool firstmon = false;     // charges of the last month are left out of the base
    // Accounts taken out of this posting by hand (in its preview), in order: left as they are.
    std::vector<int32_t> sparedByHand{};
};

// Why an account is not charged.
enum class Spared : std::uint8_t {
    No,
    Unreadable,
    Layaway,
    NoBalance,
    Credit,
    Marked,
    RateZero,
    Recent,
    Small,
    ByHand
};

// What the posting does with one account: charge it on `base`, or spare it for a reason.
struct AccountPlanning {
    Spared spared = Spared::No;
    common::Money base;
    bool owes = false;   // its balance is above nothing
    std::string account; // the account as the posting leaves it, its charge not yet added
    std::string note;    // for an account that cannot be handled, why in words
};

// The exclusion walk of an account made beforehand (on another thread): its base and the step
// where the walk left the label.
struct WalkedBase {
    common::Money base;
    StepLabel label;
    bool walked = false;
};

// A message about a month file the walk cannot read for now; the walk then tries again.
using WalkNotice = std::function<void(const std::string& message)>;

// Plans one account (record `number` of "cust.dat") from its bytes and its chain: the case of
// its charge, the layaway check, the count-down of a no-interest mark, the rating, and with the
// exclusion the base less the charges of the last month. An account it would charge that is
// spared by hand is left as it is, as one without a balance this month. The step is kept in
// `label`; a walk made beforehand is taken from `ahead`.
AccountPlanning planAccount(std::string_view account, int32_t number, ChainFiles& files, const PlanTerms& terms,
                            StepLabel& label, const WalkNotice& notice, const WalkedBase* ahead = nullptr);

// The newest regular charge or layaway transaction of the account's chain: "Y" a layaway,
// "N" a charge, "" neither.
std::string layawayFlag(ChainFiles& files, const std::string& account);

// Takes the charges of this month, and of last month after the posting day, out of `base`.
// A month file held by another computer is told through `notice` and read again; any other
// failure stops the walk with its error. An account that has transactions and names no month
// file is a run-time error (err::NoFileNamed).
void excludeRecent(ChainFiles& files, const std::string& account, const PostingDate& date, common::Money& base,
                   StepLabel& label, const WalkNotice& notice);

// The same walk made ahead, on files of its own: false when it meets anything out of the
// ordinary (a read that fails, a number beyond range, no file named, the posting month file,
// which the run writes), left to the planning, which knows what to do with it.
bool excludeRecentAhead(ChainFiles& files, const std::string& account, const PostingDate& date, common::Money& base,
                        StepLabel& label);

} // namespace interest
