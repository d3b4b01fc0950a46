#pragma once
#include <QString>
#include <string>
#include <vector>

namespace platform {

// Starting other programs and ending this one.
class Processes {
  public:
    virtual ~Processes() = default;
    // Starts a program from a command line with a window style (2 minimised, 3 maximised)
    // without waiting for it. A program that cannot be found or started is error 53.
    virtual void start(const std::string& commandLine, int windowStyle) = 0;
    // Opens a document (a PDF report) with the program the desktop opens it with; error 53 when
    // it cannot.
    virtual void openDocument(const QString& path) = 0;
    // Whether a program of this name can be started, for suggesting one.
    virtual bool installed(const std::string& program) = 0;
    // Ends the process at once: no unload handlers run.
    [[noreturn]] virtual void endProcess() = 0;
};

// Whether another copy of this program runs for this user on this computer.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    virtual bool anotherRunning() = 0;
};

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

// The mouse pointer and the running of pending window events.
class Screen {
  public:
    virtual ~Screen() = default;
    virtual void setHourglass(bool on) = 0;
    virtual void doEvents() = 0;
    // Lets the window repaint during a long run, without taking the user's input.
    virtual void refresh() = 0;
};

// A command line split into words the way a shell splits them (quotes and backslashes),
// without expanding anything.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

// Where a program of the command line is found: the current folder without regard to case,
// then beside the running program (a trailing ".exe" dropped), then PATH. Empty when nowhere.
std::string findProgram(const std::string& name, const std::string& besideFolder);

} // namespace platform
