#pragma once
#include <QChar>
#include <QColor>
#include <QString>
#include <functional>

namespace platform {

// What a program of the store is called and how it looks.
struct ProgramIdentity {
    const char* command;     // "appraise": the usage line's name
    QString title;           // "Appraise": the application's name, and the store-folder question's
    const char* description; // the usage text
    QChar letter;            // the icon's letter and colour
    QColor colour;
};

// The start every program of the store shares: --help and --version, the store's folder from
// the command line (or, started without one, the remembered folder, asked for once), the
// application with its name and icon. Then `run` makes the window and returns its event loop's
// exit status.
int runProgram(int argc, char** argv, const ProgramIdentity& identity, const std::function<int()>& run);

// A program that cannot start says why: on its standard error, and in a box where that reaches
// no one (on Windows, or started from the desktop). The application is made for the box when
// there is none yet.
void reportStartFailure(int& argc, char** argv, const QString& program, const QString& what);

} // namespace platform
