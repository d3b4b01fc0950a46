// The worksheet's entry flow: items, stones, grades, price and the carat estimate.
#include "appraise/worksheet_window.h"
#include "common/trim_left_right_mid.h"

#include "appraise/worksheet/carat.h"
#include "appraise/worksheet/grades.h"
#include "appraise/worksheet/item_log.h"
#include "appraise/worksheet/price_text.h"
#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/format_picture.h"
#include "common/run_error.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

namespace appraise {

using namespace common;
using namespace platform;

void WorksheetWindow::buildMeasurementPanel() {
    dimensionspanel = new QFrame(canvas());
    dimensionspanel->setObjectName("dimensionspanel");
    dimensionspanel->setFrameShape(QFrame::Box);
    dimensionspanel->setAutoFillBackground(true);
    dimensionspanel->setGeometry(tw(3820), tw(2960), tw(5400), tw(1340));
    QLabel* lengthLabel = label("Label16", QStringLiteral("&Length"), 150, 100, 1200, 280, dimensionspanel);
    QLabel* widthLabel = label("Label15", QStringLiteral("&Width"), 1450, 100, 1200, 280, dimensionspanel);
    QLabel* depthLabel = label("Label17", QStringLiteral("&Depth"), 2750, 100, 1200, 280, dimensionspanel);
    CLength = textBox("CLength", QStringLiteral(" "), 150, 400, 1150, 330, dimensionspanel);
    CWidth = textBox("CWidth", QStringLiteral(" "), 1450, 400, 1150, 330, dimensionspanel);
    CDepth = textBox("CDepth", QStringLiteral(" "), 2750, 400, 1150, 330, dimensionspanel);
    Calculate = button("Calculate", QStringLiteral("Do &Math"), 4100, 380, 1100, 380, dimensionspanel);
    auto* reminder = label("Label14", QStringLiteral("Don't forget to allow for girdle thickness and other variables"),
                           150, 780, 5150, 280, dimensionspanel);
    gemLine = label("gemLine", QString(), 150, 1040, 5150, 280, dimensionspanel);
    // The two notes in a smaller face, each on its one line below the boxes.
    for (QLabel* note : {reminder, gemLine}) {
        QFont f = note->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        note->setFont(f);
        note->setWordWrap(false);
    }
    lengthLabel->setBuddy(CLength);
    widthLabel->setBuddy(CWidth);
    depthLabel->setBuddy(CDepth);
    dimensionspanel->hide();
}

void WorksheetWindow::onClick(QAbstractButton* b, void (WorksheetWindow::*handler)()) {
    // Setting an option from code raises its click as a user's click does.
    connect(b, &QAbstractButton::toggled, this, [this, handler](bool on) {
        if (on) run([this, handler] { (this->*handler)(); });
    });
}

void WorksheetWindow::connectEntryHandlers() {
    storedText_ = {{Ring, "ring"},
                   {Watch, "watch"},
                   {Bracelet, "bracelet"},
                   {Necklace, "necklace"},
                   {pendant, "pendant"},
                   {Earrings, "pair of earrings"},
                   {Beads, "beads"},
                   {Pearls, "pearls"},
                   {Yellow, "yellow"},
                   {White, "white"},
                   {Pink, "pink"},
                   {twotone, "two tone"},
                   {K18, "18 karat"},
                   {k14, "14 karat"},
                   {k10, "10 karat"},
                   {Platinum, "platinum"},
                   {Sterling, "sterling"},
                   {Mans, "man's"},
                   {Ladys, "lady's"},
                   {DWT, "d"},
                   {Grams, "g"}};
    const char* stoneTexts[] = {"diamond", "amethyst", "aquamarine", "citrine", "emerald", "garnet",
                                "jade",    "lapis",    "opal",       "onyx",    "pearl",   "periodot",
                                "ruby",    "sapphire", "topaz",      "zircon"};
    for (int i = 0; i < 16; ++i) storedText_[stoneOptions[i]] = stoneTexts[i];
    const char* shapeTexts[] = {"round brilliant", "marquise", "emerald", "oval", "pear"};
    for (int i = 0; i < 5; ++i) storedText_[shapeOptions[i]] = shapeTexts[i];

    // Which choice a group gave up last: an "Other" option cancelled gives it back.
    for (QButtonGroup* g : optionGroups())
        connect(g, &QButtonGroup::buttonToggled, this,
                [this, g](QAbstractButton* b, bool on) { justUnchecked_[g] = on ? nullptr : b; });
    // An option group reached by its Alt key starts at its chosen option, or its first: never
    // where the keyboard was in an earlier item.
    for (QGroupBox* f : {typeFrame, metalColorFrame, metalFrame, wearerFrame, unitsFrame, stoneFrame, shapeFrame})
        onShortcut(f, [f] {
            QAbstractButton* to = nullptr;
            for (QRadioButton* o : f->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
                if (o->isVisibleTo(f) && o->isEnabled() && (!to || o->isChecked())) {
                    to = o;
                    if (o->isChecked()) break;
                }
            if (!to) return false;
            to->setFocus(Qt::ShortcutFocusReason);
            return true;
        });

    // The arrow keys move through a group's options and choose the one they reach, as option
    // buttons of the desktop do, from its first option when none was chosen.
    for (QButtonGroup* g : optionGroups())
        for (QAbstractButton* o : g->buttons())
            onKey(o, [g, o](QKeyEvent* e) {
                const int k = e->key();
                if (k != Qt::Key_Down && k != Qt::Key_Up && k != Qt::Key_Left && k != Qt::Key_Right) return false;
                QList<QAbstractButton*> options;
                for (QAbstractButton* b : g->buttons())
                    if (b->isVisible() && b->isEnabled()) options << b;
                const qsizetype at = options.indexOf(o);
                if (at < 0 || options.size() < 2) return true;
                const qsizetype step = k == Qt::Key_Down || k == Qt::Key_Right ? 1 : -1;
                QAbstractButton* to = options[(at + step + options.size()) % options.size()];
                to->setFocus(k == Qt::Key_Up || k == Qt::Key_Left ? Qt::BacktabFocusReason : Qt::TabFocusReason);
                to->setChecked(true);
                return true;
            });

    connect(nextstone, &QPushButton::clicked, this, [this] { run([this] { addOrEndStone(); }); });
    connect(nextitem, &QPushButton::clicked, this, [this] { run([this] { endItem(); }); });
    connect(caratEstimate, &QPushButton::clicked, this, [this] { run([this] { openCaratCalculator(); }); });
    connect(Calculate, &QPushButton::clicked, this, [this] { run([this] { estimateCarats(); }); });
    connect(itemnumber, &QLineEdit::textChanged, this, [this] { run([this] { itemNumberChanged(); }); });

    for (QRadioButton* o : {Ring, Watch, Bracelet, Necklace, pendant, Earrings, Beads, Pearls})
        onClick(o, &WorksheetWindow::typeChosen);
    onClick(OtherType, &WorksheetWindow::nameOtherType);
    onClick(OtherMetal, &WorksheetWindow::nameOtherMetal);
    onClick(OtherMetalColor, &WorksheetWindow::nameOtherMetalColor);
    onClick(stoneOptions.back(), &WorksheetWindow::nameOtherStone);
    onClick(shapeOptions.back(), &WorksheetWindow::nameOtherShape);
    for (int i = 0; i < 4; ++i) // round brilliant, marquise, emerald cut, oval; not pear
        connect(shapeOptions[i], &QAbstractButton::toggled, this, [this](bool on) {
            if (on) Carat->setFocus(Qt::OtherFocusReason);
        });
    for (QRadioButton* o : {Mans, Ladys})
        connect(o, &QAbstractButton::toggled, this, [this](bool on) {
            if (on) Weight->setFocus(Qt::OtherFocusReason);
        });

    onLostFocus(Color, [this] { readColorGrade(); });
    onLostFocus(Clarity, [this] { readClarityGrade(); });
    onLostFocus(Cut, [this] { readCutGrade(); });
    onGotFocus(Price, [this] { enterPrice(); });
    onLostFocus(Price, [this] { leavePrice(); });
    // The measure boxes take numbers; what is not one is said when the box is left.
    for (QLineEdit* box : {Carat, Quantity, Weight, CLength, CWidth, CDepth})
        onLostFocus(box, [this, box] {
            // A box hidden or emptied by the program is not the jeweler's to put right.
            if (box->isVisible()) measureAllows(box);
        });

    // Enter moves on from box to box; the key itself is swallowed. In the measurement panel
    // Escape leaves the panel as it was, back at the carat box.
    auto enterMoves = [this](QLineEdit* from, QWidget* to, bool inPanel = false) {
        onKey(from, [this, to, inPanel](QKeyEvent* e) {
            if (inPanel && e->key() == Qt::Key_Escape) {
                dimensionspanel->hide();
                Carat->setFocus(Qt::OtherFocusReason);
                return true;
            }
            if (!isEnterKey(e)) return false;
            if (to) to->setFocus(Qt::TabFocusReason);
            return true;
        });
    };
    enterMoves(Carat, Quantity);
    enterMoves(Quantity, dimensions);
    enterMoves(dimensions, nullptr);
    enterMoves(CLength, CWidth, true);
    enterMoves(CWidth, CDepth, true);
    enterMoves(CDepth, Calculate, true);
}

void WorksheetWindow::clearGroup(QButtonGroup* g) {
    // An exclusive group keeps its last checked button unless it is made non-exclusive.
    g->setExclusive(false);
    for (QAbstractButton* b : g->buttons()) b->setChecked(false);
    g->setExclusive(true);
    justUnchecked_[g] = nullptr;
}

std::string WorksheetWindow::chosenText(QButtonGroup* g, const std::map<QAbstractButton*, const char*>& texts) const {
    QAbstractButton* b = g->checkedButton();
    auto it = texts.find(b);
    return it != texts.end() ? std::string(it->second) : toAnsi(b->text());
}

void WorksheetWindow::addOrEndStone() {
    if (!stoneOpen_) {
        startstone();
        return;
    }
    const auto slot = slotNumber(toAnsi(stonenumber->text()), maxStone);
    if (!slot) {
        p.messages.show(QStringLiteral("There is no place for stone number %1. Stone numbers go from 0 to %2.")
                            .arg(stonenumber->text().trimmed())
                            .arg(maxStone),
                        {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    if (!measureAllows(Carat) || !measureAllows(Quantity)) return;
    StoneEntry e;
    e.itemno = toAnsi(itemnumber->text());
    e.stoneno = toAnsi(stonenumber->text());
    e.date = toAnsi(datebox->text());
    if (QAbstractButton* kind = stoneGroup->checkedButton()) {
        e.kind = chosenText(stoneGroup, storedText_);
        if (kind->objectName() == QStringLiteral("Ruby") && val(toAnsi(Quantity->text())) > 1) e.kind = "rubies";
        if (kind == stoneOptions.back()) kind->setText(QStringLiteral("Other"));
    }
    if (shapeGroup->checkedButton()) {
        e.shape = chosenText(shapeGroup, storedText_);
        if (shapeGroup->checkedButton() == shapeOptions.back()) shapeOptions.back()->setText(QStringLiteral("Other"));
    }
    e.carat = trim(toAnsi(Carat->text()));
    e.quantity = trim(toAnsi(Quantity->text()));
    e.dimensions = trim(toAnsi(dimensions->text()));
    // The grades are read from the bars themselves: an Alt key ends the stone without taking
    // the focus from the bar last moved, and a bar never moved for this stone is not graded.
    readColorGrade();
    readClarityGrade();
    readCutGrade();
    e.clarity = tables_.claritygrade;
    e.color = tables_.colorgrade;
    e.cut = tables_.cutgrade;
    // Kept with the item being entered until the item is ended.
    std::string record = tables_.stones[*slot];
    storeStone(record, e);
    pendingStones_.add(*slot, std::move(record));
    stonenumber->setText(fromAnsi(std::string(trim(str(*slot + 1)))));
    clearstone();
    // On to the next stone: Enter or Space adds it.
    nextstone->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::startstone() {
    stoneOpen_ = true;
    entryKeys_.setCaption(nextstone, QStringLiteral("End Sto&ne"));
    custname->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{stoneFrame, stonenumber, shapeFrame, Clarity, Cut, Color, Carat,
                                                      Quantity, dimensions, caratEstimate, nextstone})
        w->show();
    for (QLabel* l : stoneLabels) l->show();
    showAllItems();
    // A new stone's measurements start empty: the last stone's would be typed onto.
    for (QLineEdit* e : {CLength, CWidth, CDepth}) e->setText(QStringLiteral(" "));
    QAbstractButton* kind = stoneGroup->checkedButton();
    (kind ? kind : stoneOptions.front())->setFocus(Qt::OtherFocusReason);
}

void WorksheetWindow::clearstone() {
    custname->show();
    clearGroup(stoneGroup);
    stoneFrame->hide();
    clearGroup(shapeGroup);
    shapeFrame->hide();
    for (QLabel* l : stoneLabels) l->hide();
    for (GradeBar* s : {Clarity, Cut, Color}) {
        s->reset();
        s->hide();
    }
    for (QLineEdit* e : {Carat, Quantity, dimensions}) {
        e->setText(QString());
        e->hide();
    }
    stonenumber->hide();
    caratEstimate->hide();
    showAllItems();
    stoneOpen_ = false;
    entryKeys_.setCaption(nextstone, QStringLiteral("Add a sto&ne"));
}

void WorksheetWindow::endItem() {
    const auto slot = slotNumber(toAnsi(itemnumber->text()), maxItem);
    if (!slot) {
        p.messages.show(QStringLiteral("There is no place for item number %1. Item numbers go from 0 to %2.")
                            .arg(itemnumber->text().trimmed())
                            .arg(maxItem),
                        {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    tables_.curitem = *slot;
    if (stoneGroup->checkedButton()) {
        if (p.messages.show(QStringLiteral("You have a stone that has not been saved. Do you want to erase it?"), {},
                            Buttons::YesNo, Icon::Question) == Answer::Yes)
            clearstone();
        return;
    }
    // The weight and price as the jeweler meant them, read here too: an Alt key ends the item
    // without the box losing the focus.
    if (!measureAllows(Weight)) return;
    if (!Price->text().trimmed().isEmpty() && !formatPrice()) return;
    if (!entryHoldsSomething()) {
        p.messages.show(QStringLiteral("Item %1 has nothing entered. Choose its type of item, or type its weight or "
                                       "price, before you end it.")
                            .arg(*slot),
                        {}, Buttons::Ok, Icon::Information);
        return;
    }
    if (val(fieldText(tables_.items[*slot], itemrec::itemno)) > 0 &&
        p.messages.show(QStringLiteral("Item %1 is %2. Replace it?").arg(*slot).arg(itemDescription(*slot)), {},
                        Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes)
        return; // both kept: the stored item, and what is on the screen
    auto chosen = [this](QButtonGroup* g) -> std::optional<std::string> {
        if (!g->checkedButton()) return std::nullopt;
        return chosenText(g, storedText_);
    };
    ItemEntry e;
    e.itemno = toAnsi(itemnumber->text());
    e.date = trim(toAnsi(datebox->text()));
    e.custno = trim(cust_.custnumber);
    e.itemtype = chosen(typeGroup);
    e.metalcolor = chosen(metalColorGroup);
    e.metal = chosen(metalGroup);
    e.wearer = chosen(wearerGroup);
    e.weight = trim(toAnsi(Weight->text()));
    e.weightunit = chosen(unitsGroup);
    e.price = trim(toAnsi(Price->text()));
    storeItem(tables_.items[*slot], e);
    pendingStones_.commit(tables_, e.itemno);
    document_.itemEnded(*slot);
    seetext->show();
    showAllItems();
    logitem(*slot);
    // The panels are cleared first: the next number then shows that item, as a number typed does.
    clearitem();
    itemnumber->setText(fromAnsi(str(*slot + 1)));
    clearitem();
}

void WorksheetWindow::logitem(int16_t slot) {
    try {
        logItem(tables_.items[slot], [this] { p.screen.doEvents(); });
    } catch (const RunError& e) {
        // The item stays in the appraisal; only the running log missed it.
        const QString why = e.number() == err::Overflow
                                ? QStringLiteral("The item log appraise.dat is full (32767 items).")
                                : QStringLiteral("The item log appraise.dat could not be written: %1.")
                                      .arg(QString::fromStdString(e.description()));
        p.messages.show(why + QStringLiteral(" The item is kept in this appraisal."), {}, Buttons::Ok,
                        Icon::Exclamation);
    }
}

void WorksheetWindow::itemNumberChanged() {
    const auto n = slotNumber(toAnsi(itemnumber->text()), maxItem);
    if (!n || *n == tables_.lastitem) return; // a number without a slot is refused when stored
    tables_.curitem = *n;
    // What the jeweler has begun stays on the worksheet, to be ended under the number typed.
    if (!itemInProgress()) loaditem();
    tables_.lastitem = tables_.curitem;
}

void WorksheetWindow::loaditem() {
    clearitem();
    const std::string& rec = tables_.items[tables_.curitem];
    if (val(fieldText(rec, itemrec::itemno)) == 0) return;
    itemnumber->setText(fromAnsi(fieldText(rec, itemrec::itemno)));
    datebox->setText(fromAnsi(fieldText(rec, itemrec::date)));
    cust_.custnumber = std::string(fieldText(rec, itemrec::custno));
    if (trim(fieldText(rec, itemrec::itemtype)) == "ring") Ring->setChecked(true);
    entryShown_ = entryState();
}

void WorksheetWindow::clearitem() {
    clearGroup(typeGroup);
    clearGroup(metalColorGroup);
    clearGroup(metalGroup);
    for (QRadioButton* o : {OtherMetalColor, OtherMetal, OtherType}) o->setText(QStringLiteral("Other"));
    for (QWidget* w : std::initializer_list<QWidget*>{stoneFrame, shapeFrame, Clarity, Cut, Color, Carat, caratEstimate,
                                                      Quantity, dimensions, nextstone})
        w->hide();
    for (QLabel* l : stoneLabels) l->hide();
    Weight->setText(QString());
    Price->setText(QString());
    clearGroup(wearerGroup);
    clearGroup(unitsGroup);
    entryShown_ = entryState();
}

std::string WorksheetWindow::entryState() const {
    std::string s;
    for (QButtonGroup* g : optionGroups()) {
        const QAbstractButton* b = g->checkedButton();
        s += b ? toAnsi(b->objectName() + '=' + b->text()) : std::string();
        s += '\n';
    }
    for (const QLineEdit* e : {Weight, Price, Carat, Quantity, dimensions}) s += toAnsi(e->text().trimmed()) + '\n';
    for (const GradeBar* bar : {Color, Clarity, Cut})
        s += bar->isGraded() ? std::to_string(bar->value()) + '\n' : std::string("-\n");
    s += std::to_string(pendingStones_.size());
    return s;
}

bool WorksheetWindow::stoneInProgress() const {
    if (stoneFrame->isHidden()) return false;
    return stoneGroup->checkedButton() || shapeGroup->checkedButton() || !Carat->text().trimmed().isEmpty() ||
           !Quantity->text().trimmed().isEmpty() || !dimensions->text().trimmed().isEmpty() || Color->isGraded() ||
           Clarity->isGraded() || Cut->isGraded();
}

bool WorksheetWindow::entryHoldsSomething() const {
    // What an appraisal's wording shows of an item: a unit of weight alone, or a price of 0, is
    // nothing to compose.
    // A price counts as the jeweler means it ("$6,500"), and so does one not yet put right.
    const auto price = readPrice(toAnsi(Price->text()));
    const bool priced = !Price->text().trimmed().isEmpty() && (!price || val(*price) != 0);
    return typeGroup->checkedButton() || metalColorGroup->checkedButton() || metalGroup->checkedButton() ||
           wearerGroup->checkedButton() || !Weight->text().trimmed().isEmpty() || priced || !pendingStones_.empty() ||
           stoneInProgress();
}

bool WorksheetWindow::itemInProgress() const {
    return !pendingStones_.empty() || (entryHoldsSomething() && entryState() != entryShown_);
}

void WorksheetWindow::discardEntry() {
    pendingStones_.clear();
    if (!stoneFrame->isHidden() || stoneOpen_) clearstone();
    clearitem();
}

bool WorksheetWindow::endItemInProgress() {
    if (stoneInProgress()) {
        addOrEndStone();
        if (stoneInProgress()) return false;
    }
    endItem();
    return !itemInProgress();
}

bool WorksheetWindow::itemInProgressSettled() {
    if (!itemInProgress()) return true;
    const int16_t n = slotNumber(toAnsi(itemnumber->text()), maxItem).value_or(tables_.curitem);
    switch (p.messages.show(QStringLiteral("Item %1 has not been ended. End it now?").arg(n), {}, Buttons::YesNoCancel,
                            Icon::Question)) {
    case Answer::Yes: return endItemInProgress();
    case Answer::No: return true; // left as it is: leaving drops it, staying keeps it
    default: return false;
    }
}

void WorksheetWindow::typeChosen() {
    nextstone->show();
    appraisalist->hide();
}

void WorksheetWindow::askOtherName(QButtonGroup* group, QAbstractButton* other, const QString& prompt) {
    QAbstractButton* before = justUnchecked_[group];
    const QString name = p.input.ask(prompt);
    QAbstractButton* focusTo = other;
    if (!name.trimmed().isEmpty()) {
        other->setText(name);
    } else {
        // Cancelled: the option keeps its caption and the group what it had chosen before.
        if (before && before != other) before->setChecked(true);
        else clearGroup(group);
        if (before) focusTo = before;
    }
    // The focus back on the group once the click or arrow key that chose the option is done
    // (an arrow key moves the focus after the choice it makes).
    QMetaObject::invokeMethod(
        focusTo, [focusTo] { focusTo->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
}

void WorksheetWindow::nameOtherType() {
    askOtherName(typeGroup, OtherType, QStringLiteral("Type of item:"));
    if (!typeGroup->checkedButton()) return;
    nextstone->show();
    appraisalist->hide();
}

void WorksheetWindow::nameOtherMetal() { askOtherName(metalGroup, OtherMetal, QStringLiteral("Metal:")); }

void WorksheetWindow::nameOtherMetalColor() {
    askOtherName(metalColorGroup, OtherMetalColor, QStringLiteral("Metal color:"));
}

void WorksheetWindow::nameOtherStone() { askOtherName(stoneGroup, stoneOptions.back(), QStringLiteral("Stone :")); }

void WorksheetWindow::nameOtherShape() {
    askOtherName(shapeGroup, shapeOptions.back(), QStringLiteral("Shape"));
    if (shapeGroup->checkedButton() == shapeOptions.back())
        QMetaObject::invokeMethod(
            Carat, [this] { Carat->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
}

void WorksheetWindow::readColorGrade() { tables_.colorgrade = Color->grade(); }
void WorksheetWindow::readClarityGrade() { tables_.claritygrade = Clarity->grade(); }
void WorksheetWindow::readCutGrade() { tables_.cutgrade = Cut->grade(); }

void WorksheetWindow::enterPrice() { Price->setText(fromAnsi(trim(toAnsi(Price->text())))); }

void WorksheetWindow::leavePrice() {
    // An empty price stays empty: the item may have none.
    if (Price->isVisible() && !Price->text().trimmed().isEmpty()) formatPrice();
}

void WorksheetWindow::refuseInto(QLineEdit* box, const QString& why, bool afterFocusChange) {
    p.messages.show(why, {}, Buttons::Ok, Icon::Exclamation);
    auto back = [box] {
        if (!box->isVisible()) return;
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    };
    // Inside a focus change the box cannot take the focus back until the change is done.
    if (afterFocusChange) QMetaObject::invokeMethod(box, back, Qt::QueuedConnection);
    else back();
}

bool WorksheetWindow::formatPrice() {
    const bool inFocusChange = QApplication::focusWidget() != Price;
    const auto plain = readPrice(toAnsi(Price->text()));
    if (!plain) {
        // The price stays as typed, to be put right.
        refuseInto(Price,
                   QStringLiteral("\"%1\" is not a price. Type it in digits, for example 2450.00 or 2,450.00.")
                       .arg(Price->text().trimmed()),
                   inFocusChange);
        return false;
    }
    Money m;
    try {
        m = Money::fromText(*plain);
    } catch (const RunError&) {
        refuseInto(Price, QStringLiteral("This price is too large."), inFocusChange);
        return false;
    }
    Price->setText(fromAnsi(trim(formatPicture(m, "######0.00"))));
    return true;
}

std::array<QButtonGroup*, 7> WorksheetWindow::optionGroups() const {
    return {typeGroup, metalColorGroup, metalGroup, wearerGroup, unitsGroup, stoneGroup, shapeGroup};
}

bool WorksheetWindow::measureAllows(QLineEdit* box) {
    // What each box measures, and the width of the field it is stored in (the calculator's
    // measurements are stored only through the dimensions they make).
    const Measure kind = box == Carat      ? Measure::Carat
                         : box == Quantity ? Measure::Quantity
                         : box == Weight   ? Measure::Weight
                                           : Measure::Millimetres;
    const size_t width = box == Carat      ? stonerec::carat.width
                         : box == Quantity ? stonerec::quantity.width
                         : box == Weight   ? itemrec::weight.width
                                           : 10;
    const std::string typed = toAnsi(box->text());
    const auto number = readMeasure(typed, kind, width);
    if (!number) {
        refuseInto(box, fromAnsi(measureRefusal(typed, kind, width)), QApplication::focusWidget() != box);
        return false;
    }
    // "3,2" is shown, stored and printed as 3.2; blanks around a number are kept as typed.
    if (*number != std::string(trim(typed)) && !number->empty()) box->setText(fromAnsi(*number));
    return true;
}

QString WorksheetWindow::itemDescription(int16_t slot) const {
    const std::string& rec = tables_.items[slot];
    QString type = fromAnsi(std::string(trim(fieldText(rec, itemrec::itemtype)))).remove(QChar(0));
    type = type.isEmpty() ? QStringLiteral("an item") : QStringLiteral("a ") + type.left(1).toUpper() + type.mid(1);
    if (type.startsWith(QStringLiteral("a ")) && QStringLiteral("AEIOU").contains(type.at(2))) type.insert(1, 'n');
    std::string price(trim(fieldText(rec, itemrec::price)));
    price.erase(std::remove(price.begin(), price.end(), '\0'), price.end());
    if (price.empty() || val(price) == 0) return type;
    return type + QStringLiteral(" of ") + fromAnsi(groupedPrice(price));
}

QString WorksheetWindow::chosenGem() const {
    for (QRadioButton* o : stoneOptions)
        if (o->isChecked() && specificGravity(o->objectName().toStdString())) return o->objectName();
    return QStringLiteral("Diamond");
}

void WorksheetWindow::openCaratCalculator() {
    // Below the Weight box, clear of it and of the Carat box the estimate goes to.
    dimensionspanel->move(tw(3820), tw(2960));
    const QString gem = chosenGem();
    QString line = QStringLiteral("Estimated as %1, specific gravity %2")
                       .arg(gem.toLower())
                       .arg(*specificGravity(gem.toStdString()), 0, 'f', 2);
    if (gem != QStringLiteral("Diamond")) line += QStringLiteral(" (diamond %1)").arg(diamondGravity, 0, 'f', 2);
    gemLine->setText(line);
    dimensionspanel->show();
    p.screen.doEvents();
    dimensionspanel->raise();
    CLength->setFocus(Qt::OtherFocusReason);
    // What the box holds is typed over, not onto.
    CLength->selectAll();
}

void WorksheetWindow::estimateCarats() {
    // A decimal comma is read as the point it stands for ("6,5" is 6.5 mm); words are refused.
    for (QLineEdit* box : {CLength, CWidth, CDepth})
        if (!measureAllows(box)) return;
    Measurements m{toAnsi(CLength->text()), toAnsi(CWidth->text()), toAnsi(CDepth->text())};
    if (!completeMeasurements(m)) {
        p.messages.show(QStringLiteral("Not enough information to calulate weight"));
        return;
    }
    CWidth->setText(fromAnsi(m.width));
    CLength->setText(fromAnsi(m.length));
    StoneShape shape = StoneShape::None;
    const StoneShape shapes[] = {StoneShape::RoundBrilliant, StoneShape::Marquise, StoneShape::EmeraldCut,
                                 StoneShape::Oval,           StoneShape::Pear,     StoneShape::Other};
    for (int i = 0; i < 6; ++i)
        if (shapeOptions[i]->isChecked()) shape = shapes[i];
    if (shape == StoneShape::None || shape == StoneShape::Other) {
        // The measurements stay in the panel for the next Do Math.
        dimensionspanel->hide();
        if (shape == StoneShape::None) {
            p.messages.show(QStringLiteral("Choose the stone's shape first: the estimate depends on it."), {},
                            Buttons::Ok, Icon::Exclamation);
            shapeOptions.front()->setFocus(Qt::OtherFocusReason);
        } else {
            p.messages.show(QStringLiteral("There is no estimate for the shape \"%1\". Type the carat weight in the "
                                           "Carat box.")
                                .arg(shapeOptions.back()->text()),
                            {}, Buttons::Ok, Icon::Exclamation);
            Carat->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    if (shape == StoneShape::Oval) p.messages.show(QStringLiteral("Oval"));
    std::optional<CaratEstimate> est;
    try {
        est = estimateCarat(m, shape, *specificGravity(chosenGem().toStdString()));
    } catch (const RunError&) {
        p.messages.show(QStringLiteral("These measurements give an estimate too large to hold. Nothing was written."),
                        {}, Buttons::Ok, Icon::Exclamation);
        return;
    }
    const double largest = std::max({val(m.length), val(m.width), val(m.depth)});
    if (est && (est->carat.toDouble() > 100 || largest > 100) &&
        p.messages.show(QStringLiteral("The estimate is %1 ct from %2, more than any stone set in jewelry. Use it?")
                            .arg(fromAnsi(caratText(est->carat)), fromAnsi(est->dimensions)),
                        {}, Buttons::YesNo, Icon::Question, Answer::No) != Answer::Yes) {
        CLength->setFocus(Qt::OtherFocusReason);
        CLength->selectAll();
        return;
    }
    if (est) {
        Carat->setText(fromAnsi(caratText(est->carat)));
        dimensions->setText(fromAnsi(est->dimensions));
        Quantity->setText(QStringLiteral("1"));
    }
    dimensionspanel->hide();
    // On with the stone: its grades come next.
    Color->setFocus(Qt::OtherFocusReason);
}

} // namespace appraise
