#include "tests/walker/worksheet_model.h"

#include "appraise/documents/composition.h"
#include "appraise/worksheet_window.h"
#include "common/basic_number.h"
#include "common/fixed_field.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

namespace walker {

using appraise::WorksheetTables;
using platform::FormWindow;

namespace {

void writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray crlf(std::initializer_list<const char*> lines) {
    QByteArray bytes;
    for (const char* l : lines) bytes += QByteArray(l) + "\r\n";
    return bytes;
}

} // namespace

void writeAppraiseStore() {
    writeFile(QStringLiteral("align.fa1"),
              crlf({"48", "70", "70", "70", "450", "35", "1000", "40", "2600", "35", "2300",
                    "60", "50", " ",  " ",  " ",   " ",  " ",    " ",  " ",    " ",  " "}));
    writeFile(QStringLiteral("bordsize.dat"), crlf({"50"}));
    // A 2 x 1 pixel 24-bit bitmap standing in for the store's logo.
    static const unsigned char logo[] = {0x42, 0x4d, 0x3e, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00,
                                         0x00, 0x28, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                                         0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x13,
                                         0x0b, 0x00, 0x00, 0x13, 0x0b, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00};
    writeFile(QStringLiteral("anytown1.bmp"), QByteArray(reinterpret_cast<const char*>(logo), sizeof logo));
    // The main program Appraise starts when it ends: found in the folder, never run by a script.
    writeFile(QStringLiteral("velmaron.exe"), QByteArrayLiteral("#!/bin/sh\n"));
    QFile::setPermissions(QStringLiteral("velmaron.exe"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                              QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                              QFile::ExeOther);
    writeFile(QStringLiteral("apptrans.dat"), crlf({"Ann Smith", "12 Main St", "\"Anytown, ST 12345\"", "12"}));
}

namespace {

std::string withoutNuls(std::string_view s) {
    std::string out(s);
    out.erase(std::remove(out.begin(), out.end(), '\0'), out.end());
    return out;
}

QString trimmedField(const std::string& record, common::Field f) {
    return QString::fromLatin1(withoutNuls(common::fieldText(record, f))).trimmed();
}

int numberOf(const std::string& record, common::Field f) {
    const double v = common::val(withoutNuls(common::fieldText(record, f)));
    return v >= 0 && v <= 32767 ? static_cast<int>(v) : -1;
}

// An item slot holding nothing the jeweler entered: no type, metal, wearer, weight or price,
// and no stone of its number.
bool emptyItem(const WorksheetTables& t, int slot) {
    namespace ir = appraise::itemrec;
    const std::string& rec = t.items[static_cast<size_t>(slot)];
    for (common::Field f : {ir::itemtype, ir::metalcolor, ir::metal, ir::wearer, ir::weight})
        if (!trimmedField(rec, f).isEmpty()) return false;
    if (common::val(withoutNuls(common::fieldText(rec, ir::price))) != 0) return false;
    const int number = numberOf(rec, ir::itemno);
    for (int s = 1; s <= appraise::maxStone; ++s) {
        const std::string& stone = t.stones[static_cast<size_t>(s)];
        if (withoutNuls(stone).find_first_not_of(' ') != std::string::npos &&
            numberOf(stone, appraise::stonerec::itemno) == number)
            return false;
    }
    return true;
}

// Blanks and line ends made one blank, so that a sentence wrapped at 80 columns is found.
QString oneLine(const QString& s) { return s.simplified(); }

const QStringList passageFiles{"type.app",    "opening.app", "replacev.app", "sigblock.app",
                               "closing.app", "purpose.app", "purposes.app"};
const QStringList settingsFiles{"align.fac",    "bordsize.dat", "defontap.dat", "aplogono.dat",
                                "nologowc.dat", "logono.dat",   "logosize.dat", "gradescl.dat"};
const QStringList typeOptions{"Ring",     "Watch", "Bracelet", "Necklace", "pendant",
                              "Earrings", "Beads", "Pearls",   "OtherType"};
const QStringList stoneOptions{"Diamond", "Amethyst", "Aquamarine", "Citrine", "Emerald",   "Garnet",
                               "Jade",    "Lapis",    "Opal",       "Onyx",    "Pearl",     "Peridot",
                               "Ruby",    "Sapphire", "Topaz",      "Zircon",  "OtherStone"};

template <typename T>
T* control(FormWindow& w, const QString& name) {
    for (T* c : w.findChildren<T*>(name))
        if (c->objectName() == name) return c;
    return nullptr;
}

// The step ends an item: End this item, its Alt key, or Yes to ending the item in progress
// before leaving.
bool endsItem(const Step& step, const std::vector<Box>& boxes) {
    if (step.mentions(QStringLiteral("nextitem")) || step.mentions(QStringLiteral("Alt+H"))) return true;
    for (const Box& b : boxes)
        if (b.text.contains(QStringLiteral("has not been ended")) && b.answer == QStringLiteral("yes")) return true;
    return false;
}

// "Replace it?" was answered No or Cancel (and never Yes) in the step.
bool replaceDeclined(const std::vector<Box>& boxes) {
    bool declined = false;
    for (const Box& b : boxes) {
        if (!b.text.contains(QStringLiteral("Replace it?"))) continue;
        if (b.answer == QStringLiteral("yes")) return false;
        declined = true;
    }
    return declined;
}

// The step saved: Save, its keys, or Yes to a question about saving.
bool saves(const Step& step, const std::vector<Box>& boxes) {
    for (const char* s : {"SaveText", "Alt+S", "Ctrl+S"})
        if (step.mentions(QString::fromLatin1(s))) return true;
    for (const Box& b : boxes)
        if (b.kind == QStringLiteral("msgbox") && b.text.contains(QStringLiteral("save"), Qt::CaseInsensitive) &&
            b.answer == QStringLiteral("yes"))
            return true;
    return false;
}

bool sendsPdf(const Step& step) {
    return step.mentions(QStringLiteral("pdfcustomer")) || step.mentions(QStringLiteral("Alt+D"));
}

bool exports(const Step& step) {
    return step.mentions(QStringLiteral("copytowp")) || step.mentions(QStringLiteral("Alt+C"));
}

// A settings file may change when the user chose it from the insert menu or the alignment list
// and gave its box an answer: a value typed, a font chosen, the logo questions answered, or the
// alignment's line that sets the defaults again (which asks nothing), or the other grading scales
// taken with Yes.
bool settingConfirmed(const Step& step, const std::vector<Box>& boxes) {
    if (!step.mentions(QStringLiteral("whichinsert")) && !step.mentions(QStringLiteral("List1"))) return false;
    bool asked = false;
    for (const Box& b : boxes) {
        if (b.kind == QStringLiteral("inputbox")) {
            asked = true;
            if (!b.answer.isEmpty()) return true;
        } else if (b.kind == QStringLiteral("fontdialog")) {
            asked = true;
            if (b.answer != QStringLiteral("cancel")) return true;
        } else if (b.kind == QStringLiteral("msgbox") && b.title == QStringLiteral("When printing an appraisal:")) {
            return true;
        } else if (b.kind == QStringLiteral("msgbox") && b.title == QStringLiteral("Grading Scales")) {
            // The scales change only on Yes.
            return b.answer == QStringLiteral("yes");
        }
    }
    return !asked && step.mentions(QStringLiteral("List1"));
}

// The values after a label at the start of a line (after blanks) of a text.
QStringList valuesAfter(const QString& text, const QString& label) {
    QStringList values;
    for (const QString& line : QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n')) {
        const QString t = line.trimmed();
        if (t.startsWith(label)) values << t.mid(label.size()).trimmed();
    }
    return values;
}

// What a settings file says, line by line: blanks around a value, the case of a word, the form
// of a number and of a yes/no ("True", "1", "-1") do not count, so that a file written again in
// another form with the same settings is no change.
QStringList settingsMeaning(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("(missing)")};
    QStringList meaning;
    for (QString line : QString::fromLatin1(f.readAll()).split('\n')) {
        line = line.trimmed().toLower();
        bool number = false;
        const double v = line.toDouble(&number);
        if (line == QStringLiteral("true") || (number && v == -1)) line = QStringLiteral("1");
        else if (line == QStringLiteral("false")) line = QStringLiteral("0");
        else if (number) line = QString::number(v);
        meaning << line;
    }
    while (!meaning.isEmpty() && meaning.last().isEmpty()) meaning.removeLast();
    return meaning;
}

QString readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll());
}

} // namespace

std::optional<QString> WorksheetModel::opened(FormWindow& window, const QStringList& transcript) {
    auto* ws = dynamic_cast<appraise::WorksheetWindow*>(&window);
    if (!ws) return QStringLiteral("the window opened is not the worksheet");
    for (const QString& l : transcript)
        if (l.startsWith(QStringLiteral("msgbox \"Run-time error")))
            return QStringLiteral("run-time error on opening: ") + l;
    start_ = before_ = ws->tables();
    // The settings files the start creates are in this first look.
    files_ = snapshotFolder(QDir::currentPath());
    for (const auto& [path, state] : files_)
        if (settingsFiles.contains(path.toLower())) settings_[path] = settingsMeaning(path);
    return std::nullopt;
}

void WorksheetModel::beforeStep(const Step& step, FormWindow& window) {
    (void)step;
    inProgressBefore_ = false;
    for (const QStringList* names : {&typeOptions, &stoneOptions})
        for (const QString& n : *names)
            if (auto* o = control<QAbstractButton>(window, n); o && o->isChecked()) inProgressBefore_ = true;
    for (const char* box : {"Weight", "Price"})
        if (auto* e = control<QLineEdit>(window, QString::fromLatin1(box)); e && !e->text().trimmed().isEmpty())
            inProgressBefore_ = true;
    auto* number = control<QLineEdit>(window, QStringLiteral("itemnumber"));
    itemNumberBefore_ = number ? number->text().trimmed() : QString();
}

std::optional<QString> WorksheetModel::afterStep(const StepRun& run, FormWindow& window) {
    auto* ws = dynamic_cast<appraise::WorksheetWindow*>(&window);
    if (!ws) return QStringLiteral("the window is not the worksheet");
    for (const QString& l : run.transcript)
        if (l.startsWith(QStringLiteral("msgbox \"Run-time error")))
            return QStringLiteral("run-time error shown: ") + l;
    const WorksheetTables& now = ws->tables();
    const std::vector<Box> boxes = boxesOf(run.transcript);
    if (auto f = checkTables(run, now, boxes)) return f;
    if (auto f = checkFiles(run, now, boxes)) return f;
    return std::nullopt;
}

std::optional<QString> WorksheetModel::checkTables(const StepRun& run, const WorksheetTables& now,
                                                   const std::vector<Box>& boxes) {
    const bool ending = endsItem(run.step, boxes);
    const bool declined = replaceDeclined(boxes);
    auto judge = [&](const QString& what) -> std::optional<QString> {
        if (!ending) return QStringLiteral("%1 changed in a step that ended no item (%2)").arg(what, run.step.action);
        if (declined) return QStringLiteral("%1 changed though \"Replace it?\" was answered no").arg(what);
        return std::nullopt;
    };
    for (int n = 0; n <= appraise::maxItem; ++n) {
        const auto i = static_cast<size_t>(n);
        if (now.items[i] == before_.items[i]) continue;
        if (auto f = judge(QStringLiteral("stored item %1").arg(n))) return f;
        // An item with nothing entered is said so and never stored.
        if (numberOf(now.items[i], appraise::itemrec::itemno) > 0 && emptyItem(now, n))
            return QStringLiteral("item %1 was stored with nothing entered (%2)").arg(n).arg(run.step.action);
        lastEnded_[i] = run.index;
    }
    for (int s = 0; s <= appraise::maxStone; ++s) {
        const auto i = static_cast<size_t>(s);
        if (now.stones[i] == before_.stones[i]) continue;
        if (auto f = judge(QStringLiteral("stored stone %1").arg(s))) return f;
        // A stone changed: the item it belongs to (before and after) changed with it.
        for (const std::string* rec : std::initializer_list<const std::string*>{&now.stones[i], &before_.stones[i]}) {
            const int item = numberOf(*rec, appraise::stonerec::itemno);
            if (item >= 0 && item <= appraise::maxItem) lastEnded_[static_cast<size_t>(item)] = run.index;
        }
    }
    before_ = now;
    return std::nullopt;
}

std::optional<QString> WorksheetModel::checkFiles(const StepRun& run, const WorksheetTables& now,
                                                  const std::vector<Box>& boxes) {
    const FolderSnapshot after = snapshotFolder(QDir::currentPath());
    const std::vector<FolderChange> changes = changesBetween(files_, after);
    files_ = after;
    const bool saving = saves(run.step, boxes);
    const bool ending = endsItem(run.step, boxes) && !replaceDeclined(boxes);
    for (const FolderChange& c : changes) {
        const QString p = c.path.toLower();
        // The lists' index is theirs to write whenever they are made: it holds nothing entered.
        if (p == QStringLiteral("appraise/appraisals.idx")) continue;
        const bool appraisal = p.startsWith(QStringLiteral("appraise/"));
        if (appraisal && c.kind != FolderChange::Removed && !after.at(c.path).folder) {
            const QString text = readText(QDir::current().filePath(c.path));
            if (p.endsWith(QStringLiteral(".app"))) saves_.push_back({run.index, c.path, text});
            if (!c.rewritten)
                if (auto f = checkFigures(c.path, text, now)) return f;
        }
        if (c.rewritten) continue; // the same bytes again: nothing is lost or made up
        bool allowed = false;
        QString needs;
        if (appraisal) {
            allowed = saving;
            needs = QStringLiteral("a Save");
        } else if (p == QStringLiteral("appraise.dat") || p == QStringLiteral("appraise.pt")) {
            allowed = ending;
            needs = QStringLiteral("an item ended");
        } else if (p == QStringLiteral("app.tmp") || p == QStringLiteral("wpname.dat")) {
            allowed = exports(run.step);
            needs = QStringLiteral("the export");
        } else if (p.startsWith(QStringLiteral("appraisal pdfs"))) {
            // The folder and a finished PDF named for a saved appraisal's number; nothing half
            // written is left.
            allowed = sendsPdf(run.step) && !p.endsWith(QStringLiteral(".~new"));
            needs = QStringLiteral("the PDF asked for");
            const QStringList words = QFileInfo(c.path).completeBaseName().split(' ');
            if (allowed && p.endsWith(QStringLiteral(".pdf")) && c.kind != FolderChange::Removed &&
                (words.size() < 2 ||
                 !QFileInfo::exists(QStringLiteral("APPRAISE/%1.app").arg(words[words.size() - 2]))))
                return QStringLiteral("%1 names no saved appraisal (%2)").arg(c.path, run.step.action);
        } else if (passageFiles.contains(p)) {
            allowed = saving;
            needs = QStringLiteral("a Save");
        } else if (settingsFiles.contains(p)) {
            const QStringList meaning = settingsMeaning(c.path);
            allowed = meaning == settings_[c.path] || settingConfirmed(run.step, boxes);
            settings_[c.path] = meaning;
            needs = QStringLiteral("its setting given a value");
        } else {
            needs = QStringLiteral("anything the user asked for");
        }
        if (!allowed) return QStringLiteral("%1 without %2 (%3)").arg(describe(c), needs, run.step.action);
    }
    return std::nullopt;
}

std::optional<QString> WorksheetModel::checkFigures(const QString& path, const QString& text,
                                                    const WorksheetTables& now) const {
    QStringList prices, carats;
    for (int n = 0; n <= appraise::maxItem; ++n)
        prices << trimmedField(now.items[static_cast<size_t>(n)], appraise::itemrec::price);
    for (int s = 0; s <= appraise::maxStone; ++s)
        carats << trimmedField(now.stones[static_cast<size_t>(s)], appraise::stonerec::carat);
    for (const QString& v : valuesAfter(text, QStringLiteral("Replacement Value:")))
        if (!v.isEmpty() && !prices.contains(v))
            return QStringLiteral("%1 gives the replacement value \"%2\", which no item holds").arg(path, v);
    for (const QString& v : valuesAfter(text, QStringLiteral("Carat :")))
        if (!v.isEmpty() && !carats.contains(v))
            return QStringLiteral("%1 gives the carat weight \"%2\", which no stone holds").arg(path, v);
    return std::nullopt;
}

bool WorksheetModel::savedSince(int slot, const WorksheetTables& now) const {
    const std::string& rec = now.items[static_cast<size_t>(slot)];
    const QString price = trimmedField(rec, appraise::itemrec::price);
    const QString sentence =
        oneLine(QString::fromLatin1(withoutNuls(appraise::itemSentence(now, static_cast<int16_t>(slot)))));
    for (const Save& s : saves_) {
        if (s.step < lastEnded_[static_cast<size_t>(slot)]) continue;
        // A text without any replacement value is one the user wrote over: it may stand for any
        // item composed before.
        if (valuesAfter(s.text, QStringLiteral("Replacement Value:")).isEmpty()) return true;
        if (!price.isEmpty() && valuesAfter(s.text, QStringLiteral("Replacement Value:")).contains(price)) return true;
        if (!sentence.isEmpty() && oneLine(s.text).contains(sentence)) return true;
    }
    return false;
}

std::optional<QString> WorksheetModel::atEnd(bool programEnded, const StepRun* last, FormWindow& window) {
    if (!programEnded || !last) return std::nullopt;
    auto* ws = dynamic_cast<appraise::WorksheetWindow*>(&window);
    if (!ws) return QStringLiteral("the window is not the worksheet");
    const WorksheetTables& now = ws->tables();
    const std::vector<Box> boxes = boxesOf(last->transcript);

    // The items the question before leaving named and the user answered No to.
    std::set<int> namedNo;
    static const QRegularExpression unsaved(QStringLiteral("^Items? (.+?) ha(?:s|ve) not been saved"));
    static const QRegularExpression number(QStringLiteral("\\d+"));
    for (const Box& b : boxes) {
        const auto m = unsaved.match(b.text);
        if (!m.hasMatch() || b.answer != QStringLiteral("no")) continue;
        for (auto it = number.globalMatch(m.captured(1)); it.hasNext();) namedNo.insert(it.next().captured().toInt());
    }
    for (int n = 1; n <= appraise::maxItem; ++n) {
        const auto i = static_cast<size_t>(n);
        if (numberOf(now.items[i], appraise::itemrec::itemno) <= 0 || now.items[i] == start_.items[i]) continue;
        if (lastEnded_[i] == 0 || emptyItem(now, n) || namedNo.count(n) || savedSince(n, now)) continue;
        return QStringLiteral("the program ended (%1) with item %2, ended in step %3, never saved as an appraisal "
                              "and not named by a question before leaving")
            .arg(last->step.action)
            .arg(n)
            .arg(lastEnded_[i]);
    }

    if (inProgressBefore_) {
        static const QRegularExpression notEnded(QStringLiteral("^Item \\d+ .*has not been ended"));
        bool asked = false;
        for (const Box& b : boxes)
            if (notEnded.match(b.text).hasMatch() &&
                (b.answer == QStringLiteral("no") || b.answer == QStringLiteral("yes")))
                asked = true;
        const bool endedNow = std::find(lastEnded_.begin(), lastEnded_.end(), last->index) != lastEnded_.end();
        if (!asked && !endedNow)
            return QStringLiteral("the program ended (%1) with item %2 in progress on the screen, and nothing asked "
                                  "about it")
                .arg(last->step.action, itemNumberBefore_);
    }
    return std::nullopt;
}

double WorksheetModel::weight(const QString& c) const {
    static const std::map<QString, double> weights{
        {"nextitem", 4},        {"nextstone", 3},     {"seetext", 3},        {"allitems", 1.5},   {"SaveText", 3},
        {"End", 0.4},           {"back", 0.4},        {"entry", 1.5},        {"copytowp", 0.8},   {"PrintText", 0.5},
        {"changeprinter", 0.3}, {"Fonttext", 0.3},    {"formatlist2", 0.5},  {"FormatList", 0.6}, {"whichinsert", 1.5},
        {"List1", 1},           {"c", 0.5},           {"Calculate", 1},      {"Price", 2},        {"Weight", 1},
        {"itemnumber", 2.5},    {"datebox", 0.3},     {"appraisalist", 0.5}, {"Carat", 1.5},      {"Quantity", 0.5},
        {"dimensions", 0.5},    {"stonenumber", 0.5}, {"Color", 1},          {"Clarity", 1},      {"Cut", 1},
        {"Text1", 1.5},         {"Mans", 0.4},        {"Ladys", 0.4},        {"DWT", 0.4},        {"Grams", 0.4}};
    if (const auto it = weights.find(c); it != weights.end()) return it->second;
    if (typeOptions.contains(c)) return 0.6;
    if (stoneOptions.contains(c)) return 0.35;
    return 0.3; // the metals and their colours, the shapes, the measurement panel's boxes
}

QStringList WorksheetModel::texts(QWidget* control, bool area, bool append) const {
    const QString name = control->objectName();
    QStringList own;
    // Mostly numbers that make sense in the box, so that items get ended, replaced and saved;
    // the walker's own texts (half of them refused) now and then.
    if (name == QStringLiteral("itemnumber")) own = {"1", "2", "3", "1", "2", "1", "0", "101"};
    else if (name == QStringLiteral("stonenumber")) own = {"1", "2", "1", "201"};
    else if (name == QStringLiteral("datebox")) own = {"12-07-2026", "1-1-27", "13-45-26"};
    else if (name == QStringLiteral("Price")) own = {"2450", "100", "75.50", "6,500.00", "$6500", "2,450.00", "12.5"};
    else if (name == QStringLiteral("Weight") || name == QStringLiteral("Carat"))
        own = {"1.25", "0.5", "12.5", "3", "2.75", "1.25"};
    else if (name == QStringLiteral("Quantity")) own = {"1", "2", "3", "1"};
    return own + own + WalkModel::texts(control, area, append);
}

bool WorksheetModel::allows(const Step& step, FormWindow& window) const {
    // Enter or Space in the text area only at the start of a line or at the end of the text: a
    // figure split or moved along its line could no longer be told from one made up.
    const QStringList words = step.action.split(' ');
    if (words.size() == 3 && words[0] == QStringLiteral("key") &&
        (words[2] == QStringLiteral("Enter") || words[2] == QStringLiteral("Space"))) {
        if (auto* area = qobject_cast<QTextEdit*>(control<QWidget>(window, words[1]))) {
            const QTextCursor c = area->textCursor();
            return c.atBlockStart() || c.atEnd();
        }
    }
    return true;
}

} // namespace walker
