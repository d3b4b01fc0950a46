#pragma once
#include "platform/doubles/transcript.h"
#include "platform/platform.h"
#include "platform/qt/qt_printer.h"

#include <QDate>
#include <deque>
#include <memory>
#include <optional>

namespace platform {

// Thrown by the scripted platform when the program ends at once and no other ending was set.
struct ProgramEnded {};

// What a script sets up before the window opens.
struct ScriptSetup {
    std::optional<QDate> today;
    QTime time{9, 0}; // the time of day the clock says
    bool instanceRunning = false;
    bool printerInstalled = true;
    common::PageGeometry geometry; // letter paper, a quarter-inch offset
    QString pdfFile;               // empty: nothing kept
};

// The platform of a scripted session: every box is answered from queues, the clock says what
// the script says, programs are not started, and the printer records what it is asked to draw
// (and renders it through the real printing code).
class ScriptedPlatform {
  public:
    ScriptedPlatform(const ScriptSetup& setup, Transcript& transcript);
    ~ScriptedPlatform();
    Platform& platform() { return *platform_; }

    // Answer queues, used in order by the next box of each kind.
    void queueMessageAnswer(Answer a);
    void queueInput(std::optional<QString> text);   // nullopt: Cancel
    void queuePicture(std::optional<QString> path); // the picture dialog's answer; nullopt: Cancel
    void queueFont(std::optional<FontChoice> font);
    void queuePrintSetup(bool ok);

    // Called when the program ends at once; the default throws ProgramEnded.
    void setOnEnd(std::function<void()> onEnd);
    // Removes the folder where what was printed without a PDF asked for went (also before an
    // end that runs no destructors).
    void discardScratch();
    // Called when an action raises too many boxes (a retry loop answered cautiously).
    void setOnRunaway(std::function<void()> onRunaway);
    // Starts counting boxes for a new user action.
    void beginAction();
    // The boxes shown since the action began.
    int boxesShown() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<Platform> platform_;
};

} // namespace platform
