#pragma once
#include "platform/widgets/form_window.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace walker {

// A random walk over a window: each step is written in the scenario language, so that a walk is
// a script uiscript runs as it is. A step is the answers queued for the boxes it may raise
// ("answer yes", "input \"Tanzanite\"", "input cancel"), then one action ("click nextitem",
// "type Price \"2450\"", "key Price Alt+H", "scroll Color 793", "close").
struct Step {
    QStringList answers;
    QString action;

    QStringList lines() const;
    // Whether any of its lines holds this text (a control's name, a key).
    bool mentions(const QString& text) const;
};

// Script lines back into steps: answers gather until the action that ends their step; comments,
// blank lines and the lines before `open` (returned in `preamble`) are no steps.
std::vector<Step> stepsOf(const QStringList& lines, QStringList* preamble = nullptr);

// What one step showed.
struct StepRun {
    int index = 0; // 1 for the first step
    Step step;
    QStringList transcript; // the transcript lines the step produced
    bool ended = false;     // the program ended at once ("end")
    bool unloaded = false;  // the window unloaded ("unload")
};

// A box of the transcript and the answer it got.
struct Box {
    QString kind;   // "msgbox", "inputbox", "fontdialog", "printsetup"
    QString text;   // the message or the prompt
    QString title;  // msgbox and inputbox
    QString answer; // "yes", "no", "cancel", "ok", "retry"; an input box's text
    bool unscripted = false;
};
std::vector<Box> boxesOf(const QStringList& transcript);

// A file or folder of a folder snapshot.
struct FileState {
    bool folder = false;
    int64_t size = 0;
    QByteArray hash;
    int64_t modified = 0; // milliseconds since 1970

    bool sameContent(const FileState& o) const { return folder == o.folder && size == o.size && hash == o.hash; }
};
// Every file and folder under `root`, by its path relative to it ("APPRAISE/00012001.app").
using FolderSnapshot = std::map<QString, FileState>;
FolderSnapshot snapshotFolder(const QString& root);

struct FolderChange {
    enum Kind { Created, Changed, Removed } kind;
    QString path;
    bool rewritten = false; // written again with the same bytes (only its time changed)
};
// What differs between two snapshots: files created, changed or removed, and files written again
// with the same bytes.
std::vector<FolderChange> changesBetween(const FolderSnapshot& before, const FolderSnapshot& after);
QString describe(const FolderChange& c);

// What a walk knows of the window under test: the store it runs in, what is true after every
// step and at the end, and which actions it likes.
class WalkModel {
  public:
    virtual ~WalkModel() = default;

    // The window to open ("worksheet").
    virtual QString windowName() const = 0;
    // Writes the store's files into the current folder, which is empty.
    virtual void prepareStore() = 0;
    // The set-up lines before `open` ("today 12-07-2026").
    virtual QStringList setupLines() const { return {}; }

    // The window has opened (and its load showed `transcript`). A failure, or nothing.
    virtual std::optional<QString> opened(platform::FormWindow& window, const QStringList& transcript) = 0;
    // Before a step runs: the window as the step finds it.
    virtual void beforeStep(const Step& step, platform::FormWindow& window) {
        (void)step;
        (void)window;
    }
    // After a step: a failure, or nothing.
    virtual std::optional<QString> afterStep(const StepRun& run, platform::FormWindow& window) = 0;
    // At the end: `programEnded` when the program ended or the window unloaded in `last` (null:
    // at once on opening), else the steps ran out with the window open. A failure, or nothing.
    virtual std::optional<QString> atEnd(bool programEnded, const StepRun* last, platform::FormWindow& window) = 0;

    // How often the walker acts on a control, against 1 (0: never).
    virtual double weight(const QString& control) const {
        (void)control;
        return 1;
    }
    // How often the walker closes the window from its frame, against a control's 1.
    virtual double closeWeight() const { return 0.3; }
    // The texts typed into a box; `area` for a text area, `append` when they go after its text.
    virtual QStringList texts(QWidget* control, bool area, bool append) const;
    // The texts given to input boxes.
    virtual QStringList inputTexts() const;
    // Whether the walker may take this step now (a model keeps away from what would make its
    // own checks guess).
    virtual bool allows(const Step& step, platform::FormWindow& window) const {
        (void)step;
        (void)window;
        return true;
    }
};

using ModelFactory = std::function<std::unique_ptr<WalkModel>(const QString& window)>;

// The walker program: `--walks N --steps M --seed S --window NAME --keep` runs the walks, each
// in a child process of its own (this program again, with `--one SEED --steps M`), and shrinks
// the script of a failing walk by replaying it (`--replay FILE`). `makeModel` gives the model of
// a window name, or null for a name it does not know. Returns the exit status.
int walkerMain(int argc, char** argv, const ModelFactory& makeModel);

} // namespace walker
