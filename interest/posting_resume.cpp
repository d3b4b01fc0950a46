#include "interest/posting_resume.h"

namespace interest {

Resumption judgeStoppedBlock(const JournalBlock& pending, const std::function<std::string(int32_t)>& current,
                             const std::function<bool(const std::string&, int32_t, const std::string&)>& chainHolds) {
    Resumption r;
    for (const JournalAccount& a : pending.accounts) {
        const std::string now = current(a.account);
        ResumeDecision& d = r.decisions[a.account];
        if (recordHash(now) == a.beforeHash && !pending.singleAccount) {
            d = ResumeDecision::Plan;
            if (a.record > 0) r.preferred[a.account] = {a.record, a.transaction};
        } else if (pending.singleAccount && now == pending.before) {
            d = ResumeDecision::Plan;
        } else if (now == a.after) {
            d = ResumeDecision::Done;
            if (a.record > 0) r.written.push_back(a);
        } else if (a.record > 0 && chainHolds(now, a.record, a.transaction)) {
            d = ResumeDecision::Done; // the charge is in; the main program built on it
        } else if (a.record > 0 && !chainHolds(now, a.record, std::string())) {
            d = ResumeDecision::Plan; // the charge never reached it
        } else {
            d = ResumeDecision::CheckByHand;
        }
    }
    return r;
}

} // namespace interest
