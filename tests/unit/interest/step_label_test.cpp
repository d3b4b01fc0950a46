#include "interest/step_label.h"

#include <gtest/gtest.h>

using namespace interest;

// The labels are what the store reads out when a posting stops; each step keeps its own.
TEST(StepLabelTest, EachStepShowsItsLabel) {
    const std::pair<Step, const char*> rows[] = {
        {Step::None, ""},
        {Step::Backup, "HereA"},
        {Step::AccountCount, "HereB"},
        {Step::MonthPointer, "HereC"},
        {Step::Accounts, "HereD"},
        {Step::Transactions, "HereE"},
        {Step::MonthCount, "HereF"},
        {Step::ChainNext, "HereG2/"},
        {Step::ChainTransaction, "HereG33/"},
        {Step::ChainBack, "HereG4"},
        {Step::LastPosting, "HereH"},
        {Step::NotesWritten, "HereI"},
        {Step::NotesRead, "HereJ"},
        {Step::RemovalCount, "HereK"},
        {Step::RemovalAccounts, "HereL"},
        {Step::RemovalChain, "HereM"},
    };
    for (const auto& [step, text] : rows) {
        StepLabel label;
        label = step;
        EXPECT_EQ(label.text(), text);
    }
}

TEST(StepLabelTest, AChainStepNamesItsMonthFileUntilTheNextStep) {
    StepLabel label;
    label.at(Step::ChainTransaction, "1226.dat");
    EXPECT_EQ(label.text(), "HereG33/1226.dat");
    label = Step::ChainBack;
    EXPECT_EQ(label.text(), "HereG4");
    EXPECT_TRUE(label.file.empty());
}
