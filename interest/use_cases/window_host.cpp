#include "interest/use_cases/window_host.h"

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
    : p_(p), progress_(std::move(progress)), heading_(std::move(heading)), printers_{&p.printer} {}

void WindowHost::notify(const QString& text, const QString& title, Tone tone, bool withCancel) {
    p_.messages.show(text, title, withCancel ? Buttons::OkCancel : Buttons::Ok, iconOf(tone));
}

bool WindowHost::confirmRemoval(const QString& charge) {
    return p_.messages.show(charge, QStringLiteral("Remove this interest charge?"), Buttons::YesNo, Icon::Question,
                            Answer::No) == Answer::Yes;
}

void WindowHost::reportLine(const QString& line) {
    // A fixed-pitch font, so that the columns line up, and the heading on every page; a copy
    // has the printer's page and breaks where it does.
    if (printers_.empty()) return;
    if (heading_) {
        const Printer& lead = *printers_.front();
        const bool first = page_ == 0;
        if (first || lead.currentY() + lead.lineHeight() > lead.geometry().printableHeight) {
            for (Printer* each : printers_) {
                if (first) each->setFont(FontChoice{QStringLiteral("Courier New"), 10, false, false});
                else each->newPage();
            }
            pageHeading();
        }
    }
    printLine(line);
}

void WindowHost::printLine(const QString& line) {
    for (Printer* each : printers_) each->printLine(line);
}

void WindowHost::pageHeading() {
    ++page_;
    if (!heading_->preview.isEmpty()) printLine(heading_->preview);
    printLine(heading_->posting + QStringLiteral("   Page %1").arg(page_));
    printLine(QStringLiteral("Store: ") + heading_->store);
    if (!heading_->printed.isEmpty()) printLine(QStringLiteral("Printed ") + heading_->printed);
    printLine(QString());
}

void WindowHost::endReport() {
    for (Printer* each : printers_) each->endDoc();
}

void WindowHost::progress(int percent) {
    if (progress_) progress_(percent);
}

void WindowHost::setBusy(bool on) { p_.screen.setHourglass(on); }
void WindowHost::doEvents() { p_.screen.doEvents(); }
const common::Clock& WindowHost::clock() const { return p_.clock; }

} // namespace interest
