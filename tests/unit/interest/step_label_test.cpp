#include "interest/step_label.h"
#include "interest/use_cases/post_interest.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace interest;

namespace {
// Every step, from None to the last of the removal.
std::vector<Step> allSteps() {
    std::vector<Step> steps;
    for (int i = 0; i <= static_cast<int>(Step::RemovalChain); ++i) steps.push_back(static_cast<Step>(i));
    return steps;
}

std::string labelOf(Step step) {
    StepLabel label;
    label = step;
    return label.text();
}
} // namespace

// The store's support tells the steps apart by their labels: each step under way has a label of
// its own, and nothing under way shows none.
TEST(StepLabelTest, EveryStepUnderWayHasALabelOfItsOwn) {
    EXPECT_EQ(labelOf(Step::None), "");
    std::set<std::string> seen;
    for (Step step : allSteps()) {
        if (step == Step::None) continue;
        const std::string text = labelOf(step);
        EXPECT_EQ(text.rfind("Here", 0), 0u) << text;
        EXPECT_GT(text.size(), 4u) << text;
        EXPECT_TRUE(seen.insert(text).second) << "two steps show " << text;
    }
    EXPECT_EQ(seen.size(), allSteps().size() - 1);
}

TEST(StepLabelTest, AChainStepNamesItsMonthFileUntilTheNextStep) {
    StepLabel label;
    label.at(Step::ChainTransaction, "1226.dat");
    EXPECT_EQ(label.text(), labelOf(Step::ChainTransaction) + "1226.dat");
    EXPECT_EQ(label.text(), "HereG33/1226.dat");
    label.at(Step::ChainTransaction, "1-05.dat");
    EXPECT_EQ(label.text(), "HereG33/1-05.dat");
    label = Step::ChainBack;
    EXPECT_EQ(label.text(), "HereG4");
    EXPECT_TRUE(label.file.empty());
}

// Only the look at a chain's transaction names a month file; the other steps name their files in
// the message that follows the label.
TEST(StepLabelTest, OnlyAChainTransactionCarriesItsMonthFile) {
    for (Step step : allSteps()) {
        if (step == Step::ChainTransaction) continue;
        StepLabel label;
        label.at(step, "1226.dat");
        EXPECT_EQ(label.text(), labelOf(step));
        EXPECT_EQ(label.text().find("1226"), std::string::npos) << label.text();
    }
}

// A stopped run's message starts with the label of the step it stopped at, on a line of its own.
TEST(StepLabelTest, AFailureMessageStartsWithTheStepsLabel) {
    StepLabel label;
    label.at(Step::ChainTransaction, "1126.dat");
    const common::RunError held(common::err::PermissionDenied, "1126.dat", common::FileTrouble::HeldElsewhere);
    EXPECT_EQ(postingFailureMessage(label, held, 0).toStdString().rfind("HereG33/1126.dat\r", 0), 0u);
    label = Step::Accounts;
    const std::string text = postingFailureMessage(label, held, 12).toStdString();
    EXPECT_EQ(text.rfind("HereD\r", 0), 0u) << text;
    EXPECT_NE(text.find("account 12"), std::string::npos) << text;
}
