#pragma once
#include "interest/engine_host.h"
#include "interest/line_spool.h"
#include "interest/use_cases/kept_report.h"
#include "interest/use_cases/report_paging.h"
#include "platform/platform.h"

#include <functional>
#include <optional>
#include <vector>

namespace interest {

// The engine's host over the platform: boxes, the printer for the report, the pointer.
class WindowHost : public EngineHost {
  public:
    // The heading on every page of the report.
    struct Heading {
        QString preview; // a first line for a preview, empty for a posting
        QString posting; // "Interest posting of 12-7-98   Rate .015 (1.5 % a month)   Minimum 1.00"
        QString store;   // the store's folder, in full
        QString printed; // the day the report is printed, as the posting date is written
        QString note;    // a line under them, when there is one (the last-month exclusion)
    };
    // `progress` shows how far a run is.
    WindowHost(platform::Platform& p, std::function<void(int)> progress = {}, std::optional<Heading> heading = {});
    // The copy kept in the store gets every page of the report too, as the report is made;
    // without `alsoPrinted` the report goes to the copy alone (no printer is installed, and a
    // second file of the same report would only be in the way).
    void keepReportIn(KeptReport& kept, bool alsoPrinted = true) {
        if (!alsoPrinted) printers_.clear();
        kept_ = &kept;
    }
    // The report goes nowhere: a run whose numbers are wanted, not its paper.
    void dropReport() {
        printers_.clear();
        kept_ = nullptr;
    }
    // The lines a page of paper holds, of `lineTwips` each, on a page of `page`.
    static int linesPerPage(const common::PageGeometry& page, int lineTwips);
    // The face the report is printed in: fixed-pitch, so that the columns line up.
    static platform::FontChoice reportFont();

    void notify(const QString& text, const QString& title, Tone tone, bool withCancel) override;
    bool confirmRemoval(const QString& charge) override;
    void reportLine(const QString& line) override;
    void reportColumns(const QString& columns) override;
    void reportBytes(std::string_view line, bool columns) override;
    void endReport() override;
    void progress(int percent) override;
    void setBusy(bool on) override;
    void doEvents() override;
    const common::Clock& clock() const override;

  private:
    // The heading of a page: its lines, the one that ends in the number of pages marked (that
    // number left out when `pages` is 0, for the kept copy that prints it when it is known).
    std::vector<std::pair<QString, bool>> pageHeading(int page, int pages) const;
    void startKeptPage(int page);
    void printReport();
    void printLine(const QString& line);
    platform::Platform& p_;
    std::function<void(int)> progress_;
    std::optional<Heading> heading_;
    // Where the report goes: the printers, the first of them deciding where pages break; their
    // lines wait in the spool for the end, when the number of pages is known.
    std::vector<platform::Printer*> printers_;
    LineSpool spool_;
    // The kept copy, paged as the lines come and handed a page at a time.
    KeptReport* kept_ = nullptr;
    std::unique_ptr<ReportPaging> keptPaging_;
    std::vector<platform::CourierPdf::Line> keptPage_;
};

} // namespace interest
