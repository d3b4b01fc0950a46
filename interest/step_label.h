#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace interest {

// The steps of Interest's work that an error message names. The store reports a failure by the
// label the message shows ("HereD"), so each step keeps its label.
enum class Step : std::uint8_t {
    None,             // nothing under way: ""
    Backup,           // "HereA": the copy for an undo and the last posting, before the first write
    AccountCount,     // "HereB": Cust.ptn read
    MonthPointer,     // "HereC": the month's pointer file opened
    Accounts,         // "HereD": cust.dat read and written
    Transactions,     // "HereE": the month file's transactions written
    MonthCount,       // "HereF": the month's pointer set
    ChainNext,        // "HereG2/": the next transaction of an account's chain read
    ChainTransaction, // "HereG33/" and its month file: a transaction of the chain looked at
    ChainBack,        // "HereG4": where the chain goes back to
    LastPosting,      // "HereH": lastpost.dat read
    NotesWritten,     // "HereI": COLNOTES.dat written
    NotesRead,        // "HereJ": COLNOTES.dat read
    RemovalCount,     // "HereK": Cust.ptn read for a removal
    RemovalAccounts,  // "HereL": cust.dat opened for a removal
    RemovalChain,     // "HereM": the customer's chain walked for a removal
};

// The step the program is at, with the month file of a chain step.
struct StepLabel {
    Step step = Step::None;
    std::string file;

    StepLabel& operator=(Step s) {
        step = s;
        file.clear();
        return *this;
    }
    void at(Step s, std::string_view monthFile) {
        step = s;
        file.assign(monthFile);
    }
    // The label the user sees: "HereD", "HereG33/1226.dat".
    std::string text() const;
};

} // namespace interest
