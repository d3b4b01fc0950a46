#include "interest/use_cases/record_keeper.h"

#include "common/cp1252.h"
#include "common/run_error.h"
#include "interest/use_cases/post_interest.h"

#include <QDir>
#include <QStringList>

namespace interest {

using namespace common;
using namespace platform;

RecordLine removalRecord(const RemovedCharge& c, const std::string& posting, const std::string& note) {
    return RecordLine{
        "charge removed",          posting, {},      {},     c.amount,
        std::to_string(c.account), c.names, c.phone, c.date, note.empty() ? c.descr : c.descr + "; " + note};
}

RecordKeeper::RecordKeeper(Platform& p, QString what) : p_(p), what_(std::move(what)) {}

void RecordKeeper::add(const RecordLine& line) {
    // Each charge is in the record as soon as it is removed; once the record cannot be written,
    // the rest are told at the end instead, for a person to enter.
    if (failed_.empty()) {
        try {
            appendToRecord(recordTime(p_.clock), {line});
            ++recorded_;
            return;
        } catch (const RunError& e) {
            trouble_ = troubleOf(e);
        }
    }
    failed_.push_back(line);
}

QString RecordKeeper::told() const {
    const QString where = QDir::toNativeSeparators(QDir::current().absoluteFilePath(recordFileName));
    if (failed_.empty())
        return recorded_ == 0 ? QString() : QStringLiteral(" Each is entered in the store's record, %1.").arg(where);
    QStringList lines;
    for (const RecordLine& l : failed_)
        lines << QStringLiteral("account %1 %2, %3 of %4")
                     .arg(fromAnsi(l.account), fromAnsi(l.names), fromAnsi(l.amount), fromAnsi(l.chargeDate));
    return QStringLiteral("\r\r%1 could not be entered in the record %2 (%3); enter them there by hand: %4.")
        .arg(what_, where, trouble_, lines.join(QStringLiteral("; ")));
}

} // namespace interest
