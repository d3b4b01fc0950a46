#include "interest/posting_record.h"

#include "common/env.h"
#include "common/file_names.h"
#include "common/run_error.h"

#include <chrono>
#include <thread>

namespace interest {

using namespace common;

namespace {
std::string field(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

std::unique_ptr<EnvFile> openRecord() {
    // Another computer adds its lines in a moment; a record held longer is an error told.
    for (int tries = 0;; ++tries) {
        try {
            return Env::current().open(resolveName(recordFileName), true, FileLock::Exclusive, recordFileName);
        } catch (const RunError& e) {
            if (e.number() != err::PermissionDenied || tries >= 20) throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
}
} // namespace

std::string recordHeading() {
    return "When\tWho\tWhat\tPosting date\tMonthly rate\tAccounts charged\tAmount\tAccount\tNames\tPhone\tCharge "
           "date\tNote";
}

std::string recordText(const std::string& when, const std::string& who, const RecordLine& l) {
    std::string line = field(when);
    for (const std::string* f : {&who, &l.what, &l.posting, &l.rate, &l.accounts, &l.amount, &l.account, &l.names,
                                 &l.phone, &l.chargeDate, &l.note})
        line += '\t' + field(*f);
    return line;
}

void appendToRecord(const std::string& when, const std::vector<RecordLine>& lines) {
    if (lines.empty()) return;
    const std::string who = Env::current().whoIsHere();
    std::unique_ptr<EnvFile> file = openRecord();
    const int64_t size = file->size();
    std::string bytes;
    if (size == 0) bytes = recordHeading() + "\r\n";
    char last = '\n';
    if (size > 0 && file->readAt(size - 1, &last, 1) == 1 && last != '\n') bytes = "\r\n"; // a line cut short by a stop
    for (const RecordLine& l : lines) bytes += recordText(when, who, l) + "\r\n";
    file->writeAt(size, bytes);
    file->syncData();
}

} // namespace interest
