#pragma once
#include "common/money.h"
#include "interest/collection_notes.h"
#include "interest/use_cases/post_interest.h"
#include "platform/widgets/form_window.h"
#include "platform/widgets/mnemonics.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <optional>
#include <string>

namespace interest {

// The Interest window "interest": its controls and handlers over the posting's use cases. Each
// handler reads the controls, calls one use case and writes the controls back.
class InterestWindow : public platform::FormWindow {
    Q_OBJECT
  public:
    explicit InterestWindow(platform::Platform& platform, QWidget* parent = nullptr);

    // Opens on the store: the flags, the last posting and today's date.
    void load() override;

    void postInterest();        // Start
    void closeWindow();         // Cancel / Exit, or Close after a posting
    void keepLayawayChoice();   // the check box, kept in its flag file
    void checkRate();           // the rate box left
    void removeCharges();       // Remove Interest...
    void editNotes();           // Set Notes
    void noteChosen(int k);     // a line of the notes list: note k (1-9), 10 to end, 0 a blank line
    void endNoteEdit();         // the note's box left
    void cancelNoteEdit();      // Escape in the note's box: the note as it was
    void undoPosting();         // Undo Last Posting
    void previewPosting();      // Preview
    void listReports();         // Reports...
    void keepHighestRate();     // the highest rate's box left: kept in Interest's settings
    void toggleSpared(int row); // a line of the preview's accounts: out of the posting, or back in

  private:
    // Alt keys go silent while the notes list covers the window.
    void setShortcuts();
    void updateKeys() { keys_.setActive(noteList->isHidden() && previewList->isHidden() && reportList->isHidden()); }
    platform::MnemonicGroup keys_;

    // The controls. Each keeps the design's name as its object name, by which the scenarios and
    // tests find it:
    //   Label1 dateCaption      datebox dateBox         Label2 rateCaption    Percentage rateBox
    //   Label6 minimumCaption   MinFinance minimumBox   Check1 skipLayawaysBox
    //   Start startButton       Command1 closeButton    remove removeButton   Notes notesButton
    //   preview previewButton   undo undoButton         reports reportsButton reportList reportList
    //   Label3 blankWhileIdle   Label4 lastPostedLine   Label5 resultLine     Label7 firstMonthNotice
    //   Gauge1 progress         List1 noteList          Text1 noteEditor      noteCaption noteCaption
    //   highestRateCaption, highestRate highestRateBox  previewList, previewCaption
    QLabel *dateCaption, *rateCaption, *minimumCaption, *blankWhileIdle, *lastPostedLine, *resultLine,
        *firstMonthNotice, *highestRateCaption;
    QLineEdit *dateBox, *rateBox, *minimumBox, *highestRateBox;
    QCheckBox* skipLayawaysBox;
    QPushButton *startButton, *closeButton, *removeButton, *notesButton, *undoButton, *previewButton, *reportsButton;
    QListWidget* reportList; // the kept reports, opened from here
    QListWidget* noteList;
    QLineEdit* noteEditor;
    QLabel* noteCaption;      // which note the editor holds, and for which credit rating
    QListWidget* previewList; // the accounts the preview charges, each to be spared or charged
    QLabel* previewCaption;   // what the list is and how it is worked
    QProgressBar* progress;

    // Reads the flags and the last posting into the window, the step kept in `label`.
    void startup(StepLabel& label);
    PostingForm postingForm() const;
    // The window for a posting (idle) or after one (its result, Undo and Close).
    void setIdle(bool idle);
    // The window while a posting runs, and back from it.
    void showRunning();
    void backToIdle();
    void openReport(const QString& name);
    void enterMovesOn(QLineEdit* box);
    void fillNoteList();
    void showLastPosted();
    // The preview's accounts, ticked where charged, for sparing by hand.
    void showPreviewList(const std::vector<PreviewCharge>& charges);
    void endPreviewList();
    void showSpared();
    static QString previewLine(const PreviewCharge& c, bool spared);
    // The notes list or editor put away, the posting's buttons back.
    void endNotes();

    PostInterest posting_;
    std::optional<std::string> lastPosted_; // none: interest was never posted
    common::Money rate_, minimum_;
    bool firstMonthFree_ = false;
    bool wholesale_ = false;
    CollectionNotes notes_;
    int editedNote_ = 0;                        // the note being (or last) edited, 1-9; 0 none
    bool notesChanged_ = false;                 // notes edited since they were read or saved
    std::vector<PreviewCharge> previewCharges_; // the list's accounts, in its order
    std::vector<int32_t> sparedByHand_;         // out of the next posting, in order
    QString highestRateKept_;                   // as the settings hold it
    // Before leaving: asks to save notes edited and not saved; false when the user stays.
    bool notesSettled();

  protected:
    bool queryUnload() override;
    // In words, with what stays as it was; never as a bare error number.
    void showRunError(const common::RunError& e) override;
};

} // namespace interest
