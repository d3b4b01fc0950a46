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
    // Shows a document in the desktop's file manager (on Windows, Explorer with it selected);
    // error 53 when it cannot.
    virtual void showInFileManager(const QString& path) = 0;
    // Whether the desktop can start a new e-mail with a file attached (xdg-email on Linux).
    virtual bool canAttachToEmail() = 0;
    // Starts a new e-mail in the desktop's mail program with the file attached; error 53 when it
    // cannot.
    virtual void attachToEmail(const QString& path) = 0;
    // Whether a program of this name can be started, for suggesting one.
    virtual bool installed(const std::string& program) = 0;
    // Where the system's register of installed programs puts one ("winword.exe"); empty when
    // it names none.
    virtual std::string registered(const std::string& program) = 0;
    // Ends the process at once: no unload handlers run.
    [[noreturn]] virtual void endProcess() = 0;
};

// Whether another copy of this program runs for this user on this computer.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;
    // Another copy of the program runs on this computer.
    virtual bool anotherRunning() = 0;
    // Another copy of the program runs on this computer with `folder` as its store.
    virtual bool anotherRunningIn(const QString& folder) = 0;
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

// How a command line is split into words: as a POSIX shell does (quotes and backslashes), or
// as Windows programs do (double quotes; a backslash is a letter of a path except before a
// quote).
enum class CommandLineRules { Shell, Windows };

// The rules of the system the programs run on.
#ifdef _WIN32
inline constexpr CommandLineRules kSystemRules = CommandLineRules::Windows;
#else
inline constexpr CommandLineRules kSystemRules = CommandLineRules::Shell;
#endif

// A command line split into words by these rules, without expanding anything.
std::vector<std::string> splitCommandLine(const std::string& commandLine, CommandLineRules rules = kSystemRules);

// Where a program of the command line is found: a name with a folder as it is (with ".exe"
// added when it has none and the system needs it), else the current folder without regard to
// case, then beside the running program, then the program search path; ".exe" is tried with
// and without. Empty when nowhere.
std::string findProgram(const std::string& name, const std::string& besideFolder);
// A program of this name in the current folder (the first step of findProgram); empty when none.
std::string programInFolder(const std::string& name);

} // namespace platform
