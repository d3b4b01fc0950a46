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
    if (printers_.empty()) return;
    if (heading_) lines_.push_back({line, false});
    else printLine(line);
}

void WindowHost::reportColumns(const QString& columns) {
    if (printers_.empty()) return;
    if (heading_) lines_.push_back({columns, true});
    else if (!columns.isEmpty()) printLine(columns);
}

void WindowHost::printLine(const QString& line) {
    for (Printer* each : printers_) each->printLine(line);
}

std::vector<QString> WindowHost::pageHeading(int page, int pages) const {
    std::vector<QString> h;
    if (!heading_->preview.isEmpty()) h.push_back(heading_->preview);
    h.push_back(heading_->posting);
    h.push_back(QStringLiteral("Store: ") + heading_->store);
    const QString pageOf = QStringLiteral("Page %1 of %2").arg(page).arg(pages);
    h.push_back(heading_->printed.isEmpty() ? pageOf
                                            : QStringLiteral("Printed %1   %2").arg(heading_->printed, pageOf));
    if (!heading_->note.isEmpty()) h.push_back(heading_->note);
    h.emplace_back();
    return h;
}

std::vector<std::vector<QString>> WindowHost::pages() const {
    // As many lines a page as the first printer holds; the heading, and the column headings in
    // force, on top of every page. Column headings never end a page: their lines follow them.
    const Printer& lead = *printers_.front();
    const int perPage = std::max(12, lead.geometry().printableHeight / std::max(1, lead.lineHeight()));
    const int headingLines = static_cast<int>(pageHeading(1, 1).size());
    std::vector<std::vector<QString>> pages;
    QString columns;
    int used = perPage; // a page is started at the first line
    for (size_t k = 0; k < lines_.size(); ++k) {
        const Line& l = lines_[k];
        const bool newPage = l.columns ? used + 2 > perPage : used + 1 > perPage;
        if (l.columns) columns = l.text;
        if (newPage) {
            pages.emplace_back();
            used = headingLines;
            if (!columns.isEmpty()) {
                pages.back().push_back(columns);
                ++used;
            }
            if (l.columns) continue;
        } else if (l.columns) {
            if (!columns.isEmpty()) {
                pages.back().push_back(columns);
                ++used;
            }
            continue;
        }
        pages.back().push_back(l.text);
        ++used;
    }
    if (pages.empty()) pages.emplace_back();
    return pages;
}

void WindowHost::endReport() {
    if (heading_ && !printers_.empty()) {
        // A fixed-pitch font, so that the columns line up.
        for (Printer* each : printers_) each->setFont(FontChoice{QStringLiteral("Courier New"), 10, false, false});
        const std::vector<std::vector<QString>> laid = pages();
        const int count = static_cast<int>(laid.size());
        for (int n = 1; n <= count; ++n) {
            if (n > 1)
                for (Printer* each : printers_) each->newPage();
            for (const QString& line : pageHeading(n, count)) printLine(line);
            for (const QString& line : laid[static_cast<size_t>(n - 1)]) printLine(line);
        }
        lines_.clear();
    }
    for (Printer* each : printers_) each->endDoc();
}

void WindowHost::progress(int percent) {
    if (progress_) progress_(percent);
}

void WindowHost::setBusy(bool on) { p_.screen.setHourglass(on); }
void WindowHost::doEvents() { p_.screen.doEvents(); }
const common::Clock& WindowHost::clock() const { return p_.clock; }

} // namespace interest
