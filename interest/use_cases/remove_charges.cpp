#include "interest/use_cases/remove_charges.h"

#include "common/cp1252.h"
#include "common/format_picture.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "interest/interest_removal.h"
#include "interest/use_cases/counted.h"
#include "interest/use_cases/post_interest.h"
#include "interest/use_cases/window_host.h"

namespace interest {

using namespace common;
using namespace platform;

namespace {
RemovalResult removeFrom(Platform& p, const std::string& phone, EngineHost& host, const std::string& onlyDate) {
    StepLabel steplabel;
    try {
        return removeInterest(phone, host, steplabel, onlyDate);
    } catch (const RunError& e) {
        if (e.number() == err::NoFileNamed) nothingDesignated(p);
        throw;
    }
}
} // namespace

void removeCharges(Platform& p, const std::optional<std::string>& lastPosted) {
    const QString phone = p.input.ask(QStringLiteral("Phone number of customer to remove interest"));
    p.screen.doEvents();
    if (phone.isEmpty()) return; // Cancel, or nothing typed: nothing to look for
    // Which charges: the last posting's (the default), or every one the account has.
    std::string onlyDate;
    if (lastPosted && !lastPosted->empty()) {
        switch (p.messages.show(QStringLiteral("Which interest charges of %1?\r\rYes: only the charge of the last "
                                               "posting, %2.\rNo: every interest charge, month by month.")
                                    .arg(phone, fromAnsi(*lastPosted)),
                                QStringLiteral("Remove interest"), Buttons::YesNoCancel, Icon::Question, Answer::Yes)) {
        case Answer::Yes: onlyDate = *lastPosted; break;
        case Answer::No: break;
        default: return;
        }
    }
    WindowHost host(p);
    RemovalResult result = removeFrom(p, toAnsi(phone), host, onlyDate);
    if (result.accounts == 0) {
        p.screen.setHourglass(false);
        const QString none = QStringLiteral("No account has the phone number %1.").arg(phone);
        if (result.sameDigits.size() != 1) {
            p.messages.show(none, {}, Buttons::Ok, Icon::Information);
            return;
        }
        // The same digits written another way: that account is offered.
        const PhoneMatch& m = result.sameDigits.front();
        if (p.messages.show(none + QStringLiteral(" Account %1 (%2) has the phone number %3. Remove its interest?")
                                       .arg(m.account)
                                       .arg(fromAnsi(m.name), fromAnsi(m.phone)),
                            {}, Buttons::YesNo, Icon::Question) != Answer::Yes)
            return;
        result = removeFrom(p, m.phone, host, onlyDate);
    }
    p.screen.setHourglass(false);
    if (result.removed == 0) {
        p.messages.show(QStringLiteral("No interest charge was removed."));
        return;
    }
    p.messages.show(QStringLiteral("Removed %1 interest %2, %3 in all, from %4.")
                        .arg(result.removed)
                        .arg(result.removed == 1 ? QStringLiteral("charge") : QStringLiteral("charges"),
                             fromAnsi(trim(formatPicture(result.total, "######0.00"))),
                             counted(result.accountsChanged, QStringLiteral("account"))));
}

} // namespace interest
