#pragma once
#include "platform/doubles/scripted_platform.h"
#include "platform/widgets/form_window.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

namespace uiscript {

// One scripted session of a window: runs a script's lines through the real window on the
// scripted platform and writes the transcript line by line.
class Session {
  public:
    // `out` receives each transcript line and `errors` what stops a script that cannot be run;
    // `finish` ends the session with an exit status (the program ended at once, or the script
    // cannot be run) and must not return.
    Session(std::function<void(const QString&)> out, std::function<void(const QString&)> errors,
            std::function<void(int)> finish);
    ~Session();

    // Runs the script; the exit status: 0 when every expect held, 1 when one failed.
    int run(const QStringList& lines);
    // Runs one line of a script, as run() does, for a program that drives the session step by
    // step; false once the window has unloaded. A line that cannot be run ends the session.
    bool runLine(const QString& line);
    // The window the script opened; null before its open.
    platform::FormWindow* window() const { return window_.get(); }
    // Ends the process with this status, leaving nothing of the session behind.
    [[noreturn]] void finish(int code);

  private:
    struct Command {
        enum When { BeforeOpen, AfterOpen, WithWindow } when;
        void (Session::*handler)(const QStringList& words);
    };
    static const std::map<QString, Command>& commands();

    void line(const QString& raw);
    void command(const QStringList& w);
    // Set-up before the window opens.
    void today(const QStringList& w);
    void instance(const QStringList& w);
    void printer(const QStringList& w);
    void pdf(const QStringList& w);
    void open(const QStringList& w);
    // Answers for the boxes to come.
    void answer(const QStringList& w);
    void input(const QStringList& w);
    void picture(const QStringList& w);
    void font(const QStringList& w);
    void printsetup(const QStringList& w);
    // A person's actions.
    void click(const QStringList& w);
    void type(const QStringList& w);
    void key(const QStringList& w);
    void scroll(const QStringList& w);
    void focus(const QStringList& w);
    void close(const QStringList& w);
    // Looking.
    void show(const QStringList& w);
    void expect(const QStringList& w);

    QWidget* control(const QString& name);
    bool reachable(QWidget* w);
    // Reachable, and not covered by another control where the mouse would point.
    bool clickable(QWidget* w);
    void focusOn(QWidget* w, Qt::FocusReason reason);
    void action(const std::function<void()>& f);
    void fail(const QString& what);
    int status() const { return failed_ ? 1 : 0; }

    std::function<void(const QString&)> out_, errors_;
    std::function<void(int)> finish_;
    platform::ScriptSetup setup_;
    platform::Transcript transcript_;
    std::unique_ptr<platform::ScriptedPlatform> platform_;
    std::unique_ptr<platform::FormWindow> window_;
    int lineNo_ = 0;
    bool failed_ = false;
    bool stopped_ = false;
    bool quotedCancel_ = false; // the word was "cancel" in quotes: the text, not the button
};

} // namespace uiscript
