#pragma once
#include "tests/walker/walker_core.h"

#include <vector>

namespace walker {

// Writes a small store Interest opens on: five accounts (owing, nothing owed, marked for no
// interest, a layaway, one charged this month), last month's and this month's files with their
// counts, and a posting of last month.
void writeInterestStore();

// The walks over Interest's window, and what must hold after every step:
// - no run-time error is shown, and the window is always usable again: never left in its
//   posting state, its close button in sight;
// - nothing of the store's is written that was not confirmed: the accounts, the month files and
//   their counts, the last posting, the undo copies and the reports only in a step where a
//   posting, an undo or a removal was answered Yes; the notes only when their list was used or
//   saving them was answered Yes; the layaway flag only from its box; the highest rate only as
//   its box holds it, and only a number or nothing;
// - the record of postings, undos and removals only grows, and only in a step where one was
//   answered Yes, by a line of each that was done;
// - an account spared by hand in the preview is left byte for byte as it was by the posting;
// - no journal and no temporary is left after a step;
// - an undo that says it was done puts the accounts, the month files, their counts and the last
//   posting back byte for byte as they were before the posting it undid.
class InterestModel : public WalkModel {
  public:
    QString windowName() const override { return QStringLiteral("interest"); }
    void prepareStore() override { writeInterestStore(); }
    QStringList setupLines() const override { return {QStringLiteral("today 12-09-2026")}; }

    std::optional<QString> opened(platform::FormWindow& window, const QStringList& transcript) override;
    void beforeStep(const Step& step, platform::FormWindow& window) override;
    std::optional<QString> afterStep(const StepRun& run, platform::FormWindow& window) override;
    std::optional<QString> atEnd(bool programEnded, const StepRun* last, platform::FormWindow& window) override;

    double weight(const QString& control) const override;
    QStringList texts(QWidget* control, bool area, bool append) const override;
    QStringList inputTexts() const override;

  private:
    FolderSnapshot files_;
    QByteArray accountsBefore_, recordBefore_;   // "cust.dat" and the record before the step
    std::vector<FolderSnapshot> beforePostings_; // the store before each posting not undone
};

} // namespace walker
