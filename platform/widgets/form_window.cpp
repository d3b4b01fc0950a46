#include "platform/widgets/form_window.h"

#include "common/run_error.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>

namespace platform {

using namespace common;

namespace {
// An Alt key that no control on screen takes reaches the focused box as a plain key press whose
// text is the letter (X11 and Windows both send it), and a box would type it. Such a key does
// nothing instead. AltGr, which types characters on many keyboards, comes as Ctrl+Alt on Windows
// and without Alt on X11, and passes.
class UnmatchedAltKeys : public QObject {
  public:
    explicit UnmatchedAltKeys(QWidget* window) : QObject(window), window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != window_) return false;
        const auto* k = static_cast<QKeyEvent*>(event);
        const auto mods = k->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
        return mods == Qt::AltModifier && !k->text().isEmpty() && k->text().at(0).isPrint();
    }

  private:
    QWidget* window_;
};
} // namespace

FormWindow::FormWindow(Platform& platform, QWidget* parent) : QWidget(parent), p(platform) {
    if (qApp) qApp->installEventFilter(new UnmatchedAltKeys(this));
}

void FormWindow::showRunError(const RunError& e) {
    QString text =
        QStringLiteral("Run-time error '%1':\r\r%2").arg(e.number()).arg(QString::fromStdString(e.description()));
    if (!e.detail().empty()) text += QStringLiteral("\r(%1)").arg(QString::fromStdString(e.detail()));
    p.messages.show(text, {}, Buttons::Ok, Icon::Critical);
}

void FormWindow::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RunError& e) {
        p.screen.setHourglass(false);
        showRunError(e);
    } catch (const std::bad_alloc&) {
        p.screen.setHourglass(false);
        showRunError(RunError(err::OutOfMemory));
    } catch (const std::exception& e) {
        // A fault of the program itself: shown like a run-time error, and the handler abandoned.
        p.screen.setHourglass(false);
        showRunError(RunError(err::InternalError, e.what()));
    }
}

void FormWindow::unload() {
    if (unloaded_) return;
    run([this] { formUnload(); });
    unloaded_ = true;
    hide();
    emit wasUnloaded();
}

bool FormWindow::coveredOnCanvas(QWidget* w) const {
    QWidget* const c = canvas();
    if (!w || w == c || !c->isAncestorOf(w)) return false;
    QWidget* top = c->childAt(w->mapTo(c, w->rect().center()));
    return top && top != w && !w->isAncestorOf(top) && !top->isAncestorOf(w);
}

bool FormWindow::focusNextPrevChild(bool next) {
    // Qt's own order (a group of options takes one stop), with the covered controls out of it
    // for this one step.
    std::vector<std::pair<QWidget*, Qt::FocusPolicy>> out;
    for (QWidget* w : canvas()->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && coveredOnCanvas(w)) {
            out.emplace_back(w, w->focusPolicy());
            w->setFocusPolicy(Qt::NoFocus);
        }
    const bool moved = QWidget::focusNextPrevChild(next);
    for (const auto& [w, policy] : out) w->setFocusPolicy(policy);
    return moved;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    bool close = true;
    if (!unloaded_) run([&] { close = queryUnload(); });
    if (!close) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

void FormWindow::onLostFocus(QWidget* control, std::function<void()> handler) {
    hooks_[control].lost = std::move(handler);
    control->installEventFilter(this);
}

void FormWindow::onGotFocus(QWidget* control, std::function<void()> handler) {
    hooks_[control].got = std::move(handler);
    control->installEventFilter(this);
}

void FormWindow::onKey(QWidget* control, std::function<bool(QKeyEvent*)> handler) {
    hooks_[control].key = std::move(handler);
    control->installEventFilter(this);
}

void FormWindow::onShowHide(QWidget* control, std::function<void()> handler) {
    hooks_[control].showHide = std::move(handler);
    control->installEventFilter(this);
}

void FormWindow::onShortcut(QWidget* control, std::function<bool()> handler) {
    hooks_[control].shortcut = std::move(handler);
    control->installEventFilter(this);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    auto it = hooks_.find(watched);
    if (it == hooks_.end()) return QWidget::eventFilter(watched, event);
    const Hooks& h = it->second;
    switch (event->type()) {
    case QEvent::FocusOut:
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
        const auto& f = event->type() == QEvent::FocusOut ? h.lost : h.got;
        if (f) run(f);
        break;
    }
    case QEvent::KeyPress:
        if (h.key) {
            bool swallow = false;
            run([&] { swallow = h.key(static_cast<QKeyEvent*>(event)); });
            if (swallow) return true;
        }
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (h.showHide) run(h.showHide);
        break;
    case QEvent::Shortcut:
        if (h.shortcut) {
            bool taken = false;
            run([&] { taken = h.shortcut(); });
            if (taken) return true;
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

bool FormWindow::isEnterKey(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

int FormWindow::tw(int twips) const { return twipsToPixels(twips, logicalDpiX() > 0 ? logicalDpiX() : 96); }

QLabel* FormWindow::label(const char* name, const QString& caption, int x, int y, int w, int h, QWidget* parent) {
    auto* l = new QLabel(caption, parent ? parent : canvas());
    l->setObjectName(name);
    l->setGeometry(tw(x), tw(y), tw(w), tw(h));
    return l;
}

QLineEdit* FormWindow::textBox(const char* name, const QString& text, int x, int y, int w, int h, QWidget* parent) {
    auto* e = new QLineEdit(text, parent ? parent : canvas());
    e->setObjectName(name);
    e->setGeometry(tw(x), tw(y), tw(w), tw(h));
    return e;
}

QPushButton* FormWindow::button(const char* name, const QString& caption, int x, int y, int w, int h, QWidget* parent) {
    auto* b = new QPushButton(caption, parent ? parent : canvas());
    b->setObjectName(name);
    b->setAutoDefault(false); // Enter belongs to the handlers, not to a default button
    b->setGeometry(tw(x), tw(y), tw(w), tw(h));
    // Enter on a focused button presses it, as Space does.
    onKey(b, [b](QKeyEvent* e) {
        if (!isEnterKey(e)) return false;
        b->click();
        return true;
    });
    return b;
}

} // namespace platform
