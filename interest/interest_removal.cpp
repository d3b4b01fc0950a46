#include "interest/interest_removal.h"
#include "common/trim_left_right_mid.h"

#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "interest/account_files.h"

#include <set>

namespace interest {

using namespace common;
using namespace platform;

int removeInterest(const std::string& phone, Platform& p, std::string& steplabel) {
    steplabel = "HereK";
    const int32_t count = clng(val(TextReader("Cust.ptn").readField()));
    steplabel = "HereL";
    RecordFile cust("cust.dat", custrec::length);
    int removed = 0;
    for (int32_t i = 1; i <= count; ++i) {
        std::string c = cust.read(i);
        if (trim(fieldText(c, custrec::phone)) != phone) continue;
        if (val(fieldText(c, custrec::lasttxrec)) == 0) continue; // no transactions: the next account
        std::string file = std::string(trim(fieldText(c, custrec::lasttxfile))) + ".dat";
        p.screen.setHourglass(true);
        if (file[0] == '\0') nothingDesignated(p);
        int32_t r = clng(val(fieldText(c, custrec::lasttxrec)));
        std::set<std::pair<std::string, int32_t>> seen; // a chain that loops is walked once
        while (r > 0 && file.find('\0') == std::string::npos && fileExists(file) &&
               seen.insert({resolveName(file), r}).second) {
            steplabel = "HereM";
            RecordFile month(file, transrec::length);
            std::string t = month.read(r);
            if (trim(left(fieldText(t, transrec::descr), 8)) == "Interest") {
                const QString question =
                    fromAnsi(fieldOf(c, custrec::name1) + " " + fieldOf(t, transrec::txdate) + " " +
                             fieldOf(t, transrec::descr) + " " + fieldOf(t, transrec::amount));
                if (p.messages.show(question, QStringLiteral("Remove this interest charge?"), Buttons::YesNo) ==
                    Answer::Yes) {
                    const std::string balance =
                        str(val(fieldText(c, custrec::balance)) - val(fieldText(t, transrec::amount)));
                    if (balance.size() > custrec::balance.width) {
                        p.messages.show(QStringLiteral("This charge was not removed: the new balance %1 does not fit "
                                                       "the account.")
                                            .arg(fromAnsi(balance)),
                                        {}, Buttons::Ok, Icon::Exclamation);
                    } else {
                        // The charge is zeroed before the balance drops, so a stop in between
                        // never leaves a lowered balance with the charge still standing.
                        storeField(t, transrec::amount, "0.00");
                        month.write(r, t);
                        storeField(c, custrec::balance, balance);
                        cust.write(i, c);
                        ++removed;
                    }
                }
            }
            r = clng(val(fieldText(t, transrec::prevrec)));
            file = std::string(trim(fieldText(t, transrec::prevfile))) + ".dat";
        }
    }
    return removed;
}

} // namespace interest
