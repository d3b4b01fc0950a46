#include "tests/walker/interest_model.h"

#include "interest/interest_settings.h"
#include "interest/posting_record.h"
#include "platform/widgets/mnemonics.h"
#include "tests/support/store_records.h"
#include "tests/support/temp_folder.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>

namespace walker {

using testsupport::accountRecord;
using testsupport::putFile;
using testsupport::transactionRecord;

void writeInterestStore() {
    putFile("cust.dat", accountRecord({.name1 = "ADAMS",
                                       .name2 = "Ann",
                                       .lastFile = "1126",
                                       .lastRec = "1",
                                       .balance = "100",
                                       .phone = "555-0101",
                                       .acctno = 1,
                                       .rating = "1"}) +
                            accountRecord({.name1 = "BAKER",
                                           .name2 = "Bo",
                                           .lastFile = "",
                                           .lastRec = "0",
                                           .balance = "0",
                                           .phone = "555-0102",
                                           .acctno = 2,
                                           .rating = "1"}) +
                            accountRecord({.name1 = "CLARK",
                                           .name2 = "Cy",
                                           .lastFile = "1126",
                                           .lastRec = "2",
                                           .balance = "250",
                                           .phone = "555-0103",
                                           .acctno = 3,
                                           .rating = "2",
                                           .nointerest = "2"}) +
                            accountRecord({.name1 = "DAVIS",
                                           .name2 = "Di",
                                           .lastFile = "1126",
                                           .lastRec = "3",
                                           .balance = "50",
                                           .phone = "555-0104",
                                           .acctno = 4,
                                           .rating = "1"}) +
                            accountRecord({.name1 = "EVANS",
                                           .name2 = "Ed",
                                           .lastFile = "1226",
                                           .lastRec = "1",
                                           .balance = "75",
                                           .phone = "5550105",
                                           .acctno = 5,
                                           .rating = "1"}));
    putFile("Cust.ptn", " 5\r\n");
    putFile("1126.dat", transactionRecord(1, "", "0", "Ring", "100.00", "11-2-26", "A") +
                            transactionRecord(3, "", "0", "Watch", "250.00", "11-3-26", "A") +
                            transactionRecord(4, "", "0", "Layaway", "50.00", "11-4-26", "~"));
    putFile("1126.ptn", " 3\r\n");
    putFile("1226.dat", transactionRecord(5, "", "0", "Chain", "75.00", "12-3-26", "A"));
    putFile("1226.ptn", " 1\r\n");
    putFile("lastpost.dat", "11-9-26\r\n .015\r\n 1\r\n");
}

namespace {
bool answered(const std::vector<Box>& boxes, const QString& start, const QString& answer = QStringLiteral("yes")) {
    for (const Box& b : boxes)
        if ((b.text.startsWith(start) || b.title == start) && b.answer == answer) return true;
    return false;
}

bool said(const std::vector<Box>& boxes, const QString& part) {
    for (const Box& b : boxes)
        if (b.text.contains(part)) return true;
    return false;
}

// The store's money and history: what a posting, an undo or a removal writes.
bool postingFile(const QString& path) {
    if (path.startsWith(QStringLiteral("INTBACK")) || path.startsWith(QStringLiteral("Interest report"))) return true;
    if (path.compare(QStringLiteral("COLNOTES.dat"), Qt::CaseInsensitive) == 0 ||
        path.compare(QStringLiteral("NoIntLW.dat"), Qt::CaseInsensitive) == 0 ||
        path == QString::fromLatin1(interest::settingsFileName))
        return false;
    return path.endsWith(QStringLiteral(".dat")) || path.endsWith(QStringLiteral(".ptn"));
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The accounts the confirmation says are spared by hand, each left as it was.
std::optional<QString> sparedLeftAlone(const std::vector<Box>& boxes, const QByteArray& before) {
    static const QRegularExpression spared(
        QStringLiteral("Spared by hand in the preview: \\d+ accounts? \\(([0-9, ]+)\\)"));
    const QByteArray now = contentOf(QStringLiteral("cust.dat"));
    constexpr int length = 222;
    for (const Box& b : boxes) {
        if (!b.text.startsWith(QStringLiteral("Post interest to the accounts of")) || b.answer != QStringLiteral("yes"))
            continue;
        const QRegularExpressionMatch m = spared.match(b.text);
        if (!m.hasMatch()) continue;
        for (const QString& n : m.captured(1).split(QStringLiteral(", "))) {
            const int at = (n.toInt() - 1) * length;
            if (before.mid(at, length) != now.mid(at, length))
                return QStringLiteral("account %1 was spared by hand and still changed by the posting").arg(n);
        }
    }
    return std::nullopt;
}

// The record only grows, by a line for each thing done in the step.
std::optional<QString> recordGrew(const QByteArray& before, const std::vector<Box>& boxes) {
    const QByteArray now = contentOf(QString::fromLatin1(interest::recordFileName));
    if (!now.startsWith(before)) return QStringLiteral("the record was rewritten, not added to");
    const QByteArray added = now.mid(before.size());
    const auto expect = [&](const QString& told, const char* what) -> std::optional<QString> {
        if (said(boxes, told) && !added.contains(QByteArray("\t") + what + "\t"))
            return QStringLiteral("\"%1\" was told and the record has no %2 line for it")
                .arg(told, QLatin1String(what));
        return std::nullopt;
    };
    if (auto why = expect(QStringLiteral("Interest posted to"), "posting")) return why;
    if (auto why = expect(QStringLiteral("was undone."), "undo")) return why;
    if (auto why = expect(QStringLiteral("Removed "), "charge removed")) return why;
    return std::nullopt;
}

// The highest rate kept is the one its box holds, a number or nothing.
std::optional<QString> highestRateAsTyped(platform::FormWindow& w) {
    auto* box = w.findChild<QLineEdit*>(QStringLiteral("highestRate"));
    const QString kept = QString::fromLatin1(contentOf(QString::fromLatin1(interest::settingsFileName)))
                             .section(QStringLiteral("\r\n"), 0, 0);
    static const QRegularExpression number(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)?$"));
    if (!number.match(kept).hasMatch()) return QStringLiteral("the highest rate kept is no number: ") + kept;
    if (box && kept != box->text().trimmed())
        return QStringLiteral("the highest rate kept, \"%1\", is not the box's \"%2\"").arg(kept, box->text());
    return std::nullopt;
}

// The confirmation's date, accounts and total against the posting's message and "lastpost.dat".
std::optional<QString> postedAsConfirmed(const std::vector<Box>& boxes) {
    static const QRegularExpression confirmed(
        QStringLiteral("Posting date: (\\S+) .*The preview charges (\\d+) accounts?, ([0-9.]+) in all"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression posted(
        QStringLiteral("Interest posted to (\\d+) accounts?\\. Total charged ([0-9.]+)\\."));
    QRegularExpressionMatch c, d;
    for (const Box& b : boxes) {
        if (b.text.startsWith(QStringLiteral("Post interest to the accounts of")) && b.answer == QStringLiteral("yes"))
            c = confirmed.match(b.text);
        if (b.text.startsWith(QStringLiteral("Interest posted to"))) d = posted.match(b.text);
    }
    if (!c.hasMatch()) return std::nullopt; // posted without a preview to compare with
    if (!d.hasMatch()) return QStringLiteral("the posting's message names no accounts and total");
    if (c.captured(2) != d.captured(1) || c.captured(3) != d.captured(2))
        return QStringLiteral("the confirmation said %1 accounts, %2 in all; the posting charged %3, %4")
            .arg(c.captured(2), c.captured(3), d.captured(1), d.captured(2));
    QFile last(QStringLiteral("lastpost.dat"));
    if (!last.open(QIODevice::ReadOnly) || QString::fromLatin1(last.readLine()).trimmed() != c.captured(1))
        return QStringLiteral("lastpost.dat does not name the date confirmed, %1").arg(c.captured(1));
    return std::nullopt;
}

std::optional<QString> usable(platform::FormWindow& w) {
    auto* start = w.findChild<QAbstractButton*>(QStringLiteral("Start"));
    auto* close = w.findChild<QAbstractButton*>(QStringLiteral("Command1"));
    auto* gauge = w.findChild<QProgressBar*>(QStringLiteral("Gauge1"));
    if (!w.isVisible()) return std::nullopt;
    if (start && platform::withoutMnemonic(start->text()) != QStringLiteral("Start"))
        return QStringLiteral("the window was left in its posting state (\"%1\")").arg(start->text());
    if (close && close->isHidden()) return QStringLiteral("the close button is not in sight");
    if (gauge && gauge->isVisible()) return QStringLiteral("the progress bar was left in sight");
    return std::nullopt;
}
} // namespace

std::optional<QString> InterestModel::opened(platform::FormWindow& window, const QStringList& transcript) {
    for (const Box& b : boxesOf(transcript))
        if (b.text.startsWith(QStringLiteral("Run-time error"))) return QStringLiteral("opening showed ") + b.text;
    files_ = snapshotFolder(QStringLiteral("."));
    return usable(window);
}

void InterestModel::beforeStep(const Step&, platform::FormWindow&) {
    files_ = snapshotFolder(QStringLiteral("."));
    accountsBefore_ = contentOf(QStringLiteral("cust.dat"));
    recordBefore_ = contentOf(QString::fromLatin1(interest::recordFileName));
}

std::optional<QString> InterestModel::afterStep(const StepRun& run, platform::FormWindow& window) {
    const std::vector<Box> boxes = boxesOf(run.transcript);
    for (const Box& b : boxes)
        if (b.text.startsWith(QStringLiteral("Run-time error"))) return QStringLiteral("it showed ") + b.text;
    const FolderSnapshot now = snapshotFolder(QStringLiteral("."));
    const bool posted = answered(boxes, QStringLiteral("Post interest to the accounts of"));
    const bool undone = answered(boxes, QStringLiteral("Undo the posting of"));
    const bool removed = answered(boxes, QStringLiteral("Remove this interest charge?")) ||
                         answered(boxes, QStringLiteral("Remove its interest?")) || [&] {
                             for (const Box& b : boxes)
                                 if (b.text.contains(QStringLiteral("Remove the interest charges of")) &&
                                     b.answer == QStringLiteral("yes"))
                                     return true;
                             return false;
                         }();
    const bool notes = run.step.mentions(QStringLiteral("List1")) ||
                       answered(boxes, QStringLiteral("The collection notes have changes"));
    const bool flag = run.step.mentions(QStringLiteral("Check1")) || run.step.mentions(QStringLiteral("Alt+L"));
    for (const FolderChange& c : changesBetween(files_, now)) {
        if (c.rewritten) continue;
        if (c.path.endsWith(QStringLiteral(".~new"))) return QStringLiteral("a temporary was left: ") + c.path;
        if (c.path == QStringLiteral("interest.jrn") && c.kind != FolderChange::Removed)
            return QStringLiteral("the journal was left");
        if (c.path.compare(QStringLiteral("COLNOTES.dat"), Qt::CaseInsensitive) == 0) {
            if (!notes) return QStringLiteral("the notes were written unasked: ") + describe(c);
            continue;
        }
        if (c.path.compare(QStringLiteral("NoIntLW.dat"), Qt::CaseInsensitive) == 0) {
            if (!flag) return QStringLiteral("the layaway flag changed unasked: ") + describe(c);
            continue;
        }
        if (c.path == QString::fromLatin1(interest::settingsFileName)) {
            if (const auto why = highestRateAsTyped(window)) return why;
            continue;
        }
        if (c.path == QString::fromLatin1(interest::recordFileName)) {
            if (!posted && !undone && !removed)
                return QStringLiteral("the record was written without a posting, undo or removal");
            if (const auto why = recordGrew(recordBefore_, boxes)) return why;
            continue;
        }
        if (postingFile(c.path) && !posted && !undone && !removed)
            return QStringLiteral("written without a confirmed posting, undo or removal: ") + describe(c);
        if (!postingFile(c.path) && c.path != QStringLiteral("interest.jrn"))
            return QStringLiteral("unexpected: ") + describe(c);
    }
    if (posted && said(boxes, QStringLiteral("Interest posted to"))) {
        // What was posted is what the confirmation said: its date, and the preview's accounts and
        // total (the store cannot change between the two: nothing else runs).
        if (const auto why = postedAsConfirmed(boxes)) return why;
        if (const auto why = sparedLeftAlone(boxes, accountsBefore_)) return why;
        beforePostings_.push_back(files_);
    }
    if (undone && said(boxes, QStringLiteral("was undone."))) {
        if (beforePostings_.empty()) return QStringLiteral("a posting was undone that the walk never made");
        const FolderSnapshot& was = beforePostings_.back();
        for (const auto& [path, state] : was) {
            if (!postingFile(path) || path.startsWith(QStringLiteral("INTBACK")) ||
                path.startsWith(QStringLiteral("Interest report")))
                continue;
            const auto it = now.find(path);
            if (it == now.end() || !it->second.sameContent(state))
                return QStringLiteral("the undo did not put %1 back as it was").arg(path);
        }
        for (const auto& [path, state] : now)
            if (postingFile(path) && !path.startsWith(QStringLiteral("INTBACK")) &&
                !path.startsWith(QStringLiteral("Interest report")) && !was.count(path))
                return QStringLiteral("the undo left %1, made by the posting").arg(path);
        beforePostings_.pop_back();
    }
    if (removed) beforePostings_.clear(); // an undo after a removal is refused, and so not checked
    return usable(window);
}

std::optional<QString> InterestModel::atEnd(bool, const StepRun*, platform::FormWindow&) { return std::nullopt; }

double InterestModel::weight(const QString& control) const {
    // Postings and undos are what the checks are for; Cancel / Exit ends the walk.
    if (control == QStringLiteral("Command1")) return 0.2;
    if (control == QStringLiteral("Start")) return 5;
    if (control == QStringLiteral("undo")) return 3;
    if (control == QStringLiteral("reports")) return 0.5;
    if (control == QStringLiteral("previewList")) return 4; // the sparing, once the preview shows it
    return 1;
}

QStringList InterestModel::texts(QWidget* control, bool area, bool append) const {
    const QString name = control->objectName();
    if (name == QStringLiteral("datebox"))
        return {"12-9-26",   "12-09-26", "2-30-26", "13-1-26", "12-31-26", "11-9-26",
                "12-9-2026", "abc",      " ",       "1-5-27",  "2-29-28"};
    if (name == QStringLiteral("Percentage"))
        return {".015", ".0150", "0,015", "abc", "0", ".025", " ", ".0005", ".01"};
    if (name == QStringLiteral("MinFinance")) return {"1", "1.00", "0", "one", " ", ".50"};
    if (name == QStringLiteral("highestRate")) return {".015", ".01", " ", "1,5", ".02"};
    return WalkModel::texts(control, area, append);
}

QStringList InterestModel::inputTexts() const { return {"555-0101", "5550105", "555-0105", "555-9999", "", "abc"}; }

} // namespace walker
