// uiscript: runs a scripted session of one of the windows and writes its transcript.
#include "platform/scripted_platform.h"
#include "tools/uiscript/control_state.h"
#include "tools/uiscript/script_words.h"
#include "tools/uiscript/window_factory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <memory>
#include <unistd.h>

using namespace common;
using namespace platform;
using namespace uiscript;

namespace {
struct ScriptError {
    QString message;
};

class Session {
  public:
    int run(const QStringList& lines);

  private:
    void command(const QStringList& w);
    void setup(const QStringList& w);
    void open(const QString& which);
    QWidget* control(const QString& name);
    bool reachable(QWidget* w);
    void focusOn(QWidget* w, Qt::FocusReason reason);
    void action(const std::function<void()>& f);
    void expect(const QStringList& w);
    void fail(const QString& what);
    void out(const QString& line) {
        std::cout << line.toStdString() << '\n';
        std::cout.flush();
    }
    [[noreturn]] void finish(int code) {
        std::cout.flush();
        std::fflush(nullptr);
        ::_exit(code);
    }
    int status() const { return failed_ ? 1 : 0; }

    ScriptSetup setup_;
    Transcript transcript_{[this](const std::string& s) { out(QString::fromStdString(s)); }};
    std::unique_ptr<ScriptedPlatform> platform_;
    std::unique_ptr<FormWindow> window_;
    int lineNo_ = 0;
    bool failed_ = false;
    bool stopped_ = false;
    bool quotedCancel_ = false; // the word was "cancel" in quotes: the text, not the button
};

Qt::Key keyOf(const QString& name, QString& text) {
    if (name == "Enter") {
        text = "\r";
        return Qt::Key_Return;
    }
    if (name == "Tab") {
        text = "\t";
        return Qt::Key_Tab;
    }
    if (name == "Escape") {
        text = QString(QChar(27));
        return Qt::Key_Escape;
    }
    if (name.size() == 1) {
        text = name;
        const QChar c = name[0].toUpper();
        return static_cast<Qt::Key>(c.unicode());
    }
    throw ScriptError{"unknown key " + name};
}

int Session::run(const QStringList& lines) {
    for (const QString& raw : lines) {
        ++lineNo_;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const auto words = splitScriptLine(line);
        quotedCancel_ = line.contains(QStringLiteral("\"cancel\""));
        try {
            if (!words) throw ScriptError{"unclosed quote"};
            command(*words);
        } catch (const ScriptError& e) {
            std::cerr << "uiscript: line " << lineNo_ << ": " << e.message.toStdString() << '\n';
            finish(2);
        }
        if (stopped_) break;
    }
    return status();
}

void Session::command(const QStringList& w) {
    const QString& c = w[0];
    auto need = [&](int n) {
        if (w.size() != n) throw ScriptError{QStringLiteral("%1 takes %2 words").arg(c).arg(n - 1)};
    };
    if (c == "today" || c == "instance" || c == "printer" || c == "pdf") {
        if (window_) throw ScriptError{c + " must come before open"};
        setup(w);
        return;
    }
    if (c == "open") {
        need(2);
        open(w[1]);
        return;
    }
    if (c == "answer") {
        need(2);
        static const QMap<QString, Answer> answers{{"ok", Answer::Ok},
                                                   {"yes", Answer::Yes},
                                                   {"no", Answer::No},
                                                   {"cancel", Answer::Cancel},
                                                   {"retry", Answer::Retry}};
        if (!answers.contains(w[1])) throw ScriptError{"unknown answer " + w[1]};
        if (!platform_) throw ScriptError{"answer before open"};
        platform_->queueMessageAnswer(answers[w[1]]);
        return;
    }
    if (c == "input") {
        need(2);
        if (!platform_) throw ScriptError{"input before open"};
        platform_->queueInput(w[1] == "cancel" && !quotedCancel_ ? std::nullopt : std::optional<QString>(w[1]));
        return;
    }
    if (c == "font") {
        if (!platform_) throw ScriptError{"font before open"};
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
        return;
    }
    if (c == "printsetup") {
        need(2);
        if (!platform_) throw ScriptError{"printsetup before open"};
        if (w[1] != "ok" && w[1] != "cancel") throw ScriptError{"printsetup ok or cancel"};
        platform_->queuePrintSetup(w[1] == "ok");
        return;
    }
    if (!window_) throw ScriptError{c + " before open"};
    if (c == "click") {
        if (w.size() != 2 && w.size() != 3) throw ScriptError{"click takes a control and maybe a line"};
        QWidget* ctl = control(w[1]);
        if (!reachable(ctl)) return;
        if (w.size() == 3) {
            auto* list = qobject_cast<QListWidget*>(ctl);
            if (!list) throw ScriptError{w[1] + " is not a list box"};
            bool ok = false;
            const int index = w[2].toInt(&ok);
            if (!ok || index < 0 || index >= list->count()) throw ScriptError{"no line " + w[2] + " in " + w[1]};
            action([&] {
                focusOn(list, Qt::MouseFocusReason);
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
            b->click();
        });
        return;
    }
    if (c == "type" || c == "append") {
        need(3);
        QWidget* ctl = control(w[1]);
        if (!reachable(ctl)) return;
        action([&] {
            focusOn(ctl, Qt::MouseFocusReason);
            if (auto* e = qobject_cast<QLineEdit*>(ctl)) {
                if (c == "type") e->selectAll();
                else e->end(false);
            } else if (auto* t = qobject_cast<QTextEdit*>(ctl)) {
                if (c == "type") t->selectAll();
                else t->moveCursor(QTextCursor::End);
            }
            for (QChar ch : w[2]) {
                if (ch == '\r' || ch == '\n') QTest::keyClick(ctl, Qt::Key_Return);
                else if (ch == '\t') QTest::keyClick(ctl, Qt::Key_Tab);
                else QTest::keyClicks(ctl, QString(ch));
            }
        });
        return;
    }
    if (c == "key") {
        need(3);
        QWidget* ctl = control(w[1]);
        QString text;
        const Qt::Key key = keyOf(w[2], text);
        if (!reachable(ctl)) return;
        action([&] {
            focusOn(ctl, Qt::MouseFocusReason);
            if (w[2].size() == 1) QTest::keyClicks(ctl, text);
            else QTest::keyClick(ctl, key);
        });
        return;
    }
    if (c == "scroll") {
        need(3);
        auto* bar = qobject_cast<QScrollBar*>(control(w[1]));
        if (!bar) throw ScriptError{w[1] + " is not a scroll bar"};
        bool ok = false;
        const int pos = w[2].toInt(&ok);
        if (!ok) throw ScriptError{"bad position " + w[2]};
        if (!reachable(bar)) return;
        action([&] {
            focusOn(bar, Qt::MouseFocusReason);
            bar->setValue(pos);
        });
        return;
    }
    if (c == "focus") {
        need(2);
        QWidget* ctl = control(w[1]);
        if (!reachable(ctl)) return;
        action([&] { focusOn(ctl, Qt::OtherFocusReason); });
        return;
    }
    if (c == "close") {
        need(1);
        action([&] { window_->close(); });
        return;
    }
    if (c == "show") {
        need(2);
        if (w[1] == "focus") {
            QWidget* f = QApplication::focusWidget();
            out(QStringLiteral("focus ") + (f ? f->objectName() : QString()));
            return;
        }
        for (const QString& l : showControl(control(w[1]))) out(l);
        return;
    }
    if (c == "expect") {
        expect(w);
        return;
    }
    throw ScriptError{"unknown command " + c};
}

void Session::setup(const QStringList& w) {
    const QString& c = w[0];
    if (c == "today") {
        if (w.size() != 2) throw ScriptError{"today takes a date"};
        const QDate d = QDate::fromString(w[1], QStringLiteral("MM-dd-yyyy"));
        if (!d.isValid()) throw ScriptError{"bad date " + w[1]};
        setup_.today = d;
    } else if (c == "instance") {
        if (w.size() != 2 || w[1] != "running") throw ScriptError{"instance running"};
        setup_.instanceRunning = true;
    } else if (c == "printer") {
        if (w.size() == 2 && w[1] == "none") {
            setup_.printerInstalled = false;
            setup_.geometry = PageGeometry{};
            return;
        }
        if (w.size() != 5) throw ScriptError{"printer W H L T"};
        int v[4];
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            v[i] = w[i + 1].toInt(&ok);
            if (!ok || v[i] < 0) throw ScriptError{"bad printer size " + w[i + 1]};
        }
        setup_.geometry = PageGeometry{v[0], v[1], v[2], v[3], v[0] - 2 * v[2], v[1] - 2 * v[3]};
    } else if (c == "pdf") {
        if (w.size() != 2) throw ScriptError{"pdf takes a file"};
        setup_.pdfFile = w[1];
    }
}

void Session::open(const QString& which) {
    if (window_) throw ScriptError{"one window a script"};
    platform_ = std::make_unique<ScriptedPlatform>(setup_, transcript_);
    platform_->setOnEnd([this] {
        out(QStringLiteral("end"));
        finish(status());
    });
    platform_->setOnRunaway([this] {
        std::cerr << "uiscript: line " << lineNo_ << ": more than 1000 boxes in one action\n";
        finish(2);
    });
    window_ = makeWindow(which, platform_->platform());
    if (!window_) throw ScriptError{"unknown window " + which};
    QObject::connect(window_.get(), &FormWindow::wasUnloaded, [this] {
        out(QStringLiteral("unload"));
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

// A person reaches only what is shown and enabled; anything else is a failed step.
bool Session::reachable(QWidget* w) {
    if (w->isVisible() && w->isEnabled()) return true;
    fail(QStringLiteral("%1 is %2: a person cannot reach it")
             .arg(w->objectName(), w->isVisible() ? "disabled" : "hidden"));
    return false;
}

QWidget* Session::control(const QString& name) {
    if (window_->objectName() == name) return window_.get();
    QWidget* found = nullptr;
    for (QWidget* w : window_->findChildren<QWidget*>(name)) {
        if (w->objectName() == name) {
            found = w;
            break;
        }
    }
    if (!found) throw ScriptError{"unknown control " + name};
    return found;
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
    out(QStringLiteral("FAIL line %1: %2").arg(lineNo_).arg(what));
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
} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "Usage: uiscript SCRIPT   (or - for standard input; run it in the data folder)\n");
        return argc == 2 ? 0 : 2;
    }
    QApplication app(argc, argv);
    QFile f;
    if (std::string(argv[1]) == "-") {
        if (!f.open(stdin, QIODevice::ReadOnly)) return 2;
    } else {
        f.setFileName(QString::fromLocal8Bit(argv[1]));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "uiscript: cannot read %s\n", argv[1]);
            return 2;
        }
    }
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    Session session;
    const int code = session.run(lines);
    std::fflush(nullptr);
    ::_exit(code); // no unload on the way out: the script decides when the window closes
}
