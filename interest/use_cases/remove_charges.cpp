#include "interest/use_cases/remove_charges.h"

#include "common/cp1252.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "interest/interest_removal.h"
#include "interest/use_cases/counted.h"
#include "interest/use_cases/post_interest.h"
#include "interest/use_cases/record_keeper.h"
#include "interest/use_cases/window_host.h"

namespace interest {

using namespace common;
using namespace platform;

namespace {
RemovalResult removeFrom(Platform& p, const std::string& phone, EngineHost& host, const std::string& onlyDate,
                         const ChargeRemoved& removed) {
    StepLabel steplabel;
    try {
        return removeInterest(phone, host, steplabel, onlyDate, removed);
    } catch (const RunError& e) {
        if (e.number() == err::NoFileNamed) nothingDesignated(p);
        throw;
    }
}
} // namespace

void removeCharges(Platform& p, const std::optional<std::string>& lastPosted) {
    const QString phone = p.input.ask(QStringLiteral("Phone number of customer to remove interest"));
    p.screen.doEvents();
    if (phone.trimmed().isEmpty()) {
        p.messages.show(QStringLiteral("No phone number was given: no account was looked for."), {}, Buttons::Ok,
                        Icon::Information);
        return;
    }
    // The customer first: whose charges, before which of them.
    StepLabel steplabel;
    std::string target = toAnsi(phone);
    const PhoneSearch found = findPhone(target, steplabel);
    if (found.accounts == 0) {
        const QString none = QStringLiteral("No account has the phone number %1.").arg(phone);
        if (found.sameDigits.size() != 1) {
            p.messages.show(none, {}, Buttons::Ok, Icon::Information);
            return;
        }
        // The same digits written another way: that account is offered.
        const PhoneMatch& m = found.sameDigits.front();
        if (p.messages.show(none + QStringLiteral(" Account %1 (%2) has the phone number %3. Remove its interest?")
                                       .arg(m.account)
                                       .arg(fromAnsi(m.name), fromAnsi(m.phone)),
                            {}, Buttons::YesNo, Icon::Question) != Answer::Yes)
            return;
        target = m.phone;
    }
    // Which charges: the last posting's (the default), or every one the account has.
    std::string onlyDate;
    if (lastPosted && !lastPosted->empty()) {
        switch (p.messages.show(QStringLiteral("Which interest charges of %1?\r\rYes: only the charge of the last "
                                               "posting, %2.\rNo: every interest charge, month by month.")
                                    .arg(fromAnsi(target), fromAnsi(*lastPosted)),
                                QStringLiteral("Remove interest"), Buttons::YesNoCancel, Icon::Question, Answer::Yes)) {
        case Answer::Yes: onlyDate = *lastPosted; break;
        case Answer::No: break;
        default: return;
        }
    }
    WindowHost host(p);
    RecordKeeper record(p, QStringLiteral("These removals"));
    const RemovalResult result = removeFrom(p, target, host, onlyDate, [&](const RemovedCharge& c) {
        record.add(removalRecord(c, onlyDate, "removed on request"));
    });
    p.screen.setHourglass(false);
    if (result.removed == 0) {
        p.messages.show(QStringLiteral("No interest charge was removed."));
        return;
    }
    p.messages.show(QStringLiteral("Removed %1 interest %2, %3 in all, from %4.%5")
                        .arg(result.removed)
                        .arg(result.removed == 1 ? QStringLiteral("charge") : QStringLiteral("charges"),
                             fromAnsi(trim(formatPicture(result.total, "######0.00"))),
                             counted(result.accountsChanged, QStringLiteral("account")), record.told()));
}

} // namespace interest
