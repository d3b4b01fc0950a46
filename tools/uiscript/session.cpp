#include "tools/uiscript/session.h"

#include "tools/uiscript/control_state.h"
#include "tools/uiscript/script_words.h"
#include "tools/uiscript/window_factory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

namespace uiscript {

using namespace platform;

namespace {
struct ScriptError {
    QString message;
};

void needWords(const QStringList& w, int n) {
    if (w.size() != n) throw ScriptError{QStringLiteral("%1 takes %2 words").arg(w[0]).arg(n - 1)};
}

// A key of the script: Enter, Tab, Escape, Space, Left, Right, Up, Down, Home, End, PageUp,
// PageDown, a character, each maybe after Alt+ or Ctrl+ (or both).
Qt::Key keyOf(QString name, QString& text, Qt::KeyboardModifiers& modifiers) {
    modifiers = Qt::NoModifier;
    for (;;) {
        if (name.startsWith(QStringLiteral("Alt+")) && name.size() > 4) {
            modifiers |= Qt::AltModifier;
            name = name.mid(4);
        } else if (name.startsWith(QStringLiteral("Ctrl+")) && name.size() > 5) {
            modifiers |= Qt::ControlModifier;
            name = name.mid(5);
        } else {
            break;
        }
    }
    static const QMap<QString, std::pair<Qt::Key, QString>> named{{"Enter", {Qt::Key_Return, "\r"}},
                                                                  {"Tab", {Qt::Key_Tab, "\t"}},
                                                                  {"Escape", {Qt::Key_Escape, QString(QChar(27))}},
                                                                  {"Space", {Qt::Key_Space, " "}},
                                                                  {"Left", {Qt::Key_Left, ""}},
                                                                  {"Right", {Qt::Key_Right, ""}},
                                                                  {"Up", {Qt::Key_Up, ""}},
                                                                  {"Down", {Qt::Key_Down, ""}},
                                                                  {"Home", {Qt::Key_Home, ""}},
                                                                  {"End", {Qt::Key_End, ""}},
                                                                  {"PageUp", {Qt::Key_PageUp, ""}},
                                                                  {"PageDown", {Qt::Key_PageDown, ""}},
                                                                  {"Backspace", {Qt::Key_Backspace, "\b"}},
                                                                  {"Delete", {Qt::Key_Delete, ""}}};
    if (const auto it = named.find(name); it != named.end()) {
        text = it->second;
        return it->first;
    }
    if (name.size() == 1) {
        // As the desktop sends them: an Alt key carries its letter as text (a box that gets it
        // would type it), a Ctrl key a control character that no box types.
        text = modifiers & Qt::ControlModifier ? QString() : modifiers & Qt::AltModifier ? name.toLower() : name;
        return static_cast<Qt::Key>(name[0].toUpper().unicode());
    }
    throw ScriptError{"unknown key " + name};
}
} // namespace

Session::Session(std::function<void(const QString&)> out, std::function<void(const QString&)> errors,
                 std::function<void(int)> finish)
    : out_(std::move(out)), errors_(std::move(errors)), finish_(std::move(finish)),
      transcript_([this](const std::string& s) { out_(withFolderNamed(QString::fromStdString(s), true)); }) {}

Session::~Session() = default;

const std::map<QString, Session::Command>& Session::commands() {
    static const std::map<QString, Command> table = {
        {"today", {Command::BeforeOpen, &Session::today}},
        {"instance", {Command::BeforeOpen, &Session::instance}},
        {"printer", {Command::BeforeOpen, &Session::printer}},
        {"pdf", {Command::BeforeOpen, &Session::pdf}},
        {"open", {Command::BeforeOpen, &Session::open}},
        {"answer", {Command::AfterOpen, &Session::answer}},
        {"input", {Command::AfterOpen, &Session::input}},
        {"picture", {Command::AfterOpen, &Session::picture}},
        {"font", {Command::AfterOpen, &Session::font}},
        {"printsetup", {Command::AfterOpen, &Session::printsetup}},
        {"click", {Command::WithWindow, &Session::click}},
        {"type", {Command::WithWindow, &Session::type}},
        {"append", {Command::WithWindow, &Session::type}},
        {"key", {Command::WithWindow, &Session::key}},
        {"scroll", {Command::WithWindow, &Session::scroll}},
        {"focus", {Command::WithWindow, &Session::focus}},
        {"close", {Command::WithWindow, &Session::close}},
        {"show", {Command::WithWindow, &Session::show}},
        {"expect", {Command::WithWindow, &Session::expect}},
    };
    return table;
}

int Session::run(const QStringList& lines) {
    for (const QString& raw : lines) {
        line(raw);
        if (stopped_) break;
    }
    return status();
}

bool Session::runLine(const QString& raw) {
    line(raw);
    return !stopped_;
}

void Session::line(const QString& raw) {
    ++lineNo_;
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith('#')) return;
    const auto words = splitScriptLine(line);
    quotedCancel_ = line.contains(QStringLiteral("\"cancel\""));
    try {
        if (!words) throw ScriptError{"unclosed quote"};
        command(*words);
    } catch (const ScriptError& e) {
        errors_(QStringLiteral("uiscript: line %1: %2").arg(lineNo_).arg(e.message));
        finish(2);
    }
}

void Session::command(const QStringList& w) {
    const QString& c = w[0];
    const auto it = commands().find(c);
    if (it == commands().end()) throw ScriptError{"unknown command " + c};
    const Command& cmd = it->second;
    if (c == "open") {
        if (window_) throw ScriptError{"one window a script"};
    } else if (cmd.when == Command::BeforeOpen && window_) {
        throw ScriptError{c + " must come before open"};
    } else if (cmd.when == Command::AfterOpen && !platform_) {
        throw ScriptError{c + " before open"};
    } else if (cmd.when == Command::WithWindow && !window_) {
        throw ScriptError{c + " before open"};
    }
    (this->*cmd.handler)(w);
}

void Session::today(const QStringList& w) {
    if (w.size() != 2 && w.size() != 3) throw ScriptError{"today takes a date and maybe a time"};
    const QDate d = QDate::fromString(w[1], QStringLiteral("MM-dd-yyyy"));
    if (!d.isValid()) throw ScriptError{"bad date " + w[1]};
    setup_.today = d;
    if (w.size() == 3) {
        const QTime t = QTime::fromString(w[2], QStringLiteral("HH:mm"));
        if (!t.isValid()) throw ScriptError{"bad time " + w[2]};
        setup_.time = t;
    }
}

void Session::instance(const QStringList& w) {
    if (w.size() != 2 || w[1] != "running") throw ScriptError{"instance running"};
    setup_.instanceRunning = true;
}

void Session::printer(const QStringList& w) {
    if (w.size() == 2 && w[1] == "none") {
        setup_.printerInstalled = false;
        setup_.geometry = common::PageGeometry{};
        return;
    }
    if (w.size() != 5) throw ScriptError{"printer W H L T"};
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = w[i + 1].toInt(&ok);
        if (!ok || v[i] < 0) throw ScriptError{"bad printer size " + w[i + 1]};
    }
    setup_.geometry = common::PageGeometry{v[0], v[1], v[2], v[3], v[0] - 2 * v[2], v[1] - 2 * v[3]};
}

void Session::pdf(const QStringList& w) {
    if (w.size() != 2) throw ScriptError{"pdf takes a file"};
    setup_.pdfFile = w[1];
}

void Session::open(const QStringList& w) {
    needWords(w, 2);
    platform_ = std::make_unique<ScriptedPlatform>(setup_, transcript_);
    platform_->setOnEnd([this] {
        out_(QStringLiteral("end"));
        finish(status());
    });
    platform_->setOnRunaway([this] {
        errors_(QStringLiteral("uiscript: line %1: more than 1000 boxes in one action").arg(lineNo_));
        finish(2);
    });
    window_ = makeWindow(w[1], platform_->platform());
    if (!window_) throw ScriptError{"unknown window " + w[1]};
    QObject::connect(window_.get(), &FormWindow::wasUnloaded, [this] {
        out_(QStringLiteral("unload"));
        stopped_ = true;
    });
    platform_->beginAction();
    window_->load();
    if (stopped_) return;
    window_->show();
    window_->activateWindow();
    QApplication::setActiveWindow(window_.get());
    (void)QTest::qWaitForWindowActive(window_.get(), 2000);
    QCoreApplication::processEvents();
}

void Session::answer(const QStringList& w) {
    needWords(w, 2);
    static const QMap<QString, Answer> answers{{"ok", Answer::Ok},
                                               {"yes", Answer::Yes},
                                               {"no", Answer::No},
                                               {"cancel", Answer::Cancel},
                                               {"retry", Answer::Retry}};
    if (!answers.contains(w[1])) throw ScriptError{"unknown answer " + w[1]};
    platform_->queueMessageAnswer(answers[w[1]]);
}

void Session::input(const QStringList& w) {
    needWords(w, 2);
    platform_->queueInput(w[1] == "cancel" && !quotedCancel_ ? std::nullopt : std::optional<QString>(w[1]));
}

void Session::picture(const QStringList& w) {
    needWords(w, 2);
    // A path is as the script's folder has it: relative to the store folder.
    platform_->queuePicture(w[1] == "cancel" && !quotedCancel_ ? std::nullopt : std::optional<QString>(w[1]));
}

void Session::font(const QStringList& w) {
    if (w.size() == 2 && w[1] == "cancel") {
        platform_->queueFont(std::nullopt);
        return;
    }
    if (w.size() < 3) throw ScriptError{"font takes a name and a size"};
    bool ok = false;
    FontChoice f{w[1], w[2].toDouble(&ok), false, false};
    if (!ok) throw ScriptError{"bad font size " + w[2]};
    for (int i = 3; i < w.size(); ++i) {
        if (w[i] == "bold") f.bold = true;
        else if (w[i] == "italic") f.italic = true;
        else throw ScriptError{"unknown font word " + w[i]};
    }
    platform_->queueFont(f);
}

void Session::printsetup(const QStringList& w) {
    needWords(w, 2);
    if (w[1] != "ok" && w[1] != "cancel") throw ScriptError{"printsetup ok or cancel"};
    platform_->queuePrintSetup(w[1] == "ok");
}

void Session::click(const QStringList& w) {
    if (w.size() != 2 && w.size() != 3) throw ScriptError{"click takes a control and maybe a line"};
    QWidget* ctl = control(w[1]);
    if (!clickable(ctl)) return;
    if (w.size() == 3) {
        auto* list = qobject_cast<QListWidget*>(ctl);
        if (!list) throw ScriptError{w[1] + " is not a list box"};
        bool ok = false;
        const int index = w[2].toInt(&ok);
        if (!ok || index < 0 || index >= list->count()) throw ScriptError{"no line " + w[2] + " in " + w[1]};
        action([&] {
            focusOn(list, Qt::MouseFocusReason);
            // A box opened as the focus left the control before takes the click, as on the desktop.
            if (platform_->boxesShown() > 0) return;
            list->scrollToItem(list->item(index));
            const QRect r = list->visualItemRect(list->item(index));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        });
        return;
    }
    auto* b = qobject_cast<QAbstractButton*>(ctl);
    if (!b) throw ScriptError{w[1] + " cannot be clicked"};
    action([&] {
        if (b->focusPolicy() & Qt::ClickFocus) focusOn(b, Qt::MouseFocusReason);
        // A box opened as the focus left the control before takes the click, as on the desktop.
        if (platform_->boxesShown() > 0) return;
        b->click();
    });
}

void Session::type(const QStringList& w) {
    needWords(w, 3);
    const bool append = w[0] == "append";
    QWidget* ctl = control(w[1]);
    if (!reachable(ctl)) return;
    action([&] {
        focusOn(ctl, Qt::MouseFocusReason);
        if (auto* e = qobject_cast<QLineEdit*>(ctl)) {
            if (!append) e->selectAll();
            else e->end(false);
        } else if (auto* t = qobject_cast<QTextEdit*>(ctl)) {
            if (!append) t->selectAll();
            else t->moveCursor(QTextCursor::End);
        }
        const QString& text = w[2];
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text[i];
            if (ch == '\r' || ch == '\n') {
                QTest::keyClick(ctl, Qt::Key_Return);
            } else if (ch == '\t') {
                QTest::keyClick(ctl, Qt::Key_Tab);
            } else if (ch.unicode() < 0x80) {
                QTest::keyClicks(ctl, QString(ch));
            } else {
                // Any other character, a pair of surrogates as one, is typed as its text.
                const qsizetype n = ch.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                QTest::sendKeyEvent(QTest::Click, ctl, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
                i += n - 1;
            }
        }
    });
}

void Session::key(const QStringList& w) {
    needWords(w, 3);
    QWidget* ctl = control(w[1]);
    QString text;
    Qt::KeyboardModifiers modifiers;
    const Qt::Key k = keyOf(w[2], text, modifiers);
    if (!reachable(ctl)) return;
    action([&] {
        focusOn(ctl, Qt::MouseFocusReason);
        if (w[2].size() == 1) QTest::keyClicks(ctl, text);
        else if (modifiers & Qt::AltModifier) QTest::sendKeyEvent(QTest::Click, ctl, k, text, modifiers);
        else QTest::keyClick(ctl, k, modifiers);
        // An Alt key presses its button as a click does: down, then up 100 ms later.
        if (modifiers & Qt::AltModifier) QTest::qWait(150);
    });
}

void Session::scroll(const QStringList& w) {
    needWords(w, 3);
    auto* bar = qobject_cast<QScrollBar*>(control(w[1]));
    if (!bar) throw ScriptError{w[1] + " is not a scroll bar"};
    bool ok = false;
    const int pos = w[2].toInt(&ok);
    if (!ok) throw ScriptError{"bad position " + w[2]};
    if (!reachable(bar)) return;
    action([&] {
        focusOn(bar, Qt::MouseFocusReason);
        // A drag: the thumb is taken, moved and let go.
        bar->setSliderDown(true);
        bar->setValue(pos);
        bar->setSliderDown(false);
    });
}

void Session::focus(const QStringList& w) {
    needWords(w, 2);
    QWidget* ctl = control(w[1]);
    if (!reachable(ctl)) return;
    action([&] { focusOn(ctl, Qt::OtherFocusReason); });
}

void Session::close(const QStringList& w) {
    needWords(w, 1);
    action([&] { window_->close(); });
}

void Session::show(const QStringList& w) {
    needWords(w, 2);
    if (w[1] == "focus") {
        QWidget* f = QApplication::focusWidget();
        out_(QStringLiteral("focus ") + (f ? f->objectName() : QString()));
        return;
    }
    if (w[1] == "shortcuts") {
        out_(QStringLiteral("shortcuts"));
        for (const QString& l : showShortcuts(window_.get())) out_(l);
        return;
    }
    for (const QString& l : showControl(control(w[1]))) out_(l);
}

// A person reaches only what is shown and enabled; anything else is a failed step.
bool Session::reachable(QWidget* w) {
    if (w->isVisible() && w->isEnabled()) return true;
    fail(QStringLiteral("%1 is %2: a person cannot reach it")
             .arg(w->objectName(), w->isVisible() ? "disabled" : "hidden"));
    return false;
}

bool Session::clickable(QWidget* w) {
    // The mouse reaches what is on top where it points: a control under another (a list shown
    // over the window) cannot be clicked, as on the desktop.
    if (!reachable(w)) return false;
    if (w == window_.get()) return true;
    const QPoint centre = w->mapTo(window_.get(), w->rect().center());
    QWidget* top = window_->childAt(centre);
    if (!top || top == w || w->isAncestorOf(top)) return true;
    QWidget* named = top;
    while ((named->objectName().isEmpty() || named->objectName().startsWith(QLatin1String("qt_"))) &&
           named->parentWidget())
        named = named->parentWidget();
    fail(QStringLiteral("%1 is covered by %2: a person cannot click it").arg(w->objectName(), named->objectName()));
    return false;
}

QWidget* Session::control(const QString& name) {
    if (window_->objectName() == name) return window_.get();
    for (QWidget* w : window_->findChildren<QWidget*>(name))
        if (w->objectName() == name) return w;
    throw ScriptError{"unknown control " + name};
}

void Session::focusOn(QWidget* w, Qt::FocusReason reason) {
    if (QApplication::focusWidget() == w) return;
    w->setFocus(reason);
}

void Session::action(const std::function<void()>& f) {
    platform_->beginAction();
    f();
    QCoreApplication::processEvents();
}

void Session::fail(const QString& what) {
    failed_ = true;
    out_(QStringLiteral("FAIL line %1: %2").arg(lineNo_).arg(what));
}

void Session::finish(int code) {
    // The process ends without unloading: the scratch folder goes first.
    if (platform_) platform_->discardScratch();
    finish_(code);
    std::abort(); // not reached: `finish` does not return
}

void Session::expect(const QStringList& w) {
    if (w.size() == 3 && w[1] == "focus") {
        QWidget* f = QApplication::focusWidget();
        const QString name = f ? f->objectName() : QString();
        if (name != w[2]) fail(QStringLiteral("focus is on %1, expected %2").arg(name, w[2]));
        return;
    }
    if (w.size() < 4) throw ScriptError{"expect NAME what VALUE"};
    QWidget* ctl = control(w[1]);
    const QString& what = w[2];
    if (what == "text" && w.size() == 4) {
        const QString t = controlText(ctl);
        if (t != w[3]) fail(QStringLiteral("%1 text is %2, expected %3").arg(w[1], quoted(t), quoted(w[3])));
    } else if (what == "value" && w.size() == 4) {
        const auto v = controlValue(ctl);
        if (!v) throw ScriptError{w[1] + " has no value"};
        if (QString::number(*v) != w[3])
            fail(QStringLiteral("%1 value is %2, expected %3").arg(w[1]).arg(*v).arg(w[3]));
    } else if (what == "enabled" && w.size() == 4) {
        const QString v = ctl->isEnabled() ? "yes" : "no";
        if (v != w[3]) fail(QStringLiteral("%1 enabled is %2, expected %3").arg(w[1], v, w[3]));
    } else if (what == "visible" && w.size() == 4) {
        const QString v = controlVisible(ctl) ? "yes" : "no";
        if (v != w[3]) fail(QStringLiteral("%1 visible is %2, expected %3").arg(w[1], v, w[3]));
    } else if ((what == "line" && w.size() == 5) || (what == "count" && w.size() == 4)) {
        auto* list = qobject_cast<QListWidget*>(ctl);
        if (!list) throw ScriptError{w[1] + " is not a list box"};
        if (what == "count") {
            if (QString::number(list->count()) != w[3])
                fail(QStringLiteral("%1 count is %2, expected %3").arg(w[1]).arg(list->count()).arg(w[3]));
        } else {
            const int i = w[3].toInt();
            const QString t = (i >= 0 && i < list->count()) ? list->item(i)->text() : QStringLiteral("(no line)");
            if (t != w[4])
                fail(QStringLiteral("%1 line %2 is %3, expected %4").arg(w[1], w[3], quoted(t), quoted(w[4])));
        }
    } else {
        throw ScriptError{"unknown expect " + what};
    }
}

} // namespace uiscript
