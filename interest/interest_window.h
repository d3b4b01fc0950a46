#pragma once
#include "common/money.h"
#include "interest/collection_notes.h"
#include "interest/posting_run.h"
#include "interest/window_host.h"
#include "platform/widgets/form_window.h"
#include "platform/widgets/mnemonics.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <array>
#include <string>

namespace interest {

// The Interest window "interest": controls and handlers under the design's names.
class InterestWindow : public platform::FormWindow {
    Q_OBJECT
  public:
    explicit InterestWindow(platform::Platform& platform, QWidget* parent = nullptr);

    // Opens on the store: the flags, the last posting and the collection notes to edit.
    void load() override;

    void Start_Click();
    void Command1_Click();
    void noLayawayInterest_Click();
    void Percentage_LostFocus();
    void remove_Click();
    void Notes_Click();
    void List1_Click(int itemData);
    void Text1_LostFocus();
    void undo_Click();
    void preview_Click();
    void reports_Click();

    // Normalises a posting date in place: the normalised text or "ERROR".
    static void checkpostdate(std::string& s);

  private:
    // Alt keys go silent while the notes list covers the window.
    void setShortcuts();
    void updateKeys() { keys_.setActive(noteList->isHidden()); }
    platform::MnemonicGroup keys_;
    // The controls; each keeps the design's name as its object name, by which tests and scripts
    // find it.
    QLabel *dateCaption, *rateCaption, *blankWhileIdle, *lastPostedLine, *resultLine, *minimumCaption,
        *firstMonthNotice;
    QLineEdit *datebox, *Percentage, *MinFinance;
    QCheckBox* noLayawayInterest;
    QPushButton *Start, *exitButton, *remove, *Notes, *undo, *preview, *reports;
    QListWidget* reportList; // the kept reports, opened from here
    QListWidget* noteList;
    QLineEdit* noteEditor;
    QProgressBar* progress;

    StepLabel steplabel; // the step the program is at, for error messages

    void startup();
    // Before a second posting in the month of the last one, the user is asked.
    bool postingAgainConfirmed();
    // A rate outside the window's limits is asked about; false posts nothing.
    bool rateConfirmed();
    // The whole posting, with what its preview charges, asked about once; false posts nothing.
    bool postingConfirmed();
    // The name the report of a posting of `date` is kept under in the store's folder.
    QString keptReportName(const std::string& date) const;
    // The window for a posting (idle) or after one (its result, Undo and Close).
    void setIdle(bool idle);
    // "12-9-26 at 9:00": when a posting was made.
    QString madeText() const;
    // The rate typed, as a percentage a month ("1.5 %").
    QString ratePerMonth() const;
    void openReport(const QString& name);
    PostingInput postingInput() const;
    WindowHost::Heading reportHeading(bool forPreview) const;
    void enterMovesOn(QLineEdit* box);
    void fillNoteList();
    void showLastPosted();

    std::string lastposted;
    common::Money ratepct, minfin;
    std::string firstmonflag, wholesaleflag;
    CollectionNotes notes;
    int16_t curnote = 0;
    bool notesChanged_ = false; // notes edited since they were read or saved
    // Before leaving: asks to save notes edited and not saved; false when the user stays.
    bool notesSettled();

  protected:
    bool queryUnload() override;
};

} // namespace interest
