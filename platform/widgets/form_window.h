#pragma once
#include "common/run_error.h"
#include "platform/platform.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <map>

namespace platform {

// The base of the programs' one window: runs handlers so that a run-time error they do not
// catch is shown to the user and abandons only that handler, routes the lost-focus, got-focus
// and key events of controls to handlers, and unloads once.
class FormWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FormWindow(Platform& platform, QWidget* parent = nullptr);

    // The load handler; the window is shown afterwards unless it unloaded itself.
    virtual void load() = 0;
    bool unloaded() const { return unloaded_; }
    // Unloads the window: runs the unload handler, then closes it.
    void unload();

  signals:
    void wasUnloaded();

  protected:
    // The unload handler (closing from the frame, or an unload from code).
    virtual void formUnload() {}
    // Asked before the window closes from its frame: false keeps it open.
    virtual bool queryUnload() { return true; }

    // Runs a handler; an uncaught run-time error is shown (by showRunError).
    void run(const std::function<void()>& handler);
    // By default with its number and description, as the store's support knows them.
    virtual void showRunError(const common::RunError& e);

    // Handlers for a control's lost-focus and got-focus (not raised when the whole window
    // loses or gains activation, as when a box opens over it).
    void onLostFocus(QWidget* control, std::function<void()> handler);
    void onGotFocus(QWidget* control, std::function<void()> handler);
    // A key handler sees the key before the control; returning true swallows it.
    void onKey(QWidget* control, std::function<bool(QKeyEvent*)> handler);
    // After the control is shown or hidden, whether or not the window itself is on screen.
    void onShowHide(QWidget* control, std::function<void()> handler);
    // The control's Alt key pressed; returning true takes it from the control.
    void onShortcut(QWidget* control, std::function<bool()> handler);

    // Return or the keypad's Enter.
    static bool isEnterKey(const QKeyEvent* e);

    // Units: twips to the screen's logical pixels.
    int tw(int twips) const;

    // Where controls are placed: the window itself, or a canvas inside it (a scrolled one).
    QWidget* canvas() const { return canvas_ ? canvas_ : const_cast<FormWindow*>(this); }
    void setCanvas(QWidget* canvas) { canvas_ = canvas; }

    // Controls placed in twips on `parent` (the canvas when none), under their design names.
    QLabel* label(const char* name, const QString& caption, int x, int y, int w, int h, QWidget* parent = nullptr);
    QLineEdit* textBox(const char* name, const QString& text, int x, int y, int w, int h, QWidget* parent = nullptr);
    QPushButton* button(const char* name, const QString& caption, int x, int y, int w, int h,
                        QWidget* parent = nullptr);

    void closeEvent(QCloseEvent* event) override;
    // Tab and Shift+Tab go past controls another one covers (a list or a text shown over the
    // window): a person cannot see where the focus went, and Enter would press what is hidden.
    bool focusNextPrevChild(bool next) override;
    // Whether another control is on top of this one where it is shown.
    bool coveredOnCanvas(QWidget* w) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    Platform& p;

  private:
    struct Hooks {
        std::function<void()> lost, got, showHide;
        std::function<bool(QKeyEvent*)> key;
        std::function<bool()> shortcut;
    };
    std::map<QObject*, Hooks> hooks_;
    bool unloaded_ = false;
    QWidget* canvas_ = nullptr;
};

} // namespace platform
