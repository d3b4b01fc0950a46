#include "interest/use_cases/window_host.h"

#include "common/cp1252.h"

#include <utility>

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

void WindowHost::reportLine(const QString& line) { reportBytes(common::toAnsi(line), false); }
void WindowHost::reportColumns(const QString& columns) { reportBytes(common::toAnsi(columns), true); }

int WindowHost::linesPerPage(const common::PageGeometry& page, int lineTwips) {
    return std::max(12, page.printableHeight / std::max(1, lineTwips));
}

FontChoice WindowHost::reportFont() { return FontChoice{QStringLiteral("Courier New"), 10, false, false}; }

void WindowHost::reportBytes(std::string_view bytes, bool columns) {
    if (!heading_) {
        if (!columns || !bytes.empty()) printLine(common::fromAnsi(bytes));
        return;
    }
    if (!kept_ && printers_.empty()) return;
    if (kept_) {
        if (!keptPaging_)
            keptPaging_ = std::make_unique<ReportPaging>(
                linesPerPage(kept_->page(), kept_->lineTwips()), static_cast<int>(pageHeading(1, 1).size()),
                [this](int page) { startKeptPage(page); },
                [this](std::string_view l) {
                    keptPage_.push_back({std::string(l), false});
                });
        keptPaging_->add(bytes, columns);
    }
    if (!printers_.empty()) spool_.add(bytes, columns);
}

void WindowHost::printLine(const QString& line) {
    for (Printer* each : printers_) each->printLine(line);
}

std::vector<std::pair<QString, bool>> WindowHost::pageHeading(int page, int pages) const {
    std::vector<std::pair<QString, bool>> h;
    if (!heading_->preview.isEmpty()) h.emplace_back(heading_->preview, false);
    h.emplace_back(heading_->posting, false);
    h.emplace_back(QStringLiteral("Store: ") + heading_->store, false);
    const QString pageOf =
        pages > 0 ? QStringLiteral("Page %1 of %2").arg(page).arg(pages) : QStringLiteral("Page %1 of ").arg(page);
    h.emplace_back(heading_->printed.isEmpty() ? pageOf
                                               : QStringLiteral("Printed %1   %2").arg(heading_->printed, pageOf),
                   pages == 0);
    if (!heading_->note.isEmpty()) h.emplace_back(heading_->note, false);
    h.emplace_back(QString(), false);
    return h;
}

void WindowHost::startKeptPage(int page) {
    if (page > 1) kept_->addPage(std::exchange(keptPage_, {}));
    for (const auto& [line, withTotal] : pageHeading(page, 0)) keptPage_.push_back({common::toAnsi(line), withTotal});
}

void WindowHost::printReport() {
    // As many lines a page as the first printer holds; the number of pages counted first.
    for (Printer* each : printers_) each->setFont(reportFont());
    const Printer& lead = *printers_.front();
    const int perPage = linesPerPage(lead.geometry(), lead.lineHeight());
    const int headingLines = static_cast<int>(pageHeading(1, 1).size());
    int pages = 0;
    if (keptPaging_ && perPage == linesPerPage(kept_->page(), kept_->lineTwips())) {
        pages = keptPaging_->pages(); // the same lines in the same pages
    } else {
        ReportPaging count(
            perPage, headingLines, [](int) {}, [](std::string_view) {});
        spool_.replay([&](std::string_view text, bool columns) { count.add(text, columns); });
        count.end();
        pages = count.pages();
    }
    ReportPaging paging(
        perPage, headingLines,
        [&](int page) {
            if (page > 1)
                for (Printer* each : printers_) each->newPage();
            for (const auto& line : pageHeading(page, pages)) printLine(line.first);
        },
        [this](std::string_view line) { printLine(common::fromAnsi(line)); });
    spool_.replay([&](std::string_view text, bool columns) { paging.add(text, columns); });
    paging.end();
    spool_.clear();
}

void WindowHost::endReport() {
    if (heading_) {
        if (kept_) {
            if (!keptPaging_) reportBytes({}, true); // a report of no line: its page and heading
            keptPaging_->end();
            kept_->addPage(std::exchange(keptPage_, {}));
        }
        if (!printers_.empty()) printReport();
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
