#include "interest/account_files.h"
#include "interest/interest_window.h"
#include "platform/doubles/scripted_platform.h"
#include "tests/support/fault_env.h"
#include "tests/support/scripted_desk.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace common;
using namespace platform;
using namespace interest;
using namespace testsupport;

namespace {
std::string owing(int acct) {
    return accountRecord({.name1 = "NAME" + std::to_string(acct),
                          .lastFile = "1126",
                          .lastRec = std::to_string(acct),
                          .balance = "100",
                          .acctno = acct,
                          .rating = "1"});
}
void twoOwingAccounts() {
    putFile("cust.dat", owing(1) + owing(2));
    putFile("Cust.ptn", " 2\r\n");
    putFile("1126.dat", transactionRecord(1, "", "0", "Ring", "100.00", "11-2-26", "A") +
                            transactionRecord(2, "", "0", "Ring", "100.00", "11-2-26", "A"));
    putFile("1126.ptn", " 2\r\n");
}
} // namespace

// The copy of the report that cannot be written (a full disk, say), or not given its name (a share
// that refuses the rename), is told; the posting, made and recorded, stands; nothing half written
// is left, and no temporary name is given as the report's.
TEST(InterestWindowTest, AReportThatCannotBeKeptIsToldAndThePostingStands) {
    for (const bool renameRefused : {false, true}) {
        SCOPED_TRACE(renameRefused ? "rename refused" : "write failed");
        TempFolder tmp;
        twoOwingAccounts();
        FaultEnv faults;
        if (renameRefused) faults.failRenames("Interest report 12-8-26 posted 2026-12-08 0900.pdf.~new");
        else faults.failWrites("Interest report 12-8-26 posted 2026-12-08 0900.pdf.~new");
        ScriptSetup setup;
        setup.today = QDate(2026, 12, 8);
        ScriptedDesk desk(setup);
        InterestWindow w(desk.platform());
        w.load();
        w.findChild<QLineEdit*>("Percentage")->setText(".015");
        w.findChild<QLineEdit*>("MinFinance")->setText("1.00");
        w.findChild<QLineEdit*>("datebox")->setText("12-8-26");
        desk.scripted.queueMessageAnswer(Answer::Yes);
        try {
            w.postInterest();
        } catch (const ProgramEnded&) {
            // the program ends after the posting
        }
        const auto told = [&](const std::string& words) {
            return std::any_of(desk.lines.begin(), desk.lines.end(),
                               [&](const std::string& l) { return l.find(words) != std::string::npos; });
        };
        EXPECT_TRUE(told("The report could not be kept in the store's folder"));
        EXPECT_TRUE(told("Interest posted to 2 accounts"));
        EXPECT_TRUE(told("no copy of it could be kept"));
        EXPECT_NE(getFile("Interest record.txt").find("report not kept"), std::string::npos);
        for (const auto& e : std::filesystem::directory_iterator("."))
            EXPECT_FALSE(e.path().string().ends_with(".~new") || e.path().string().ends_with(".pdf")) << e.path();
        // A write that fails names the file it failed on; a refused rename never names the temporary.
        if (renameRefused) {
            EXPECT_FALSE(told(".~new"));
        }
    }
}

// While a posting runs, the removal cannot be started (it would find the account file held by
// the posting); after a posting refused at once it can again.
TEST(InterestWindowTest, RemovalIsOffWhileAPostingRuns) {
    TempFolder tmp;
    putFile("cust.dat", owing(1) + owing(2));
    putFile("Cust.ptn", " 2\r\n");
    putFile("1126.dat", transactionRecord(1, "", "0", "Ring", "100.00", "11-2-26", "A") +
                            transactionRecord(2, "", "0", "Ring", "100.00", "11-2-26", "A"));
    putFile("1126.ptn", " 2\r\n");
    ScriptSetup setup;
    setup.today = QDate(2026, 12, 8);
    InterestWindow* window = nullptr;
    std::vector<bool> removalOnWhilePrinting;
    Transcript transcript([&](const std::string& line) {
        if (window && line.rfind("print text", 0) == 0)
            removalOnWhilePrinting.push_back(window->findChild<QPushButton*>("remove")->isEnabled());
    });
    ScriptedPlatform scripted(setup, transcript);
    InterestWindow w(scripted.platform());
    window = &w;
    w.load();
    auto* remove = w.findChild<QPushButton*>("remove");
    w.findChild<QLineEdit*>("Percentage")->setText(".015");
    w.findChild<QLineEdit*>("MinFinance")->setText("1.00");
    w.findChild<QLineEdit*>("datebox")->setText("cu-8-st"); // refused before anything is written
    w.postInterest();
    EXPECT_TRUE(remove->isEnabled());
    w.findChild<QLineEdit*>("datebox")->setText("12-8-26");
    scripted.queueMessageAnswer(Answer::Yes); // the posting confirmed
    try {
        w.postInterest();
    } catch (const ProgramEnded&) {
        // the program ends after the posting
    }
    ASSERT_FALSE(removalOnWhilePrinting.empty());
    for (bool on : removalOnWhilePrinting) EXPECT_FALSE(on);
}
