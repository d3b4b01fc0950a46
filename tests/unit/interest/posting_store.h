#pragma once
// A small store for the tests of the posting and the removal against the store's files as they
// really are: three accounts, the main program selling between runs, the folder's bytes.
#include "common/fixed_field.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"
#include "interest/account_files.h"
#include "interest/posting_run.h"
#include "interest/use_cases/post_interest.h"
#include "tests/support/headless_host.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace testsupport {

struct Acct {
    std::string name1, name2, lastFile, lastRec, balance, phone;
    int acctno;
    std::string rating = "1", nointerest = "";
};

inline std::string accountBytes(const Acct& a) {
    // Bytes Interest does not own: 0x7f.
    return accountRecord(
        {a.name1, a.name2, a.lastFile, a.lastRec, a.balance, a.phone, a.acctno, a.rating, a.nointerest, '\x7f'});
}

inline std::string txBytes(int acct, const std::string& prevFile, const std::string& prevRec, const std::string& descr,
                           const std::string& amount, const std::string& date = "11-2-26",
                           const std::string& type = "A") {
    return transactionRecord(acct, prevFile, prevRec, descr, amount, date, type, "", '\x7e');
}

inline std::string recordOf(const std::string& file, int n, size_t len) {
    const std::string all = getFile(file);
    return n >= 1 && n * len <= all.size() ? all.substr((n - 1) * len, len) : std::string();
}

// The store's folder listing with every file's bytes.
inline std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator("."))
        if (e.is_regular_file()) files[e.path().filename().string()] = getFile(e.path().string());
    return files;
}

// The main program sells to an account: the sale goes after the month file's pointer, the
// pointer moves on, the account points at the sale and owes more.
inline void sell(int acct, const std::string& amount) {
    namespace custrec = interest::custrec;
    namespace transrec = interest::transrec;
    common::RecordFile cust("cust.dat", custrec::length);
    std::string a = cust.read(acct);
    const int pointer = interest::readPointer("1226.ptn") + 1;
    common::RecordFile("1226.dat", transrec::length)
        .write(pointer,
               txBytes(acct, std::string(common::fieldText(a, custrec::lasttxfile)),
                       std::string(common::trim(common::fieldText(a, custrec::lasttxrec))), "Sale", amount, "12-9-26"));
    common::writeLines("1226.ptn", {" " + std::to_string(pointer)});
    common::storeField(a, custrec::lasttxfile, "1226");
    common::storeField(a, custrec::lasttxrec, std::to_string(pointer));
    common::storeField(a, custrec::balance, "150");
    cust.write(acct, a);
}

class PostingSafetyTest : public ::testing::Test {
  protected:
    // Three accounts owing 100, each with one November charge; December holds two records.
    void SetUp() override {
        putFile("cust.dat", accountBytes({"DAVIS", "Di", "1126", "1", "100", "5550101", 1}) +
                                accountBytes({"ADAMS", "Ann", "1126", "2", "100", "5550102", 2}) +
                                accountBytes({"BAKER", "Bo", "1126", "3", "100", "5550103", 3}));
        putFile("Cust.ptn", " 3\r\n");
        putFile("1126.dat", txBytes(1, "", "0", "Ring", "100.00") + txBytes(2, "", "0", "Ring", "100.00") +
                                txBytes(3, "", "0", "Ring", "100.00"));
        putFile("1126.ptn", " 3\r\n");
        putFile("1226.dat", txBytes(9, "", "0", "Watch", "10.00", "12-1-26") +
                                txBytes(9, "1226", "1", "Watch", "10.00", "12-2-26"));
        putFile("1226.ptn", " 2\r\n");
    }
    // The run's outcome; none when an error stopped it (`failure` says what the user is told).
    std::optional<interest::PostingOutcome> post(const std::string& date = "12-8-26") {
        host = std::make_unique<HeadlessHost>(true);
        steplabel = interest::Step::None;
        interest::PostingRun run(
            interest::PostingInput{interest::postingDateOf(date), ".015", "1.00", false, false, false}, *host,
            steplabel);
        try {
            return run.run();
        } catch (const common::RunError& e) {
            failure = interest::postingFailureMessage(steplabel, e, run.lastDone()).toStdString();
            return std::nullopt;
        }
    }
    std::string account(int i) {
        return common::RecordFile("cust.dat", interest::custrec::length, common::Access::Read).read(i);
    }
    // Whether a line of the report holds this text.
    bool reported(const std::string& text) {
        for (const auto& l : host->report())
            if (l.find(text) != std::string::npos) return true;
        return false;
    }

    TempFolder tmp;
    std::unique_ptr<HeadlessHost> host;
    interest::StepLabel steplabel;
    std::string failure;
};

} // namespace testsupport
