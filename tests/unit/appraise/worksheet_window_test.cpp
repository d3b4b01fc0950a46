#include "appraise/worksheet_window.h"
#include "platform/doubles/scripted_platform.h"
#include "tests/support/temp_folder.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace common;
using namespace platform;
using namespace appraise;
using namespace testsupport;

namespace {
// A worksheet opened on a small store, with every box answered from queues.
class WorksheetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        putFile("align.fac", "48\r\n");
        putFile("bordsize.dat", "50\r\n");
        putFile("apptrans.dat", "Ann\r\n1 Main\r\nTown\r\n12\r\n");
        setup.today = QDate(2026, 12, 7);
        platform = std::make_unique<ScriptedPlatform>(setup, transcript);
        w = std::make_unique<WorksheetWindow>(platform->platform());
        w->load();
        lines.clear();
    }
    QAbstractButton* button(const char* name) { return w->findChild<QAbstractButton*>(name); }
    QLineEdit* box(const char* name) { return w->findChild<QLineEdit*>(name); }
    QScrollBar* bar(const char* name) { return w->findChild<QScrollBar*>(name); }
    void click(const char* name) { button(name)->click(); }
    std::string stoneField(int slot, Field f) { return std::string(fieldText(w->tables().stones[slot], f)); }
    std::string itemField(int slot, Field f) { return std::string(fieldText(w->tables().items[slot], f)); }
    void endStone(const char* kind, const char* quantity) {
        click("nextstone");
        click(kind);
        box("Quantity")->setText(quantity);
        click("nextstone");
    }
    // Ends the item on the worksheet (a ring, unless a type was chosen): its stones join the
    // appraisal's table.
    void endItem() {
        if (!button("Ring")->isChecked() && !button("Watch")->isChecked()) click("Ring");
        click("nextitem");
    }

    TempFolder tmp;
    std::vector<std::string> lines;
    Transcript transcript{[this](const std::string& s) { lines.push_back(s); }};
    ScriptSetup setup;
    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<WorksheetWindow> w;
};
} // namespace

TEST_F(WorksheetTest, RubyHasThePluralOnly) {
    endStone("Ruby", "2");
    endStone("Ruby", "1.0");
    endStone("Ruby", "");
    endStone("Diamond", "3");
    endItem();
    EXPECT_EQ(stoneField(1, stonerec::kind), padded("rubies", 30));
    EXPECT_EQ(stoneField(2, stonerec::kind), padded("ruby", 30));
    EXPECT_EQ(stoneField(3, stonerec::kind), padded("ruby", 30));
    EXPECT_EQ(stoneField(4, stonerec::kind), padded("diamond", 30));
    EXPECT_EQ(stoneField(4, stonerec::quantity), "3  ");
    EXPECT_EQ(stoneField(4, stonerec::stoneno), "4  ");
    EXPECT_EQ(stoneField(4, stonerec::itemno), "1  ");
    EXPECT_EQ(stoneField(4, stonerec::date), "12-7-26 ");
    EXPECT_EQ(w->tables().curstone, 4);
    EXPECT_EQ(box("stonenumber")->text(), "5");
}

TEST_F(WorksheetTest, OtherStoneStoresItsCaptionThenReadsOtherAgain) {
    platform->queueInput(QStringLiteral("Tanzanite, a very long name beyond thirty"));
    click("nextstone");
    click("OtherStone");
    EXPECT_EQ(button("OtherStone")->text(), "Tanzanite, a very long name beyond thirty");
    click("nextstone");
    endItem();
    EXPECT_EQ(stoneField(1, stonerec::kind), "Tanzanite, a very long name be");
    EXPECT_EQ(button("OtherStone")->text(), "Other");
}

TEST_F(WorksheetTest, CancelledOtherKeepsItsCaptionAndTheChoiceBefore) {
    click("nextstone");
    click("Oval");
    platform->queueInput(std::nullopt);
    click("OtherShape");
    EXPECT_EQ(button("OtherShape")->text(), "Other");
    EXPECT_TRUE(button("Oval")->isChecked());
    EXPECT_FALSE(button("OtherShape")->isChecked());
    // With no choice before, the group has none again; a blank name is no name.
    platform->queueInput(QStringLiteral("   "));
    click("OtherStone");
    EXPECT_EQ(button("OtherStone")->text(), "Other");
    EXPECT_FALSE(button("OtherStone")->isChecked());
    click("nextstone");
    endItem();
    EXPECT_EQ(stoneField(1, stonerec::shape), padded("oval", 20));
    EXPECT_EQ(stoneField(1, stonerec::kind), std::string(30, '\0'));
}

TEST_F(WorksheetTest, GradesAreReadFromTheBarsAndNeverCarriedOver) {
    click("nextstone");
    bar("Color")->setValue(793);
    bar("Clarity")->setValue(16385);
    bar("Cut")->setValue(30126);
    // No bar lost the focus: the stone is ended as an Alt key ends it.
    click("nextstone");
    EXPECT_EQ(bar("Color")->value(), 0);
    click("nextstone");
    EXPECT_EQ(w->findChild<QLabel*>("colorshown")->text(), "not graded");
    click("nextstone");
    endItem();
    EXPECT_EQ(stoneField(1, stonerec::color), padded("E", 15));
    EXPECT_EQ(stoneField(2, stonerec::color), padded("", 15));
    EXPECT_EQ(stoneField(2, stonerec::clarity), padded("", 15));
    EXPECT_EQ(stoneField(2, stonerec::cut), padded("", 15));
    EXPECT_EQ(stoneField(2, stonerec::kind), std::string(30, '\0')); // no kind chosen: never stored
    EXPECT_EQ(stoneField(1, stonerec::clarity), padded("SI1", 15));
    EXPECT_EQ(stoneField(1, stonerec::cut), padded("Poor", 15));
}

TEST_F(WorksheetTest, GradeAtPositionZeroIsTakenOnceChosen) {
    click("nextstone");
    auto* color = static_cast<GradeBar*>(bar("Color"));
    QTest::keyClick(color, Qt::Key_Left); // D is already under the thumb
    EXPECT_TRUE(color->isGraded());
    QTest::keyClick(bar("Cut"), Qt::Key_Delete);
    click("nextstone");
    endItem();
    EXPECT_EQ(stoneField(1, stonerec::color), padded("D", 15));
    EXPECT_EQ(stoneField(1, stonerec::cut), padded("", 15));
}

TEST_F(WorksheetTest, UnsavedStoneQuestion) {
    click("Ring");
    click("nextstone");
    click("Emerald");
    platform->queueMessageAnswer(Answer::No);
    click("nextitem");
    EXPECT_TRUE(button("Emerald")->isChecked());
    EXPECT_EQ(itemField(1, itemrec::itemno), std::string(3, '\0'));
    platform->queueMessageAnswer(Answer::Yes);
    click("nextitem");
    EXPECT_FALSE(button("Emerald")->isChecked());
    EXPECT_EQ(platform::withoutMnemonic(button("nextstone")->text()), "Add a stone");
    EXPECT_EQ(itemField(1, itemrec::itemno), std::string(3, '\0'));
    click("nextitem");
    EXPECT_EQ(itemField(1, itemrec::itemno), "1  ");
    EXPECT_EQ(itemField(1, itemrec::itemtype), padded("ring", 30));
}

TEST_F(WorksheetTest, StoneNumberWithoutASlotIsRefused) {
    click("nextstone");
    click("Opal");
    box("stonenumber")->setText("201");
    click("nextstone");
    EXPECT_EQ(box("stonenumber")->text(), "201");
    EXPECT_EQ(platform::withoutMnemonic(button("nextstone")->text()), "End Stone");
    EXPECT_TRUE(button("Opal")->isChecked());
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("Stone numbers go from 0 to 200."), std::string::npos);
    box("stonenumber")->setText("200");
    click("nextstone");
    endItem();
    EXPECT_EQ(stoneField(200, stonerec::kind), padded("opal", 30));
}

TEST_F(WorksheetTest, ItemNumberWithoutASlotIsRefused) {
    click("Watch");
    box("itemnumber")->setText("101");
    click("nextitem");
    EXPECT_EQ(box("itemnumber")->text(), "101");
    EXPECT_TRUE(button("Watch")->isChecked());
    EXPECT_NE(lines.back().find("Item numbers go from 0 to 100."), std::string::npos);
    EXPECT_FALSE(QFile::exists("appraise.dat"));
}

TEST_F(WorksheetTest, EstimateTooLargeWritesNothing) {
    click("nextstone");
    click("Pear");
    box("Carat")->setText("2");
    box("CLength")->setText("9999999999");
    box("CWidth")->setText("9999999999");
    box("CDepth")->setText("9999999999");
    click("c");
    click("Calculate");
    EXPECT_EQ(box("Carat")->text(), "2");
    EXPECT_NE(lines.back().find("too large"), std::string::npos);
}

// Run at the screen scale the environment gives (the suite runs it at 1 and at 2).
TEST_F(WorksheetTest, GradeBarGradeUnderEachLabelAtAnyWidth) {
    w->show();
    click("Ring");
    click("nextstone");
    const std::pair<const char*, const char*> rows[] = {{"Color", "Label6"}, {"Clarity", "Label7"}, {"Cut", "Label5"}};
    for (const auto& [barName, scaleName] : rows) {
        auto* bar = w->findChild<GradeBar*>(barName);
        auto* scale = w->findChild<GradeScaleLabel*>(scaleName);
        ASSERT_TRUE(bar && scale && bar->isVisible() && scale->isVisible());
        const int wide = bar->width();
        for (int width : {wide, wide * 2 / 3, wide * 3 / 2}) {
            bar->resize(width, bar->height());
            scale->resize(width, scale->height());
            const auto centres = scale->labelCentres();
            ASSERT_EQ(centres.size(), gradeRanges(bar->scale()).size());
            for (const auto& [x, range] : centres) {
                // The thumb placed under the label's centre as the scale draws it.
                const int atBar = bar->mapFrom(w.get(), scale->mapTo(w.get(), QPoint(x, 0))).x();
                bar->setValue(bar->valueAtX(atBar));
                EXPECT_EQ(gradeAt(bar->scale(), bar->value()), range.grade) << barName << " width " << width;
            }
        }
        bar->resize(wide, bar->height());
        scale->resize(wide, scale->height());
    }
}

TEST_F(WorksheetTest, GradeBarKeysStepThroughEveryGradeInOrder) {
    w->show();
    click("Ring");
    click("nextstone");
    const std::pair<const char*, const char*> rows[] = {
        {"Color", "colorshown"}, {"Clarity", "clarityshown"}, {"Cut", "cutshown"}};
    for (const auto& [barName, shownName] : rows) {
        auto* bar = w->findChild<GradeBar*>(barName);
        auto* shown = w->findChild<QLabel*>(shownName);
        const auto& ranges = gradeRanges(bar->scale());
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Home);
        for (size_t i = 0; i < ranges.size(); ++i) {
            EXPECT_EQ(bar->value(), ranges[i].middle()) << barName << " " << i;
            EXPECT_EQ(shown->text().toStdString(), ranges[i].grade);
            QTest::keyClick(bar, i % 2 ? Qt::Key_Right : Qt::Key_PageDown);
        }
        EXPECT_EQ(bar->value(), ranges.back().middle()); // held at the end
        QTest::keyClick(bar, Qt::Key_Left);
        EXPECT_EQ(bar->value(), ranges[ranges.size() - 2].middle());
        QTest::keyClick(bar, Qt::Key_Home);
        QTest::keyClick(bar, Qt::Key_Up);
        EXPECT_EQ(bar->value(), ranges.front().middle());
    }
    // What the keys chose is what the stone stores.
    click("Diamond");
    w->findChild<GradeBar*>("Clarity")->setFocus();
    QTest::keyClick(w->findChild<GradeBar*>("Clarity"), Qt::Key_End);
    QTest::keyClick(w->findChild<GradeBar*>("Clarity"), Qt::Key_Left);
    w->findChild<QLineEdit*>("Carat")->setFocus();
    QCoreApplication::processEvents();
    w->readClarityGrade();
    click("nextstone");
    endItem();
    EXPECT_EQ(stoneField(1, stonerec::clarity), padded("I2", 15));
}

TEST_F(WorksheetTest, InsertListOpensBesideItsButtonWithEveryEntryInSight) {
    w->show();
    auto* list = w->findChild<QListWidget*>("whichinsert");
    auto* format = button("FormatList");
    click("FormatList");
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->y(), format->y() + format->height());
    EXPECT_EQ(list->x(), format->x());
    ASSERT_EQ(list->count(), 12); // the passages, the print settings, the grading scales, the purposes
    for (int i = 0; i < list->count(); ++i)
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(i)))) << i;
    // Opened from the text's row of buttons, it stands just above that button.
    click("Ring");
    click("nextitem");
    click("seetext");
    click("formatlist2");
    auto* format2 = button("formatlist2");
    EXPECT_EQ(list->y() + list->height(), format2->y());
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(8))));
}

TEST(MnemonicTest, MarkersAndLiteralAmpersands) {
    using platform::mnemonicOf;
    using platform::withoutMnemonic;
    EXPECT_EQ(withoutMnemonic("Add a sto&ne"), "Add a stone");
    EXPECT_EQ(withoutMnemonic("Smith && Jones"), "Smith & Jones");
    EXPECT_EQ(withoutMnemonic("End &"), "End &"); // a trailing marker marks nothing
    EXPECT_EQ(mnemonicOf("Sh&ape"), QChar('A'));
    EXPECT_EQ(mnemonicOf("R && &D"), QChar('D'));
    EXPECT_TRUE(mnemonicOf("R && D").isNull());
    EXPECT_TRUE(mnemonicOf("End &").isNull());
}

TEST(MnemonicTest, SilentGroupKeepsCaptionsAndLaterChanges) {
    QPushButton b;
    QLabel l;
    platform::MnemonicGroup g;
    g.setCaption(&b, "&Start");
    g.setCaption(&l, "R && &D");
    g.setActive(false);
    EXPECT_EQ(b.text(), "Start");
    EXPECT_EQ(l.text(), "R && D"); // still one ampersand on screen
    g.setCaption(&b, "&Posting");  // a change while silent stays silent
    EXPECT_EQ(b.text(), "Posting");
    g.setActive(true);
    EXPECT_EQ(b.text(), "&Posting");
    EXPECT_EQ(l.text(), "R && &D");
}

TEST(WorksheetWidthTest, NarrowPaperDoesNotCutOffTheEntryOfItems) {
    TempFolder tmp;
    putFile("align.fac", "48\r\n");
    putFile("bordsize.dat", "50\r\n");
    putFile("apptrans.dat", "Ann\r\n1 Main\r\nTown\r\n12\r\n");
    ScriptSetup setup;
    setup.today = QDate(2026, 12, 7);
    // A4 with a quarter-inch offset: a shorter printed line than letter paper.
    setup.geometry = {11906, 16838, 360, 360, 11906 - 720, 16838 - 720};
    Transcript transcript{[](const std::string&) {}};
    ScriptedPlatform platform(setup, transcript);
    WorksheetWindow w(platform.platform());
    w.load();
    w.findChild<QAbstractButton*>("nextstone")->click(); // the stone panel reaches furthest right
    for (const char* name : {"dimensions", "custname", "seetext", "appraisalist"}) {
        auto* c = w.findChild<QWidget*>(name);
        EXPECT_LE(c->geometry().right(), w.width()) << name;
    }
}

// At a screen scale of 2 a 1280-pixel screen is 640 pixels wide: the entry of items, with a
// stone open, fits beside the scroll bar (the screen's width less the frame).
TEST_F(WorksheetTest, EntryOfItemsFitsAScaledScreenBesideItsScrollBar) {
    w->show();
    click("Ring");
    click("nextstone");
    click("c");
    auto* scroll = w->findChild<QScrollArea*>("worksheetScroll");
    ASSERT_TRUE(scroll);
    int right = 0;
    for (QWidget* c : scroll->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (c->isVisible()) right = std::max(right, c->geometry().right() + 1);
    EXPECT_LE(right + scroll->verticalScrollBar()->sizeHint().width(), 640 - 8);
}

TEST_F(WorksheetTest, TheMeasurementPanelOpensClearOfTheWeightAndCaratBoxes) {
    click("Ring");
    click("nextstone");
    click("Oval");
    click("c");
    auto* panel = w->findChild<QWidget*>("dimensionspanel");
    ASSERT_TRUE(panel && !panel->isHidden());
    for (const char* name : {"Weight", "Carat"}) {
        QWidget* b = box(name);
        const QRect boxAt(b->mapTo(w.get(), QPoint(0, 0)), b->size());
        const QRect panelAt(panel->mapTo(w.get(), QPoint(0, 0)), panel->size());
        EXPECT_FALSE(panelAt.intersects(boxAt)) << name;
    }
}

// Pictures dropped from the file manager go to the item in the Item number box; other files are
// not taken, and nothing is taken while the text covers the worksheet.
TEST_F(WorksheetTest, PicturesDroppedOnTheWorksheetGoWithTheItem) {
    QImage red(30, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QStringLiteral("drop.png"), "PNG"));
    putFile("notes.txt", "not a picture\r\n");
    auto drop = [&](const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QDir::current().absoluteFilePath(file))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &event);
        return true;
    };
    auto note = [&] { return w->findChild<QLabel*>("photoNote")->text(); };
    EXPECT_FALSE(drop(QStringLiteral("notes.txt")));
    EXPECT_TRUE(drop(QStringLiteral("drop.png")));
    EXPECT_EQ(note(), QStringLiteral("Item 1: 1 picture")) << (lines.empty() ? "" : lines.back());
    box("itemnumber")->setText(QStringLiteral("2"));
    EXPECT_EQ(note(), QString()); // item 2 has none
    box("itemnumber")->setText(QStringLiteral("1"));
    EXPECT_EQ(note(), QStringLiteral("Item 1: 1 picture"));
    endItem();
    click("seetext");
    ASSERT_FALSE(w->findChild<QWidget*>("Text1")->isHidden());
    EXPECT_FALSE(drop(QStringLiteral("drop.png")));
}
