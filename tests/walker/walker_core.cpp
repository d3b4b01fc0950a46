#include "tests/walker/walker_core.h"

#include "common/env.h"
#include "platform/doubles/transcript.h"
#include "tests/support/linux_fonts.h"
#include "tools/uiscript/control_state.h"
#include "tools/uiscript/session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace walker {

using platform::FormWindow;

// --- Steps and transcripts ------------------------------------------------------------------

namespace {
bool isAnswerLine(const QString& line) {
    return line.startsWith(QStringLiteral("answer ")) || line.startsWith(QStringLiteral("input "));
}

// A quoted text of a transcript line from its opening quote at `at`, its escapes read; `at` ends
// after the closing quote.
QString readQuoted(const QString& s, qsizetype& at) {
    QString out;
    if (at >= s.size() || s[at] != '"') return out;
    for (++at; at < s.size(); ++at) {
        const QChar c = s[at];
        if (c == '"') {
            ++at;
            return out;
        }
        if (c == '\\' && at + 1 < s.size()) {
            const QChar e = s[++at];
            out += e == 'r' ? QChar('\r') : e == 'n' ? QChar('\n') : e == 't' ? QChar('\t') : e;
            continue;
        }
        out += c;
    }
    return out;
}
} // namespace

QStringList Step::lines() const { return answers + QStringList{action}; }

bool Step::mentions(const QString& text) const {
    for (const QString& l : lines())
        if (l.contains(text, Qt::CaseInsensitive)) return true;
    return false;
}

std::vector<Step> stepsOf(const QStringList& lines, QStringList* preamble) {
    std::vector<Step> steps;
    Step next;
    bool opened = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith(QStringLiteral("FAILED:"))) continue;
        if (!opened) {
            if (preamble) *preamble << line;
            opened = line.startsWith(QStringLiteral("open "));
            continue;
        }
        if (isAnswerLine(line)) {
            next.answers << line;
            continue;
        }
        next.action = line;
        steps.push_back(next);
        next = Step{};
    }
    return steps;
}

std::vector<Box> boxesOf(const QStringList& transcript) {
    std::vector<Box> boxes;
    for (const QString& line : transcript) {
        Box b;
        b.kind = line.section(' ', 0, 0);
        if (b.kind != QStringLiteral("msgbox") && b.kind != QStringLiteral("inputbox") &&
            b.kind != QStringLiteral("fontdialog") && b.kind != QStringLiteral("printsetup"))
            continue;
        qsizetype at = b.kind.size() + 1;
        if (b.kind == QStringLiteral("msgbox") || b.kind == QStringLiteral("inputbox")) {
            b.text = readQuoted(line, at);
            const qsizetype t = line.indexOf(QStringLiteral(" title="), at);
            if (t >= 0) {
                qsizetype q = t + 7;
                b.title = readQuoted(line, q);
                at = q;
            }
        }
        const qsizetype arrow = line.indexOf(QStringLiteral(" -> "), at);
        if (arrow < 0) continue;
        qsizetype a = arrow + 4;
        if (a < line.size() && line[a] == '"') {
            b.answer = readQuoted(line, a);
        } else {
            const qsizetype end = line.indexOf(' ', a);
            b.answer = line.mid(a, end < 0 ? -1 : end - a);
        }
        b.unscripted = line.endsWith(QStringLiteral("(unscripted)"));
        boxes.push_back(b);
    }
    return boxes;
}

// --- Folder snapshots -----------------------------------------------------------------------

FolderSnapshot snapshotFolder(const QString& root) {
    FolderSnapshot snap;
    const QDir base(root);
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        FileState s;
        s.folder = info.isDir();
        s.modified = info.lastModified().toMSecsSinceEpoch();
        if (!s.folder) {
            s.size = info.size();
            QFile f(path);
            if (f.open(QIODevice::ReadOnly)) s.hash = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
        }
        snap[base.relativeFilePath(path)] = s;
    }
    return snap;
}

std::vector<FolderChange> changesBetween(const FolderSnapshot& before, const FolderSnapshot& after) {
    std::vector<FolderChange> changes;
    for (const auto& [path, state] : after) {
        const auto it = before.find(path);
        if (it == before.end()) changes.push_back({FolderChange::Created, path});
        else if (!it->second.sameContent(state)) changes.push_back({FolderChange::Changed, path});
        else if (!state.folder && it->second.modified != state.modified)
            changes.push_back({FolderChange::Changed, path, true});
    }
    for (const auto& [path, state] : before)
        if (!after.count(path)) changes.push_back({FolderChange::Removed, path});
    return changes;
}

QString describe(const FolderChange& c) {
    switch (c.kind) {
    case FolderChange::Created: return c.path + QStringLiteral(" created");
    case FolderChange::Changed:
        return c.path + (c.rewritten ? QStringLiteral(" written again") : QStringLiteral(" changed"));
    case FolderChange::Removed: return c.path + QStringLiteral(" removed");
    }
    return c.path;
}

// --- What the walker types --------------------------------------------------------------------

QStringList WalkModel::texts(QWidget* control, bool area, bool append) const {
    (void)control;
    if (area) {
        // Words of a text area, each a line of its own when it goes after the text.
        const QStringList words{"Tanzanite", "Estate piece", "Hand made", "Signed", "Engraved", "As new", "Worn"};
        if (!append) return words;
        QStringList lines;
        for (const QString& w : words) lines << QStringLiteral("\n") + w;
        return lines;
    }
    return {"2450", "2,450.00", "1.25", "0.5", "12.5", "3", "one",
            "two",  "3,2",      "abc",  "-3",  "",     " ", QString(QStringLiteral("1234567890")).repeated(6),
            "1e9",  "12..5"};
}

QStringList WalkModel::inputTexts() const { return {"Tanzanite", "Rose gold", "Cushion", "", "12", "Hand made"}; }

namespace {

// --- Random choices -------------------------------------------------------------------------

// The walks' own generator (splitmix64): a seed gives the same walk on every machine.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return uniform() < p; }
    template <typename T>
    const T& pick(const QList<T>& list) {
        return list[below(static_cast<int>(list.size()))];
    }

  private:
    uint64_t state_;
};

// The control a script reaches under this name: the first of that name, as the session finds it.
QWidget* named(FormWindow& w, const QString& name) {
    if (w.objectName() == name) return &w;
    for (QWidget* c : w.findChildren<QWidget*>(name))
        if (c->objectName() == name) return c;
    return nullptr;
}

// Whether a person can reach the control with the pointer: shown, enabled, and the topmost thing
// at its middle (not under the text area or a panel raised over it).
bool pointerReaches(FormWindow& w, QWidget* c) {
    if (!c->isVisible() || !c->isEnabled() || c->width() <= 0 || c->height() <= 0) return false;
    QWidget* hit = w.childAt(c->mapTo(&w, c->rect().center()));
    return hit && (hit == c || c->isAncestorOf(hit));
}

// The Alt letters on screen now.
QStringList altLetters(FormWindow& w) {
    QStringList letters;
    for (const QString& line : uiscript::showShortcuts(&w)) {
        const qsizetype at = line.indexOf(QStringLiteral("Alt+"));
        if (at >= 0 && at + 4 < line.size()) letters << line.mid(at + 4, 1).toUpper();
    }
    return letters;
}

QString randomKey(Rng& rng) {
    static const QStringList keys{"Enter", "Tab", "Escape", "Up", "Down", "Space"};
    return rng.pick(keys);
}

// The text box that has the focus (a line edit or a text area), if any.
QWidget* focusedTextBox() {
    for (QWidget* f = QApplication::focusWidget(); f; f = f->parentWidget()) {
        if (qobject_cast<QLineEdit*>(f) || qobject_cast<QTextEdit*>(f) || qobject_cast<QPlainTextEdit*>(f)) return f;
        if (f->isWindow()) break;
    }
    return nullptr;
}

// The control with the focus as a script names it, if any.
QString focusedName(FormWindow& w) {
    for (QWidget* f = QApplication::focusWidget(); f && f != &w; f = f->parentWidget())
        if (!f->objectName().isEmpty() && named(w, f->objectName()) == f && f->isVisible() && f->isEnabled())
            return f->objectName();
    return {};
}

QStringList randomAnswers(Rng& rng, const WalkModel& model) {
    static const QStringList answers{"yes", "no", "cancel", "ok"};
    QStringList lines;
    for (int n = rng.below(3); n > 0; --n) {
        if (rng.chance(0.75)) lines << QStringLiteral("answer ") + rng.pick(answers);
        else if (rng.chance(0.3)) lines << QStringLiteral("input cancel");
        else lines << QStringLiteral("input ") + platform::quoted(rng.pick(model.inputTexts()));
    }
    return lines;
}

QString randomAction(Rng& rng, FormWindow& w, const WalkModel& model) {
    struct Candidate {
        double weight;
        std::function<QString()> make;
    };
    std::vector<Candidate> candidates;
    // Keys go where the focus is. A text box keeps the focus when it refuses what it holds, so
    // while one has it, the keys for another control wait for a step that moves the focus there
    // first (the session would give them to that control all the same, which no person can).
    QWidget* textBox = focusedTextBox();
    std::vector<QString> focusable;
    for (QWidget* c : w.findChildren<QWidget*>()) {
        const QString name = c->objectName();
        if (name.isEmpty() || named(w, name) != c || !pointerReaches(w, c)) continue;
        const double mw = model.weight(name);
        if (mw <= 0) continue;
        const bool focusFirst = textBox && textBox != c;
        auto withFocus = [name, focusFirst](std::function<QString()> make) -> std::function<QString()> {
            if (focusFirst) return [name] { return QStringLiteral("focus ") + name; };
            return make;
        };
        bool takesKeys = c->focusPolicy() != Qt::NoFocus;
        if (qobject_cast<QAbstractButton*>(c)) {
            candidates.push_back({3 * mw, [name] { return QStringLiteral("click ") + name; }});
        } else if (auto* list = qobject_cast<QListWidget*>(c)) {
            if (list->count() > 0)
                candidates.push_back({3 * mw, [&rng, name, list] {
                                          return QStringLiteral("click %1 %2").arg(name).arg(rng.below(list->count()));
                                      }});
        } else if (qobject_cast<QLineEdit*>(c) || qobject_cast<QTextEdit*>(c) || qobject_cast<QPlainTextEdit*>(c)) {
            const bool area = !qobject_cast<QLineEdit*>(c);
            auto typing = [&rng, &model, c, name, area](bool append) {
                return QStringLiteral("%1 %2 %3")
                    .arg(append ? "append" : "type", name, platform::quoted(rng.pick(model.texts(c, area, append))));
            };
            candidates.push_back({2 * mw, withFocus([typing] { return typing(false); })});
            candidates.push_back({1 * mw, withFocus([typing] { return typing(true); })});
        } else if (auto* bar = qobject_cast<QScrollBar*>(c)) {
            candidates.push_back({2 * mw, withFocus([&rng, name, bar] {
                                      const int lo = std::max(0, bar->minimum()), hi = std::min(32767, bar->maximum());
                                      const double r = rng.uniform();
                                      const int pos = r < 0.2   ? bar->minimum()
                                                      : r < 0.4 ? bar->maximum()
                                                                : lo + rng.below(std::max(1, hi - lo + 1));
                                      return QStringLiteral("scroll %1 %2").arg(name).arg(pos);
                                  })});
        } else {
            takesKeys = false; // labels, frames, panels: nothing a person acts on
        }
        if (!takesKeys) continue;
        focusable.push_back(name);
        candidates.push_back(
            {1.5 * mw, withFocus([&rng, name] { return QStringLiteral("key %1 %2").arg(name, randomKey(rng)); })});
    }
    // The Alt keys on screen, and Ctrl+S, pressed where the focus is.
    const QStringList letters = altLetters(w);
    QString at = focusedName(w);
    if (at.isEmpty() && !textBox && !focusable.empty())
        at = focusable[static_cast<size_t>(rng.below(static_cast<int>(focusable.size())))];
    if (!at.isEmpty()) {
        if (!letters.isEmpty())
            candidates.push_back(
                {12, [&rng, at, letters] { return QStringLiteral("key %1 Alt+%2").arg(at, rng.pick(letters)); }});
        candidates.push_back({0.5, [at] { return QStringLiteral("key %1 Ctrl+S").arg(at); }});
    }
    if (model.closeWeight() > 0) candidates.push_back({model.closeWeight(), [] { return QStringLiteral("close"); }});
    double total = 0;
    for (const Candidate& c : candidates) total += c.weight;
    double pick = rng.uniform() * total;
    for (const Candidate& c : candidates) {
        if (pick < c.weight) return c.make();
        pick -= c.weight;
    }
    return candidates.empty() ? QStringLiteral("close") : candidates.back().make();
}

Step randomStep(Rng& rng, FormWindow& w, const WalkModel& model) {
    Step s;
    for (int tries = 0; tries < 50; ++tries) {
        s.answers = randomAnswers(rng, model);
        s.action = randomAction(rng, w, model);
        if (model.allows(s, w)) return s;
    }
    return s;
}

// --- The child: one walk ----------------------------------------------------------------------

// Exit statuses of a child.
constexpr int passedStatus = 0;
constexpr int failedStatus = 1;
constexpr int usageStatus = 2;
constexpr int notReplayedStatus = 3; // a replayed script that no longer runs (a step cannot be reached)

void say(const QString& line) { std::cout << line.toStdString() << '\n' << std::flush; }

class ChildWalk {
  public:
    ChildWalk(WalkModel& model, bool replaying)
        : model_(model), replaying_(replaying),
          session_([this](const QString& l) { heard(l); }, [this](const QString& l) { errors_ << l; },
                   [this](int code) { finished(code); }) {}

    [[noreturn]] void run(const std::function<std::optional<Step>(int index, FormWindow& window)>& nextStep) {
        model_.prepareStore();
        const QString store = QDir::currentPath();
        const QStringList setup = model_.setupLines();
        for (const QString& l : setup) {
            say(l);
            session_.runLine(l);
        }
        const QString open = QStringLiteral("open ") + model_.windowName();
        say(open);
        const bool stillOpen = session_.runLine(open);
        FormWindow* w = session_.window();
        if (!w) stop(failedStatus, QStringLiteral("the window did not open"));
        if (!stillOpen) end(model_.atEnd(true, nullptr, *w));
        if (const auto f = model_.opened(*w, heard_)) stop(failedStatus, *f);
        heard_.clear();
        for (int i = 1;; ++i) {
            const std::optional<Step> step = nextStep(i, *w);
            if (!step) break;
            current_ = StepRun{i, *step, {}, false, false};
            inStep_ = true;
            for (const QString& l : step->lines()) say(l);
            model_.beforeStep(*step, *w);
            bool open = true;
            for (const QString& l : step->lines())
                if (!(open = session_.runLine(l))) break;
            current_.unloaded = !open;
            stepDone(store);
            if (!open) end(model_.atEnd(true, &current_, *w));
            last_ = current_;
            inStep_ = false;
        }
        end(model_.atEnd(false, last_ ? &*last_ : nullptr, *w));
    }

  private:
    void heard(const QString& line) {
        std::cerr << "| " << line.toStdString() << '\n';
        if (inStep_) current_.transcript << line;
        else heard_ << line;
    }

    // The program ended at once (or the session cannot go on); runs the checks of the step and
    // of the end, and ends the process with their verdict.
    [[noreturn]] void finished(int code) {
        if (code == usageStatus) {
            const QString why = errors_.isEmpty() ? QStringLiteral("the session stopped") : errors_.join("; ");
            if (why.contains(QStringLiteral("more than 1000 boxes"))) {
                // A box that keeps coming back whatever it is answered: named by the last two.
                QStringList last;
                for (qsizetype i = current_.transcript.size() - 1; i >= 0 && last.size() < 2; --i)
                    if (current_.transcript[i].startsWith(QStringLiteral("msgbox ")) ||
                        current_.transcript[i].startsWith(QStringLiteral("inputbox ")))
                        last.prepend(current_.transcript[i].section(QStringLiteral(" title="), 0, 0));
                fail(QStringLiteral("more than 1000 boxes in one action (%1: %2)")
                         .arg(current_.step.action, last.join(QStringLiteral(", then "))));
            }
            if (replaying_) stop(notReplayedStatus, why);
            stop(failedStatus, QStringLiteral("walker: ") + why);
        }
        FormWindow* w = session_.window();
        if (!w) stop(failedStatus, QStringLiteral("the program ended before its window opened"));
        if (!inStep_) end(model_.atEnd(true, nullptr, *w));
        current_.ended = true;
        stepDone(QDir::currentPath());
        end(model_.atEnd(true, &current_, *w));
    }

    void stepDone(const QString& store) {
        if (replaying_) {
            for (const QString& l : current_.transcript)
                if (l.startsWith(QStringLiteral("FAIL line"))) stop(notReplayedStatus, l);
        }
        // The walk's folder holds the store's folder and nothing else.
        const QDir parent = QFileInfo(store).dir();
        for (const QString& entry : parent.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            if (entry != QFileInfo(store).fileName())
                fail(QStringLiteral("%1 appeared beside the store's folder").arg(entry));
        if (const auto f = model_.afterStep(current_, *session_.window())) fail(*f);
    }

    [[noreturn]] void fail(const QString& why) {
        say(QStringLiteral("# failed at step %1").arg(current_.index));
        stop(failedStatus, why);
    }

    [[noreturn]] void end(const std::optional<QString>& failure) {
        if (failure) stop(failedStatus, *failure);
        stop(passedStatus, {});
    }

    [[noreturn]] void stop(int status, const QString& why) {
        if (!why.isEmpty()) say((status == failedStatus ? QStringLiteral("FAILED: ") : QStringLiteral("# ")) + why);
        std::cout.flush();
        std::cerr.flush();
        common::Env::current().exitNow(status);
        std::abort(); // not reached
    }

    WalkModel& model_;
    bool replaying_;
    uiscript::Session session_;
    QStringList errors_, heard_;
    StepRun current_;
    std::optional<StepRun> last_;
    bool inStep_ = false;
};

// --- The parent: walks, each in a child ---------------------------------------------------------

struct Options {
    QString program; // this program, started again for each walk
    int walks = 40;
    int steps = 60;
    uint64_t seed = 1;
    QString window = QStringLiteral("worksheet");
    bool keep = false;
    bool transcripts = false;
    int shrinkBudget = 300;  // replays a failing walk's shrinking may take
    int shrinkSeconds = 300; // the time all the shrinking of a run may take
    bool shrinkAll = false;  // every failure shrunk, not only the first of its kind
};

struct ChildResult {
    enum Verdict { Passed, Failed, NotReplayed } verdict = Failed;
    QString reason;
    QStringList lines;      // what the child printed: the script it ran
    QStringList transcript; // what the session wrote
    QString keptFolder;
};

ChildResult runChild(const Options& o, const QStringList& args, bool keepIfFailed) {
    ChildResult r;
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/walk-XXXXXX"));
    if (!folder.isValid() || !QDir(folder.path()).mkdir(QStringLiteral("store"))) {
        r.reason = QStringLiteral("no temporary folder for the walk");
        return r;
    }
    QProcess child;
    child.setWorkingDirectory(folder.filePath(QStringLiteral("store")));
    QStringList all = args;
    all << QStringLiteral("--window") << o.window;
    child.start(o.program, all);
    if (!child.waitForStarted(30000)) {
        r.reason =
            QStringLiteral("the walker could not start itself again (%1): %2").arg(o.program, child.errorString());
        return r;
    }
    const int timeoutMs = 30000 + 2000 * o.steps;
    bool timedOut = false;
    if (!child.waitForFinished(timeoutMs) && child.state() != QProcess::NotRunning) {
        timedOut = true;
        child.kill();
        child.waitForFinished(5000);
    }
    r.lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QStringList others; // what else the child said on its standard error (Qt's warnings)
    for (const QString& l : QString::fromUtf8(child.readAllStandardError()).split('\n', Qt::SkipEmptyParts)) {
        if (l.startsWith(QStringLiteral("| "))) r.transcript << l.mid(2);
        else others << l;
    }
    QString failedLine;
    for (const QString& l : r.lines)
        if (l.startsWith(QStringLiteral("FAILED: "))) failedLine = l.mid(8);
    if (timedOut) {
        r.reason = QStringLiteral("did not end within %1 s").arg(timeoutMs / 1000);
    } else if (child.exitStatus() == QProcess::CrashExit) {
        r.reason = QStringLiteral("crashed");
    } else if (child.exitCode() == passedStatus) {
        r.verdict = ChildResult::Passed;
    } else if (child.exitCode() == notReplayedStatus) {
        r.verdict = ChildResult::NotReplayed;
    } else if (child.exitCode() == failedStatus && !failedLine.isEmpty()) {
        r.reason = failedLine;
    } else {
        r.reason = QStringLiteral("exited with status %1%2")
                       .arg(child.exitCode())
                       .arg(others.isEmpty() ? QString() : QStringLiteral(": ") + others.last());
    }
    if (r.verdict == ChildResult::Failed && keepIfFailed) {
        folder.setAutoRemove(false);
        r.keptFolder = folder.path();
    }
    return r;
}

QStringList scriptOf(const QStringList& preamble, const std::vector<Step>& steps) {
    QStringList lines = preamble;
    for (const Step& s : steps) lines << s.lines();
    return lines;
}

// Shrinks a failing walk: ddmin over whole steps, then the answers of the steps left, each
// candidate replayed in a child of its own; a candidate counts when it fails in any way.
class Shrinker {
  public:
    Shrinker(const Options& o, QStringList preamble, const QString& scriptFile, std::function<bool()> outOfTime)
        : o_(o), preamble_(std::move(preamble)), file_(scriptFile), outOfTime_(std::move(outOfTime)) {}

    std::vector<Step> shrink(std::vector<Step> steps) {
        // A failure often needs only the last few steps: the shortest tail that fails first.
        for (size_t k = 1; k < steps.size() && budgetLeft(); k *= 2) {
            const std::vector<Step> tail(steps.end() - static_cast<std::ptrdiff_t>(k), steps.end());
            if (fails(tail)) {
                steps = tail;
                break;
            }
        }
        // An answer left queued goes to a later box: once answers are gone, steps that could not
        // go before may, so the two passes take turns while either takes something away.
        for (;;) {
            const size_t before = lineCount(steps);
            steps = withoutAnswers(ddmin(std::move(steps)));
            if (lineCount(steps) == before || !budgetLeft()) return steps;
        }
    }

    bool fails(const std::vector<Step>& steps) {
        ++replays_;
        QFile f(file_);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        f.write(scriptOf(preamble_, steps).join('\n').toUtf8() + '\n');
        f.close();
        ChildResult r = runChild(o_, {QStringLiteral("--replay"), file_}, false);
        if (r.verdict != ChildResult::Failed) return false;
        last_ = r;
        return true;
    }

    int replays() const { return replays_; }
    // The last replay that failed.
    const ChildResult& lastFailure() const { return last_; }

  private:
    static size_t lineCount(const std::vector<Step>& steps) {
        size_t n = 0;
        for (const Step& s : steps) n += static_cast<size_t>(s.answers.size()) + 1;
        return n;
    }

    // Each step's answers taken away, all at once, else one by one, where it still fails.
    std::vector<Step> withoutAnswers(std::vector<Step> steps) {
        for (size_t i = 0; i < steps.size() && budgetLeft(); ++i) {
            if (steps[i].answers.isEmpty()) continue;
            std::vector<Step> without = steps;
            without[i].answers.clear();
            if (fails(without)) {
                steps = without;
                continue;
            }
            if (steps[i].answers.size() == 1) continue;
            for (qsizetype a = steps[i].answers.size() - 1; a >= 0 && budgetLeft(); --a) {
                without = steps;
                without[i].answers.removeAt(a);
                if (fails(without)) steps = without;
            }
        }
        return steps;
    }

    std::vector<Step> ddmin(std::vector<Step> steps) {
        size_t n = 2;
        while (steps.size() >= 2 && budgetLeft()) {
            const size_t size = steps.size();
            const size_t chunk = (size + n - 1) / n;
            bool reduced = false;
            // Each part alone, then everything but each part.
            for (int pass = 0; pass < 2 && !reduced; ++pass) {
                for (size_t start = 0; start < size && budgetLeft(); start += chunk) {
                    const size_t stop = std::min(size, start + chunk);
                    std::vector<Step> candidate;
                    for (size_t i = 0; i < size; ++i)
                        if ((i >= start && i < stop) == (pass == 0)) candidate.push_back(steps[i]);
                    if (candidate.empty() || candidate.size() == size) continue;
                    if (fails(candidate)) {
                        steps = candidate;
                        n = pass == 0 ? 2 : std::max<size_t>(n - 1, 2);
                        reduced = true;
                        break;
                    }
                }
            }
            if (reduced) continue;
            if (n >= size) break;
            n = std::min(size, n * 2);
        }
        return steps;
    }

    bool budgetLeft() const { return replays_ < o_.shrinkBudget && !outOfTime_(); }

    const Options& o_;
    QStringList preamble_;
    QString file_;
    std::function<bool()> outOfTime_;
    int replays_ = 0;
    ChildResult last_;
};

// A failure's kind, for the summary: its reason without the figures, texts and actions that
// differ from walk to walk.
QString kindOf(QString reason) {
    static const QRegularExpression quotedText(QStringLiteral("\"(?:[^\"\\\\]|\\\\.)*\""));
    static const QRegularExpression inParentheses(QStringLiteral(" ?\\([^()]*\\)"));
    static const QRegularExpression numbers(QStringLiteral("\\d+"));
    reason.replace(quotedText, QStringLiteral("\"...\""));
    for (int i = 0; i < 3; ++i) reason.replace(inParentheses, QString());
    return reason.replace(numbers, QStringLiteral("N"));
}

int parentRun(const Options& o) {
    QTemporaryDir scripts(QDir::tempPath() + QStringLiteral("/walker-scripts-XXXXXX"));
    int failures = 0;
    long long stepsRun = 0;
    std::map<QString, QStringList> kinds;     // the seeds of each kind of failure
    std::map<QString, size_t> shortestOfKind; // the steps of each kind's shortest script so far
    qint64 shrinkMs = 0;                      // the time shrinking took so far
    for (int w = 0; w < o.walks; ++w) {
        const uint64_t seed = o.seed + static_cast<uint64_t>(w);
        const ChildResult r = runChild(
            o, {QStringLiteral("--one"), QString::number(seed), QStringLiteral("--steps"), QString::number(o.steps)},
            o.keep);
        QStringList preamble;
        const std::vector<Step> steps = stepsOf(r.lines, &preamble);
        stepsRun += static_cast<long long>(steps.size());
        if (r.verdict == ChildResult::Passed) continue;
        ++failures;
        const QString kind = kindOf(r.reason);
        QStringList& seen = kinds[kind]; // the seeds of this kind
        seen << QString::number(seed);
        say(QStringLiteral("seed %1 failed after %2 steps: %3").arg(seed).arg(steps.size()).arg(r.reason));
        if (!r.keptFolder.isEmpty()) say(QStringLiteral("  its folder is kept: %1").arg(r.keptFolder));
        // Each kind of failure is shrunk once, and again for a walk shorter than its shortest
        // script so far (every one with --shrink-all), within the time the shrinking of the whole
        // run may take.
        const bool shorter = !shortestOfKind.count(kind) || steps.size() < shortestOfKind[kind];
        if ((!shorter && !o.shrinkAll) || shrinkMs > 1000LL * o.shrinkSeconds) {
            say(QStringLiteral("  not shrunk (%1); again with: --seed %2 --walks 1 --steps %3")
                    .arg(!shorter ? QStringLiteral("as seed %1 failed").arg(seen.first())
                                  : QStringLiteral("no time left for shrinking"))
                    .arg(seed)
                    .arg(o.steps));
            say(QString());
            continue;
        }
        QElapsedTimer clock;
        clock.start();
        Shrinker shrinker(o, preamble, scripts.filePath(QStringLiteral("seed-%1.uis").arg(seed)),
                          [&] { return shrinkMs + clock.elapsed() > 1000LL * o.shrinkSeconds; });
        std::vector<Step> shortest = steps;
        ChildResult shown = r;
        if (!shrinker.fails(steps)) {
            say(QStringLiteral("  it did not fail again when replayed; its script:"));
        } else {
            shortest = shrinker.shrink(steps);
            shrinker.fails(shortest); // the shortest script's own run, for its reason and transcript
            shown = shrinker.lastFailure();
            say(QStringLiteral("  shortest script (%1 of %2 steps, %3 replays):")
                    .arg(shortest.size())
                    .arg(steps.size())
                    .arg(shrinker.replays()));
        }
        shortestOfKind[kind] =
            std::min(shortestOfKind.count(kind) ? shortestOfKind[kind] : shortest.size(), shortest.size());
        for (const QString& l : scriptOf(preamble, shortest)) say(l);
        say(QStringLiteral("# fails: ") + shown.reason);
        if (o.transcripts) {
            say(QStringLiteral("# its transcript:"));
            for (const QString& l : shown.transcript) say(QStringLiteral("#   ") + l);
        }
        say(QString());
        shrinkMs += clock.elapsed();
    }
    if (!kinds.empty()) {
        say(QStringLiteral("%1 kinds of failure:").arg(kinds.size()));
        for (const auto& [kind, seeds] : kinds)
            say(QStringLiteral("  %1 (seed%2 %3)")
                    .arg(kind, seeds.size() > 1 ? "s" : "", seeds.join(QStringLiteral(", "))));
    }
    say(QStringLiteral("%1 walker: %2 walks, %3 steps, %4 failures")
            .arg(o.window)
            .arg(o.walks)
            .arg(stepsRun)
            .arg(failures));
    return failures > 0 ? 1 : 0;
}

[[noreturn]] void childRun(const ModelFactory& makeModel, const QString& window, std::optional<uint64_t> seed,
                           int steps, const QString& replayFile) {
    std::unique_ptr<WalkModel> model = makeModel(window);
    if (!model) {
        std::cerr << "walker: no model of the window " << window.toStdString() << '\n';
        common::Env::current().exitNow(usageStatus);
    }
    std::vector<Step> script;
    if (!seed) {
        QFile f(replayFile);
        if (!f.open(QIODevice::ReadOnly)) {
            std::cerr << "walker: cannot read " << replayFile.toStdString() << '\n';
            common::Env::current().exitNow(usageStatus);
        }
        script = stepsOf(QString::fromUtf8(f.readAll()).split('\n'));
    }
    ChildWalk walk(*model, !seed);
    Rng rng(seed.value_or(0));
    WalkModel& m = *model;
    walk.run([&](int index, FormWindow& w) -> std::optional<Step> {
        if (seed) {
            if (index > steps) return std::nullopt;
            // The window as it is now decides what a person can reach.
            return randomStep(rng, w, m);
        }
        if (index > static_cast<int>(script.size())) return std::nullopt;
        return script[static_cast<size_t>(index - 1)];
    });
}

int usage(const std::string& program) {
    const std::string name = program.substr(program.find_last_of("/\\") + 1);
    std::fprintf(stderr,
                 "Usage: %1$s [--walks N] [--steps M] [--seed S] [--window NAME] [--keep] [--transcripts]\n"
                 "         [--shrink-budget REPLAYS] [--shrink-seconds S] [--shrink-all]\n"
                 "       %1$s --one SEED --steps M [--window NAME]   (one walk, in the current folder)\n"
                 "       %1$s --replay FILE [--window NAME]          (a walk's script again)\n",
                 name.c_str());
    return usageStatus;
}

} // namespace

int walkerMain(int argc, char** argv, const ModelFactory& makeModel) {
    Options o;
    std::optional<uint64_t> one;
    QString replay;
    const std::vector<std::string> args = common::Env::current().programArguments(argc, argv);
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) return std::nullopt;
            return QString::fromStdString(args[++i]);
        };
        auto number = [&](auto& into) {
            const auto v = value();
            bool ok = false;
            const qulonglong n = v ? v->toULongLong(&ok) : 0;
            if (!ok) return false;
            into = static_cast<std::remove_reference_t<decltype(into)>>(n);
            return true;
        };
        bool ok = true;
        if (a == "--walks") ok = number(o.walks);
        else if (a == "--steps") ok = number(o.steps);
        else if (a == "--seed") ok = number(o.seed);
        else if (a == "--shrink-budget") ok = number(o.shrinkBudget);
        else if (a == "--shrink-seconds") ok = number(o.shrinkSeconds);
        else if (a == "--shrink-all") o.shrinkAll = true;
        else if (a == "--one") ok = number(one.emplace());
        else if (a == "--window") {
            const auto v = value();
            ok = v.has_value();
            if (ok) o.window = *v;
        } else if (a == "--replay") {
            const auto v = value();
            ok = v.has_value();
            if (ok) replay = *v;
        } else if (a == "--keep") o.keep = true;
        else if (a == "--transcripts") o.transcripts = true;
        else ok = false;
        if (!ok) return usage(args[0]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (one || !replay.isEmpty()) {
        common::Env::current().standardStreamsAsBytes();
        QApplication app(argc, argv);
        testsupport::useLinuxFontAliases();
        childRun(makeModel, o.window, one, o.steps, replay);
    }
    QCoreApplication app(argc, argv);
    // Named once: a walker built again while it runs starts its new self.
    o.program = QCoreApplication::applicationFilePath();
    if (!makeModel(o.window)) {
        std::fprintf(stderr, "walker: no model of the window %s\n", o.window.toUtf8().constData());
        return usageStatus;
    }
    return parentRun(o);
}

} // namespace walker
