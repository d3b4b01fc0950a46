#include "interest/window_host.h"

#include <cstdlib>

namespace interest {

using namespace platform;

namespace {
Icon iconOf(Tone t) {
    switch (t) {
    case Tone::Exclamation: return Icon::Exclamation;
    case Tone::Critical: return Icon::Critical;
    case Tone::Plain: break;
    }
    return Icon::None;
}
} // namespace

WindowHost::WindowHost(Platform& p, std::function<void(int)> progress, std::optional<Heading> heading)
    : p_(p), progress_(std::move(progress)), heading_(std::move(heading)) {}

void WindowHost::notify(const QString& text, const QString& title, Tone tone, bool withCancel) {
    p_.messages.show(text, title, withCancel ? Buttons::OkCancel : Buttons::Ok, iconOf(tone));
}

bool WindowHost::askRetry(const QString& text, const QString& title) {
    return p_.messages.show(text, title, Buttons::RetryCancel, Icon::Critical) == Answer::Retry;
}

bool WindowHost::confirmRemoval(const QString& charge) {
    return p_.messages.show(charge, QStringLiteral("Remove this interest charge?"), Buttons::YesNo) == Answer::Yes;
}

void WindowHost::reportLine(const QString& line) {
    Printer& printer = p_.printer;
    if (heading_) {
        // A fixed-pitch font, so that the columns line up, and the heading on every page.
        if (page_ == 0) {
            printer.setFont(FontChoice{QStringLiteral("Courier New"), 10, false, false});
            pageHeading();
        } else if (printer.currentY() + printer.lineHeight() > printer.geometry().printableHeight) {
            printer.newPage();
            pageHeading();
        }
    }
    printer.printLine(line);
}

void WindowHost::pageHeading() {
    ++page_;
    Printer& printer = p_.printer;
    if (!heading_->preview.isEmpty()) printer.printLine(heading_->preview);
    printer.printLine(heading_->posting + QStringLiteral("   Page %1").arg(page_));
    printer.printLine(QStringLiteral("Store: ") + heading_->store);
    printer.printLine(QString());
}
void WindowHost::endReport() { p_.printer.endDoc(); }

void WindowHost::progress(int percent) {
    if (progress_) progress_(percent);
}

void WindowHost::setBusy(bool on) { p_.screen.setHourglass(on); }
void WindowHost::doEvents() { p_.screen.doEvents(); }
void WindowHost::endProgram() {
    p_.processes.endProcess();
    std::abort(); // not reached: the platform ends the process
}
const common::Clock& WindowHost::clock() const { return p_.clock; }

} // namespace interest
