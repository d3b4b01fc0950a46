#pragma once
#include "appraise/worksheet/item_stone_records.h"
#include "tests/walker/walker_core.h"

#include <array>
#include <map>
#include <set>
#include <vector>

namespace walker {

// Writes the store Appraise starts in without complaint into the current folder: the default
// alignment "align.fa1", "bordsize.dat", a small logo, a main program it can find, and the
// hand-over of customer 12, Ann Smith. Every text file has CR LF lines.
void writeAppraiseStore();

// The walks over Appraise's worksheet, and what must hold after every step:
// - no run-time error is shown;
// - the stored items and stones change only when an item is ended and the program takes it
//   (never when "Replace it?" is answered No);
// - nothing is written that was not asked for: appraisals only by a Save, the item log only when
//   an item is ended, the export's files only by the export, settings only from their boxes;
// - every saved appraisal's replacement values and carat weights are figures entered;
// - at the end, every item ended is saved or was named by the question before leaving, and an
//   item in progress on the screen was asked about.
class WorksheetModel : public WalkModel {
  public:
    QString windowName() const override { return QStringLiteral("worksheet"); }
    void prepareStore() override { writeAppraiseStore(); }
    QStringList setupLines() const override { return {QStringLiteral("today 12-07-2026")}; }

    std::optional<QString> opened(platform::FormWindow& window, const QStringList& transcript) override;
    void beforeStep(const Step& step, platform::FormWindow& window) override;
    std::optional<QString> afterStep(const StepRun& run, platform::FormWindow& window) override;
    std::optional<QString> atEnd(bool programEnded, const StepRun* last, platform::FormWindow& window) override;

    double weight(const QString& control) const override;
    QStringList texts(QWidget* control, bool area, bool append) const override;
    bool allows(const Step& step, platform::FormWindow& window) const override;

  private:
    struct Save {
        int step;
        QString path;
        QString text;
    };
    std::optional<QString> checkTables(const StepRun& run, const appraise::WorksheetTables& now,
                                       const std::vector<Box>& boxes);
    std::optional<QString> checkFiles(const StepRun& run, const appraise::WorksheetTables& now,
                                      const std::vector<Box>& boxes);
    std::optional<QString> checkFigures(const QString& path, const QString& text,
                                        const appraise::WorksheetTables& now) const;
    bool savedSince(int slot, const appraise::WorksheetTables& now) const;

    appraise::WorksheetTables start_, before_;
    FolderSnapshot files_;
    std::map<QString, QStringList> settings_;            // what each settings file says
    std::array<int, appraise::maxItem + 1> lastEnded_{}; // the step that last stored each item (0: none)
    std::vector<Save> saves_;                            // the appraisals written, in order
    bool inProgressBefore_ = false;                      // an item being entered before the step
    QString itemNumberBefore_;
};

} // namespace walker
