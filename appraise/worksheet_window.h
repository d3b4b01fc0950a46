#pragma once
#include "appraise/documents/appraisal_register.h"
#include "appraise/documents/composition.h"
#include "appraise/documents/customer.h"
#include "appraise/grade_bar.h"
#include "appraise/printing/default_font.h"
#include "appraise/printing/layout_settings.h"
#include "appraise/use_cases/appraisal_document.h"
#include "appraise/use_cases/item_photos.h"
#include "appraise/use_cases/startup.h"
#include "appraise/worksheet/item_stone_records.h"
#include "appraise/worksheet/measure_text.h"
#include "appraise/worksheet/pending_stones.h"
#include "platform/widgets/form_window.h"
#include "platform/widgets/mnemonics.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTextEdit>
#include <array>
#include <map>
#include <vector>

namespace appraise {

// The Appraise window "worksheet": its controls, and handlers under the design's names that
// call the use cases.
class WorksheetWindow : public platform::FormWindow {
    Q_OBJECT
  public:
    explicit WorksheetWindow(platform::Platform& platform, QWidget* parent = nullptr);

    // Opens on the store: the layout settings, today, the logo, the customer and their earlier
    // appraisals.
    void load() override;

    // Handlers
    void endAndStartMainProgram();
    void goBack();
    void backToEntry();
    // Back to the worksheet: the text and every button that goes with it hidden.
    void leaveDocument();
    void fitTextArea();
    void checkDate();

    // Entry handlers
    void addOrEndStone();
    void endItem();
    void itemNumberChanged();
    void typeChosen(); // a type of item chosen (Ring, Watch, ...)
    void nameOtherType();
    void nameOtherMetal();
    void nameOtherMetalColor();
    void nameOtherStone();
    void nameOtherShape();
    void readColorGrade();
    void readClarityGrade();
    void readCutGrade();
    void enterPrice();
    void leavePrice();
    // The price box read as a price and shown formatted; false (and said, the focus back in the
    // box) when it is not one.
    bool formatPrice();
    // A measure box read as a number and shown as the files keep it; false (and said, the focus
    // back in the box) when it is not one.
    bool measureAllows(QLineEdit* box);
    // "a Ring of 2,450.00": what an item slot holds, in words.
    QString itemDescription(int16_t slot) const;
    void openCaratCalculator();

    // Document handlers
    void seeText();
    // Every item of the worksheet in one appraisal, with the total replacement value.
    void appraiseAllItems();
    void saveText();
    void openAppraisal(const QString& entry);
    void exportToWordProcessor();
    void listPassagesFromText();
    void listPassages();

    // Photos of the items
    void addPicture();
    void attachPicture(const QString& path);
    void removePicture();
    // The photos of the item in the item number box, on the worksheet.
    void showItemPhotos();
    // The worksheet item the photos go with: the one in the item number box.
    int16_t photoSlot() const;
    // The photos of the items of the text shown, by their numbers in it.
    ItemPhotos photosOf(const std::vector<int16_t>& items, bool numberedInOrder) const;

    // The register of every appraisal of the store, and re-appraisal
    void showRegister();
    void fillRegister();
    void sortRegisterBy(int order);
    void closeRegister();
    void openFromRegister();
    // A new appraisal from the one chosen: its wording with today's date and its earlier value.
    void reappraise();

    // Printing, template passages and print settings
    void printText();
    // The text as printed: the text area's, with the photos of its items.
    std::unique_ptr<QTextDocument> printedText() const;
    // The appraisal's pages, as printed, to a PDF named for the customer, then shown or mailed.
    void writeCustomerPdf();
    // Whose appraisal is shown and its number, as later pages print it ("Ann Smith, appraisal
    // 00012001"); empty for a passage.
    QString runningHead() const;
    // The date of the appraisal shown: its text's first line where that is a date, else the Date box.
    QString shownDate() const;
    // Whose appraisal the text shown is: its customer line, else the worksheet's customer.
    std::string shownCustomer() const;
    // The number of the appraisal shown ("00012001"): its file's, or the one its Save will take.
    std::string appraisalNumber() const;
    void passageChosen(const QString& entry);
    // "Purpose of this appraisal": the store's purposes listed, one to choose.
    void listPurposes();
    // The purpose chosen for the appraisal shown: its lines in the text change to the new one's.
    void purposeChosen(int index);
    void chooseGradeSystem(); // Format's "Grading Scales": the classic or the GIA scales, kept for the store
    void useGradeSystem(GradeSystem system);
    void alignmentLineChosen(int index);
    void chooseTextFont();
    void choosePrinter();
    void showalignment();
    // A template passage (the heading, the opening, the value line, ...) in the text area to edit.
    void editInsert(const std::string& file);
    void setbordersize();
    void logosetting();
    void setdefaultfont();

    // Today as the purpose passage's report date ("12-9-26").
    std::string reportDate() const;
    // The text area's text as the files hold it: CR LF line ends, the store's code page.
    std::string documentText() const;
    void setDocumentText(const std::string& text);

    // Procedures
    int32_t matchprinter(QTextEdit& area, int32_t leftMargin, int32_t rightMargin);
    void startstone();
    void clearstone();
    void clearitem();
    void loaditem();
    void logitem(int16_t slot);
    // Do Math: the carat weight of the stone estimated from its measurements and shape.
    void estimateCarats();

    const WorksheetTables& tables() const { return tables_; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void formUnload() override;
    bool queryUnload() override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildControls();
    void buildItemPanel();        // date, item number, type, metal, weight, price
    void buildStonePanel();       // stone, shape, number, carat, quantity, dimensions, grade bars
    void buildItemButtons();      // End this item, See Text, All Items, Format, End, the customer
    void buildDocumentControls(); // the text area, its buttons and lists
    void buildMeasurementPanel();
    void buildRegisterPanel();
    void connectPhotoHandlers();
    void setShortcuts();
    // The entry of items takes its Alt keys unless the text, the measurement panel, the insert
    // list or the alignment editor covers it.
    void updateEntryKeys();
    void connectEntryHandlers();
    void clearGroup(QButtonGroup* g);
    // The option groups of the item and of the stone.
    std::array<QButtonGroup*, 7> optionGroups() const;
    std::string chosenText(QButtonGroup* g, const std::map<QAbstractButton*, const char*>& texts) const;
    void onClick(QAbstractButton* b, void (WorksheetWindow::*handler)());
    void connectDocumentHandlers();
    void showDocument(int left, int top);
    // The text and its buttons placed for the canvas's height.
    void layoutDocument();
    // The canvas as large as the window's room, never smaller than the design.
    void fitCanvas();
    // The canvas as wide as the printed line while a text is shown, else as the entry of items.
    void widenForText(bool shown);
    void applyDefaultFont();
    void connectPrintingHandlers();
    static platform::FontChoice fontChoiceOf(const DefaultFont& f);
    void applyFont(const platform::FontChoice& f);
    platform::FontChoice textFont() const;
    // What the start found, on the controls.
    void showStart(const AppraiseStart& start);
    void setCaption(QLabel* label, const QString& caption);
    CompositionInput compositionInput(int16_t slot) const;
    // A type of item is chosen: asks to erase the item begun; true when nothing may be composed.
    bool itemBeingEntered();
    // All Items goes with See Text, but not beside a stone being entered on the worksheet.
    void showAllItems();
    void startComposedText();
    void showComposedText(const std::string& text);
    // Where the Save went, in full, and which item comes next.
    void showSavedStatus();
    // Before leaving: asks to save the items not saved yet (and the text on screen); false when
    // the user stays.
    bool unsavedItemsSettled();
    // Before leaving: asks to end the item on the worksheet that was begun and not ended; false
    // when the user stays.
    bool itemInProgressSettled();
    // Ends the stone and the item begun, as End Stone and End this item do; false when either
    // was refused and the item is still on the worksheet.
    bool endItemInProgress();
    // Whether the worksheet holds entries of an item not yet ended (a stone ended for it counts).
    bool itemInProgress() const;
    // Whether the stone panel holds a stone begun and not ended.
    bool stoneInProgress() const;
    // Whether the item and stone panels hold anything an appraisal's wording would show.
    bool entryHoldsSomething() const;
    // What the item and stone panels hold, to tell a change from what was shown.
    std::string entryState() const;
    // The item and its stone begun are dropped: the panels cleared, the stones ended for it gone.
    void discardEntry();
    // The text on screen before another takes its place: an edited wording stays with its items,
    // and a reopened appraisal with changes is asked about; false when the user stays.
    bool shownTextSettled();
    // A value refused: the box keeps what was typed and gets the focus back (after the focus
    // change under way, when the refusal came from the box losing it).
    void refuseInto(QLineEdit* box, const QString& why, bool afterFocusChange);
    // A name for an "Other" option; Cancel keeps its caption and gives the group back its choice.
    void askOtherName(QButtonGroup* group, QAbstractButton* other, const QString& prompt);
    // Whether the appraisal on screen has changes no Save has written.
    bool hasUnsavedAppraisal() const;
    // An appraisal on screen without a word (as See Text leaves it when it stops at an item
    // being entered): nothing to save or send, and the user is told there is nothing to `action`.
    bool blankAppraisal(const QString& action);
    // Before leaving: asks to save an unsaved appraisal; false when the user stays.
    bool unsavedAppraisalSettled();
    // Before a text is written: characters the store's code page cannot hold are shown, and the
    // user goes on with "?" in their place or goes back (false).
    bool codePageAllows(const QString& text, const QString& action);

    QGroupBox* frame(const char* name, const QString& caption, int x, int y, int w, int h);
    QRadioButton* option(QGroupBox* f, QButtonGroup* g, const char* name, const QString& caption, int x, int y, int w);
    GradeBar* gradeBar(GradeScale scale, const char* name, int x, int y, int w);

    // The controls; each keeps the design's name as its object name, by which tests and scripts
    // find it.
    // Customer and dates
    QLabel* custname;
    QLabel *dateCaption, *itemNumberCaption;
    QLineEdit* datebox;
    QLineEdit* itemnumber;
    QListWidget* appraisalist;
    QLabel* appraisalistCaption;
    // Item panel
    QGroupBox *typeFrame, *metalColorFrame, *metalFrame, *wearerFrame, *unitsFrame;
    QButtonGroup *typeGroup, *metalColorGroup, *metalGroup, *wearerGroup, *unitsGroup;
    QRadioButton *Ring, *Watch, *Bracelet, *Necklace, *pendant, *Earrings, *Beads, *Pearls, *OtherType;
    QRadioButton *Yellow, *White, *Pink, *twotone, *OtherMetalColor;
    QRadioButton *K18, *k14, *k10, *Platinum, *Sterling, *OtherMetal;
    QRadioButton *Mans, *Ladys, *DWT, *Grams;
    QLabel *weightCaption, *priceCaption;
    QLineEdit *Weight, *Price;
    QPushButton *nextstone, *nextitem, *seetext, *allitems, *End, *FormatList;
    // Stone panel
    QGroupBox *stoneFrame, *shapeFrame;
    QButtonGroup *stoneGroup, *shapeGroup;
    std::vector<QRadioButton*> stoneOptions, shapeOptions;
    QLineEdit *stonenumber, *Carat, *Quantity, *dimensions;
    QPushButton* caratEstimate; // "C": the carat estimated from the stone's measurements
    QLabel *stoneNumberCaption, *caratCaption, *quantityCaption, *dimensionsCaption;
    QLabel *colorCaption, *clarityCaption, *cutCaption;
    std::vector<QLabel*> stoneLabels; // the labels of the stone panel, shown with it
    GradeBar *Color, *Clarity, *Cut;
    // Document
    QTextEdit* textArea;
    QPushButton *SaveText, *formatlist2, *PrintText, *Fonttext, *copytowp, *changeprinter, *back;
    QPushButton* entry;       // back to the entry of items while a text is shown
    QPushButton* pdfcustomer; // the appraisal's pages as a PDF to send the customer
    // The photos of the item being entered
    QLabel *itemPhoto, *photoNote;
    QPushButton *addPictureButton, *removePictureButton;
    std::map<int16_t, std::vector<QImage>> slotPhotos_; // by worksheet item
    size_t purposeChoice_ = 0;                          // of the appraisal composed, in the store's list of purposes
    bool choosingPurpose_ = false;                      // the insert list shows the purposes
    ItemPhotos shownPhotos_;                            // of the text shown, by item number in it
    // The register: every appraisal of the store, over the whole window.
    QPushButton* registerButton;
    QWidget* registerPanel;
    QLabel *registerSearchCaption, *registerCount, *registerHeadingLabel;
    QLineEdit* registerSearch;
    QListWidget* registerList;
    QPushButton *sortNumber, *sortDate, *sortCustomer, *sortItem, *sortValue;
    QCheckBox* registerDue;
    QPushButton *registerOpen, *reappraiseButton, *registerBack;
    std::vector<RegisterEntry> register_;   // as read when the register opened, in the order shown
    std::vector<std::string> registerRows_; // the file of each line of the register's list
    int registerOrder_ = static_cast<int>(RegisterOrder::Date);
    bool registerDescending_ = true;
    QListWidget* alignmentList;
    QListWidget* whichinsert;
    QLabel *logoPicture, *hiddenLogo;
    QLabel* savedas; // where the last Save went
    // Measurement panel
    QFrame* dimensionspanel;
    QLabel* gemLine; // the gem the estimate is made for, and its specific gravity
    // The gem of the stone chosen, as the estimate weighs it (a diamond when none or "Other").
    QString chosenGem() const;
    platform::MnemonicGroup entryKeys_;
    QLineEdit *CLength, *CWidth, *CDepth;
    QPushButton* Calculate;

  private:
    QScrollArea* scroll_;
    QSize canvasMinimum_;
    int32_t documentWidth_ = 0; // twips: the printed line and the text's margins
    CustomerContext cust_;
    LayoutSettings settings_;
    QImage logo_;
    WorksheetTables tables_;
    std::map<QAbstractButton*, const char*> storedText_; // what each option stores
    int16_t shownitem_ = 0;                              // the item See Text showed last
    AppraisalDocument document_;                         // the text beside the worksheet, and the items not saved yet
    std::string alignFiller_;                            // the filler the alignment file was read with
    PendingStones pendingStones_;                        // the stones of the item being entered
    std::string entryShown_;                             // the panels as the program last set them
    std::map<QButtonGroup*, QAbstractButton*> justUnchecked_; // the choice a group gave up last
    bool stoneOpen_ = false;                                  // a stone is being entered: the stone button ends it
};

} // namespace appraise
