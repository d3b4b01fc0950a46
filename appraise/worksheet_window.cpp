#include "appraise/worksheet_window.h"

#include "appraise/worksheet/grade_system_setting.h"

#include "appraise/documents/composition.h"
#include "appraise/documents/fixdate.h"
#include "appraise/documents/old_appraisals.h"
#include "appraise/printing/alignment.h"
#include "appraise/printing/printed_line_width.h"
#include "appraise/printing/startup_settings.h"
#include "appraise/support_page.h"
#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/dates.h"
#include "common/file_names.h"
#include "common/folder_snapshot.h"
#include "common/run_error.h"
#include "common/text_file.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace appraise {

using namespace common;
using namespace platform;

namespace {
// Design size of the entry of items, in twips: narrow enough that at a screen scale of 2 a
// 1280-pixel screen shows all of it beside the scroll bar. A text shown widens it to the printed
// line (start-up reads that from the printer).
constexpr int designWidth = 9230;
constexpr int designHeight = 8200;
} // namespace

WorksheetWindow::WorksheetWindow(Platform& platform, QWidget* parent) : FormWindow(platform, parent) {
    setObjectName("worksheet");
    setWindowTitle(QStringLiteral("Velmaron Appraisal Worksheet"));
    // The controls sit on a canvas of the design's size in a scroll area: on a small or scaled
    // screen the window fits and scrolls, and a larger window gives the text more lines.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("worksheetScroll");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    auto* canvasWidget = new QWidget;
    canvasWidget->setObjectName("canvas");
    scroll_->setWidget(canvasWidget);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    setCanvas(canvasWidget);
    // Whatever takes the focus, by Tab, an Alt key or the program, is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && canvas()->isAncestorOf(now)) scroll_->ensureWidgetVisible(now, 0, 0);
    });
    canvasMinimum_ = QSize(tw(designWidth), tw(designHeight));
    documentWidth_ = designWidth;
    canvasWidget->resize(canvasMinimum_);
    buildControls();
    resize(canvasMinimum_);
    entryShown_ = entryState();
}

void WorksheetWindow::widenForText(bool shown) {
    canvasMinimum_.setWidth(tw(shown ? documentWidth_ : designWidth));
    fitCanvas();
}

void WorksheetWindow::fitCanvas() {
    const QSize room = scroll_->viewport()->size();
    canvas()->resize(std::max(canvasMinimum_.width(), room.width()), std::max(canvasMinimum_.height(), room.height()));
    if (!textArea->isHidden() && document_.isAppraisal()) layoutDocument();
}

QGroupBox* WorksheetWindow::frame(const char* name, const QString& caption, int x, int y, int w, int h) {
    auto* f = new QGroupBox(caption, canvas());
    f->setObjectName(name);
    f->setGeometry(tw(x), tw(y), tw(w), tw(h));
    return f;
}

QRadioButton* WorksheetWindow::option(QGroupBox* f, QButtonGroup* g, const char* name, const QString& caption, int x,
                                      int y, int w) {
    auto* o = new QRadioButton(caption, f);
    o->setObjectName(name);
    o->setGeometry(tw(x), tw(y), tw(w), tw(260));
    g->addButton(o);
    return o;
}

GradeBar* WorksheetWindow::gradeBar(GradeScale scale, const char* name, int x, int y, int w) {
    auto* s = new GradeBar(scale, canvas());
    s->setObjectName(name);
    s->setGeometry(tw(x), tw(y), tw(w), tw(250));
    return s;
}

void WorksheetWindow::buildControls() {
    // Created in the order of entry, which is the tab order: the item, its stones, the item's
    // buttons, then the document.
    buildItemPanel();
    buildStonePanel();
    buildItemButtons();
    buildDocumentControls();

    // Hidden in the design: the stone panel, the document and everything that goes with them.
    for (QWidget* w : std::initializer_list<QWidget*>{
             stoneFrame,    shapeFrame,  stonenumber, Carat,      Quantity,     dimensions,    caratEstimate,
             Color,         Clarity,     Cut,         nextstone,  seetext,      allitems,      textArea,
             SaveText,      formatlist2, PrintText,   Fonttext,   copytowp,     changeprinter, back,
             alignmentList, whichinsert, logoPicture, hiddenLogo, appraisalist, entry,         appraisalistCaption,
             pdfcustomer})
        w->hide();
    for (QLabel* l : stoneLabels) l->hide();

    // Along the stone panel: the grades, then End Stone, then the item's own buttons.
    QWidget::setTabOrder(Cut, nextstone);
    QWidget::setTabOrder(nextstone, nextitem);
    // The text's second row from left to right: the PDF after All Items.
    QWidget::setTabOrder(allitems, pdfcustomer);

    buildMeasurementPanel();
    buildRegisterPanel();
    connectPhotoHandlers();
    setShortcuts();
    connectEntryHandlers();
    connectDocumentHandlers();
    connectPrintingHandlers();
    connect(End, &QPushButton::clicked, this, [this] { run([this] { endAndStartMainProgram(); }); });
    connect(back, &QPushButton::clicked, this, [this] { run([this] { goBack(); }); });
    connect(entry, &QPushButton::clicked, this, [this] { run([this] { backToEntry(); }); });
    onLostFocus(datebox, [this] { checkDate(); });
}

void WorksheetWindow::buildItemPanel() {
    dateCaption = label("Label8", QStringLiteral("&Date"), 120, 150, 500, 300);
    datebox = textBox("datebox", QString(), 620, 120, 1100, 330);
    itemNumberCaption = label("Label9", QStringLiteral("Item n&umber"), 1800, 150, 1300, 300);
    itemnumber = textBox("itemnumber", QStringLiteral("1"), 3100, 120, 550, 330);

    typeFrame = frame("Frame3d1", QStringLiteral("General T&ype of Item"), 120, 600, 1900, 2750);
    typeGroup = new QButtonGroup(this);
    const std::pair<const char*, const char*> types[] = {
        {"Ring", "Ring"},         {"Watch", "Watch"},     {"Bracelet", "Bracelet"},
        {"Necklace", "Necklace"}, {"pendant", "Pendant"}, {"Earrings", "Earrings"},
        {"Beads", "Beads"},       {"Pearls", "Pearls"},   {"OtherType", "Other"}};
    QRadioButton** typeSlots[] = {&Ring,     &Watch, &Bracelet, &Necklace, &pendant,
                                  &Earrings, &Beads, &Pearls,   &OtherType};
    for (int i = 0; i < 9; ++i)
        *typeSlots[i] = option(typeFrame, typeGroup, types[i].first, types[i].second, 120, 270 + i * 270, 1700);

    metalColorFrame = frame("Frame3d2", QStringLiteral("Metal C&olor"), 2100, 600, 1700, 1650);
    metalColorGroup = new QButtonGroup(this);
    Yellow = option(metalColorFrame, metalColorGroup, "Yellow", "Yellow", 120, 270, 1500);
    White = option(metalColorFrame, metalColorGroup, "White", "White", 120, 540, 1500);
    Pink = option(metalColorFrame, metalColorGroup, "Pink", "Pink", 120, 810, 1500);
    twotone = option(metalColorFrame, metalColorGroup, "twotone", "Two Tone", 120, 1080, 1500);
    OtherMetalColor = option(metalColorFrame, metalColorGroup, "OtherMetalColor", "Other", 120, 1350, 1500);

    metalFrame = frame("Frame3d5", QStringLiteral("&Metal"), 3900, 600, 1900, 1900);
    metalGroup = new QButtonGroup(this);
    K18 = option(metalFrame, metalGroup, "K18", "18 Karat", 120, 270, 1700);
    k14 = option(metalFrame, metalGroup, "k14", "14 Karat", 120, 540, 1700);
    k10 = option(metalFrame, metalGroup, "k10", "10 Karat", 120, 810, 1700);
    Platinum = option(metalFrame, metalGroup, "Platinum", "Platinum", 120, 1080, 1700);
    Sterling = option(metalFrame, metalGroup, "Sterling", "Sterling", 120, 1350, 1700);
    OtherMetal = option(metalFrame, metalGroup, "OtherMetal", "Other", 120, 1620, 1700);

    wearerFrame = frame("Frame3d6", QString(), 2100, 2300, 1700, 850);
    wearerGroup = new QButtonGroup(this);
    Mans = option(wearerFrame, wearerGroup, "Mans", "Man's", 120, 150, 1500);
    Ladys = option(wearerFrame, wearerGroup, "Ladys", "Lady's", 120, 450, 1500);

    weightCaption = label("Label10", QStringLiteral("&Weight"), 3900, 2620, 800, 300);
    Weight = textBox("Weight", QString(), 4700, 2580, 1100, 330);
    unitsFrame = frame("Frame3d7", QStringLiteral("Wei&ght Units"), 3900, 2950, 1900, 620);
    unitsGroup = new QButtonGroup(this);
    DWT = option(unitsFrame, unitsGroup, "DWT", "DWT", 80, 290, 780);
    Grams = option(unitsFrame, unitsGroup, "Grams", "Grams", 880, 290, 1000);

    priceCaption = label("Label11", QStringLiteral("&Price"), 120, 3480, 600, 300);
    Price = textBox("Price", QString(), 720, 3440, 1300, 330);
    nextstone = button("nextstone", QStringLiteral("Add a sto&ne"), 2100, 3420, 1700, 380);
}

void WorksheetWindow::buildStonePanel() {
    stoneFrame = frame("Frame3d3", QStringLiteral("&Stone"), 120, 3900, 3900, 1950);
    stoneGroup = new QButtonGroup(this);
    const std::pair<const char*, const char*> stones[] = {
        {"Diamond", "Diamond"}, {"Amethyst", "Amethyst"}, {"Aquamarine", "Aquamarine"},
        {"Citrine", "Citrine"}, {"Emerald", "Emerald"},   {"Garnet", "Garnet"},
        {"Jade", "Jade"},       {"Lapis", "Lapis"},       {"Opal", "Opal"},
        {"Onyx", "Onyx"},       {"Pearl", "Pearl"},       {"Peridot", "Peridot"},
        {"Ruby", "Ruby"},       {"Sapphire", "Sapphire"}, {"Topaz", "Topaz"},
        {"Zircon", "Zircon"},   {"OtherStone", "Other"}};
    // Three columns, each as wide as its longest name.
    const int colX[] = {100, 1520, 2640}, colW[] = {1400, 1100, 1230};
    for (int i = 0; i < 17; ++i)
        stoneOptions.push_back(option(stoneFrame, stoneGroup, stones[i].first, stones[i].second, colX[i / 6],
                                      270 + (i % 6) * 270, colW[i / 6]));
    shapeFrame = frame("Frame3d4", QStringLiteral("Sh&ape"), 4100, 3900, 1780, 1950);
    shapeGroup = new QButtonGroup(this);
    const std::pair<const char*, const char*> shapes[] = {{"RoundBrilliant", "Round Brilliant"},
                                                          {"Marquise", "Marquise"},
                                                          {"EmeraldCut", "Emerald"},
                                                          {"Oval", "Oval"},
                                                          {"Pear", "Pear"},
                                                          {"OtherShape", "Other"}};
    for (int i = 0; i < 6; ++i)
        shapeOptions.push_back(
            option(shapeFrame, shapeGroup, shapes[i].first, shapes[i].second, 100, 270 + i * 270, 1650));

    stoneNumberCaption = label("Label1", QStringLiteral("Num&ber"), 5980, 3950, 1100, 300);
    stonenumber = textBox("stonenumber", QStringLiteral("1"), 7100, 3910, 700, 330);
    caratCaption = label("Label2", QStringLiteral("Ca&rat"), 5980, 4350, 1100, 300);
    Carat = textBox("Carat", QStringLiteral(" "), 7100, 4310, 1100, 330);
    caratEstimate = button("c", QStringLiteral("C"), 8300, 4310, 450, 330);
    quantityCaption = label("Label3", QStringLiteral("&Quantity"), 5980, 4750, 1100, 300);
    Quantity = textBox("Quantity", QStringLiteral(" "), 7100, 4710, 700, 330);
    dimensionsCaption = label("Label4", QStringLiteral("D&imensions"), 5980, 5150, 1100, 300);
    dimensions = textBox("dimensions", QStringLiteral(" "), 7100, 5110, 2100, 330);
    stoneLabels = {stoneNumberCaption, caratCaption, quantityCaption, dimensionsCaption};

    // Grade bars, each under the scale that names its grades over their ranges, with the grade
    // under the thumb shown beside it.
    auto gradeRow = [&](QLabel*& captionLabel, GradeScale grades, const char* captionName, const QString& caption,
                        const char* scaleName, const QString& scale, const char* barName, const char* shownName,
                        int y) {
        captionLabel = label(captionName, caption, 120, y + 180, 900, 300);
        stoneLabels.push_back(captionLabel);
        GradeBar* bar = gradeBar(grades, barName, 1000, y + 270, 7000);
        auto* s = new GradeScaleLabel(scale, bar, canvas());
        s->setObjectName(scaleName);
        s->setGeometry(tw(1000), tw(y), tw(7000), tw(260));
        stoneLabels.push_back(s);
        QLabel* shown = label(shownName, bar->shownGrade(), 8080, y + 240, 1120, 300);
        stoneLabels.push_back(shown);
        // A grade in bold; "not graded" plain and in italics, so it is not taken for one.
        auto showGrade = [shown, bar] {
            QFont f = shown->font();
            f.setBold(bar->isGraded());
            f.setItalic(!bar->isGraded());
            shown->setFont(f);
            shown->setText(bar->shownGrade());
        };
        showGrade();
        connect(bar, &GradeBar::gradeChanged, shown, showGrade);
        return bar;
    };
    Color =
        gradeRow(colorCaption, GradeScale::Color, "Label12", QStringLiteral("&Color"), "Label6",
                 QStringLiteral("     D  E  F  G  H  I  J  K  L  M  N  O  P     Fancy"), "Color", "colorshown", 5950);
    Clarity =
        gradeRow(clarityCaption, GradeScale::Clarity, "Label13", QStringLiteral("C&larity"), "Label7",
                 QStringLiteral("    F VVS1 VVS2 VS1 VS2 SI1 SI2    I1    I2     I3"), "Clarity", "clarityshown", 6550);
    Cut = gradeRow(cutCaption, GradeScale::Cut, "Label18", QStringLiteral("Cu&t"), "Label5",
                   QStringLiteral("   Ideal  2     3     4     5     6     7     8     9   Poor"), "Cut", "cutshown",
                   7150);
}

void WorksheetWindow::buildItemButtons() {
    nextitem = button("nextitem", QStringLiteral("End t&his item"), 5950, 3420, 1550, 380);
    seetext = button("seetext", QStringLiteral("See Te&xt"), 7600, 3420, 1600, 380);
    allitems = button("allitems", QStringLiteral("&All Items"), 7700, 3850, 1500, 360);
    FormatList = button("FormatList", QStringLiteral("&Format"), 3800, 120, 1000, 380);
    End = button("End", QStringLiteral("&End"), 4900, 120, 900, 380);

    custname = label("custname", QString(), 5950, 120, 3250, 1250);
    custname->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    custname->setWordWrap(false);
    appraisalistCaption = label("appraisalistCaption", QStringLiteral("Pre&vious appraisals"), 5950, 1720, 3250, 250);
    appraisalist = new QListWidget(canvas());
    appraisalist->setObjectName("appraisalist");
    // Each entry whole, on as many lines as it needs.
    appraisalist->setWordWrap(true);
    appraisalist->setTextElideMode(Qt::ElideNone);
    appraisalist->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    appraisalist->setResizeMode(QListView::Adjust);
    // A customer of many appraisals: the first entries are laid out at once, the rest while the
    // window waits for the user, so that the window does not wait for all of them.
    appraisalist->setLayoutMode(QListView::Batched);
    appraisalist->setBatchSize(40);
    appraisalist->setGeometry(tw(5950), tw(1980), tw(3250), tw(740));
    // The item's photos below the list: a small picture of the first, and how many.
    itemPhoto = label("itemPhoto", QString(), 5950, 2760, 600, 560);
    itemPhoto->setAlignment(Qt::AlignCenter);
    itemPhoto->setFrameShape(QFrame::StyledPanel);
    addPictureButton = button("addPicture", QStringLiteral("Add a picture..."), 6650, 2760, 1450, 330);
    removePictureButton = button("removePicture", QStringLiteral("Remove"), 8150, 2760, 1050, 330);
    photoNote = label("photoNote", QString(), 6650, 3110, 2550, 260);
}

void WorksheetWindow::buildDocumentControls() {
    textArea = new QTextEdit(canvas());
    textArea->setObjectName("Text1");
    textArea->setAcceptRichText(false);
    textArea->setTabChangesFocus(true);
    const int by = 6780;
    SaveText = button("SaveText", QStringLiteral("&Save"), 0, by, 1300, 380);
    formatlist2 = button("formatlist2", QStringLiteral("&Format"), 1350, by, 1300, 380);
    PrintText = button("PrintText", QStringLiteral("&Print"), 2700, by, 1300, 380);
    Fonttext = button("Fonttext", QStringLiteral("F&ont"), 4050, by, 1300, 380);
    copytowp = button("copytowp", QStringLiteral("&Copy to W/P"), 5400, by, 1300, 380);
    changeprinter = button("changeprinter", QStringLiteral("P&rinter"), 6750, by, 1300, 380);
    back = button("back", QStringLiteral("&End"), 8100, by, 1300, 380);
    alignmentList = new QListWidget(canvas());
    alignmentList->setObjectName("List1");
    whichinsert = new QListWidget(canvas());
    whichinsert->setObjectName("whichinsert");
    whichinsert->setGeometry(tw(3800), tw(520), tw(3000), tw(2600));

    // With a text shown: back to the entry of items, and on to the next item's text.
    entry = button("entry", QStringLiteral("&Worksheet"), 0, by + 420, 1300, 380);
    pdfcustomer = button("pdfcustomer", QStringLiteral("P&DF to send"), 4050, by + 420, 1500, 380);
    savedas = label("savedas", QString(), 5650, by + 400, 3750, 760); // up to three lines
    savedas->setWordWrap(true);
    savedas->hide();
    logoPicture = label("printPicture1", QString(), 0, 0, 100, 100);
    hiddenLogo = label("Command3D1", QString(), 0, 0, 100, 100);
}

void WorksheetWindow::setCaption(QLabel* l, const QString& caption) {
    // The caption keeps its carriage returns; the screen shows them as line breaks.
    l->setProperty("caption", caption);
    l->setText(QString(caption).replace('\r', '\n'));
}

void WorksheetWindow::load() {
    // Centre the window on the screen at its design size, or as much of it as the screen holds
    // (less the frame's title bar); the rest scrolls.
    if (QScreen* s = screen()) {
        const QRect r = s->availableGeometry();
        resize(std::min(width(), r.width()), std::min(height(), r.height() - 40));
        move(r.x() + (r.width() - width()) / 2, r.y() + std::max(0, (r.height() - height()) / 2 - 20));
    }
    // The start and the settings read after it look many names up: one listing serves them all.
    const common::FolderSnapshot snapshot;
    AppraiseStart start;
    try {
        startAppraise(p, start);
    } catch (const RunError& e) {
        // Any error but 75 ends the start-up with its number; the window opens with what the
        // start reached.
        showStart(start);
        p.screen.setHourglass(false);
        p.messages.show(QString::fromStdString(str(e.number())));
        return;
    } catch (...) {
        showStart(start); // the program ends: what the start reached is shown until then
        throw;
    }
    if (start.anotherCopy) {
        unload();
        return;
    }
    showStart(start);
    useGradeSystem(storeGradeSystem());
    textArea->setCurrentFont(QFont(QStringLiteral("Arial"), 10));
    // As wide as the printed line, but never narrower than the entry of items (a narrow paper such
    // as A4 would cut off the stone's boxes).
    const int32_t width = matchprinter(*textArea, 1440, 1440);
    documentWidth_ = std::max<int32_t>(width + 200, designWidth);
    // Wide enough for the printed line beside the scroll bar, within the screen and its frame,
    // and centred again at that width.
    int shown = tw(documentWidth_) + scroll_->verticalScrollBar()->sizeHint().width();
    if (QScreen* s = screen()) {
        const QRect r = s->availableGeometry();
        shown = std::min(shown, r.width() - 8);
        move(r.x() + std::max(0, (r.width() - shown) / 2), y());
    }
    resize(shown, height());
    fitCanvas();
}

void WorksheetWindow::showStart(const AppraiseStart& start) {
    settings_ = start.settings;
    if (start.date) datebox->setText(fromAnsi(*start.date));
    if (!start.logo.isNull()) {
        logo_ = start.logo;
        logoPicture->setPixmap(QPixmap::fromImage(logo_));
        hiddenLogo->setPixmap(QPixmap::fromImage(logo_));
    }
    cust_ = start.customer;
    document_.setCustomer(cust_.custprefix);
    if (start.appraisalList) {
        appraisalist->show();
        appraisalist->clear();
        for (const QString& line : *start.appraisalList) appraisalist->addItem(line);
    }
    if (start.customerCaption) setCaption(custname, *start.customerCaption);
}

int32_t WorksheetWindow::matchprinter(QTextEdit& area, int32_t leftMargin, int32_t rightMargin) {
    // With no printer installed the geometry is letter paper with a quarter-inch offset.
    const int32_t width = printedLineWidth(p.printer.geometry(), leftMargin, rightMargin);
    area.setLineWrapMode(QTextEdit::FixedPixelWidth);
    area.setLineWrapColumnOrWidth(tw(width));
    return width;
}

void WorksheetWindow::checkDate() {
    std::string d = toAnsi(datebox->text());
    fixdate(d);
    datebox->setText(fromAnsi(d));
}

bool WorksheetWindow::blankAppraisal(const QString& action) {
    if (!document_.isAppraisal() || documentText().find_first_not_of(" \t\r\n") != std::string::npos) return false;
    p.messages.show(QStringLiteral("The text is empty: there is no appraisal to %1.").arg(action), {}, Buttons::Ok,
                    Icon::Exclamation);
    return true;
}

bool WorksheetWindow::hasUnsavedAppraisal() const { return !textArea->isHidden() && document_.changed(documentText()); }

bool WorksheetWindow::unsavedAppraisalSettled() {
    if (!hasUnsavedAppraisal()) return true;
    switch (p.messages.show(QStringLiteral("This appraisal has not been saved. Save it now?"), {}, Buttons::YesNoCancel,
                            Icon::Question)) {
    case Answer::Yes: saveText(); return !hasUnsavedAppraisal(); // a Save that failed keeps the user here
    case Answer::No: return true;
    default: return false;
    }
}

bool WorksheetWindow::queryUnload() { return itemInProgressSettled() && unsavedItemsSettled(); }

void WorksheetWindow::endAndStartMainProgram() {
    if (!itemInProgressSettled() || !unsavedItemsSettled()) return;
    p.screen.setHourglass(true);
    p.screen.doEvents();
    startMainProgram(p);
    p.processes.endProcess();
}

void WorksheetWindow::goBack() {
    if (!alignmentList->isHidden()) {
        if (Fonttext->isHidden()) back->hide();
        alignmentList->hide();
        return;
    }
    endAndStartMainProgram();
}

void WorksheetWindow::formUnload() { startMainProgram(p); }

void WorksheetWindow::backToEntry() {
    // Back to the entry of items; the text shown and the items not saved are settled first, as
    // when leaving.
    if (!unsavedItemsSettled()) return;
    leaveDocument();
}

void WorksheetWindow::setShortcuts() {
    // The captions carry their Alt letters where the controls are made, each letter once among the
    // controls on screen together. They hold 22 different letters for the 24 controls of an item
    // with a stone: the unnamed wearer group and the small "C" button beside Carat are reached with
    // Tab. Here the labels get the boxes their letters reach, and the group that silences them.
    const std::pair<QLabel*, QWidget*> buddies[] = {{dateCaption, datebox},
                                                    {itemNumberCaption, itemnumber},
                                                    {weightCaption, Weight},
                                                    {priceCaption, Price},
                                                    {stoneNumberCaption, stonenumber},
                                                    {caratCaption, Carat},
                                                    {quantityCaption, Quantity},
                                                    {dimensionsCaption, dimensions},
                                                    {colorCaption, Color},
                                                    {clarityCaption, Clarity},
                                                    {cutCaption, Cut},
                                                    {appraisalistCaption, appraisalist}};
    for (const auto& [caption, buddy] : buddies) {
        caption->setBuddy(buddy);
        entryKeys_.add(caption);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{typeFrame, metalColorFrame, metalFrame, unitsFrame, nextstone, nextitem,
                                         FormatList, End, stoneFrame, shapeFrame, registerButton})
        entryKeys_.add(w);
    QWidget* const covers[] = {textArea, dimensionspanel, whichinsert, alignmentList, registerPanel};
    for (QWidget* cover : covers) onShowHide(cover, [this] { updateEntryKeys(); });
    // The list's caption comes and goes with it.
    onShowHide(appraisalist, [this] { appraisalistCaption->setVisible(!appraisalist->isHidden()); });
}

void WorksheetWindow::updateEntryKeys() {
    entryKeys_.setActive(textArea->isHidden() && dimensionspanel->isHidden() && whichinsert->isHidden() &&
                         alignmentList->isHidden() && registerPanel->isHidden());
}

void WorksheetWindow::leaveDocument() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{textArea, SaveText, formatlist2, PrintText, Fonttext, copytowp, changeprinter,
                                         back, entry, savedas, whichinsert, alignmentList, pdfcustomer})
        w->hide();
    widenForText(false);
    seetext->setGeometry(tw(7600), tw(3420), tw(1600), tw(380));
    seetext->setVisible(itemCount(tables_) > 0);
    allitems->setGeometry(tw(7700), tw(3850), tw(1500), tw(360));
    showAllItems();
}

void WorksheetWindow::showAllItems() {
    allitems->setVisible(!seetext->isHidden() && (!textArea->isHidden() || stoneFrame->isHidden()));
}

void WorksheetWindow::fitTextArea() {
    textArea->setGeometry(tw(100), tw(500), canvas()->width() - tw(200), canvas()->height() - tw(600));
}

void WorksheetWindow::resizeEvent(QResizeEvent* event) {
    FormWindow::resizeEvent(event);
    // The text area's own placement is set when a text is shown; only keep it inside.
    run([this] {
        fitCanvas();
        if (textArea->isHidden()) fitTextArea();
    });
}

} // namespace appraise
