#pragma once
#include "interest/engine_host.h"
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
    // A second printer that gets every line of the report too (the copy kept in the store);
    // without `alsoPrinted` the report goes to the copy alone (no printer is installed, and a
    // second file of the same report would only be in the way).
    void copyReportTo(platform::Printer* copy, bool alsoPrinted = true) {
        if (!alsoPrinted) printers_.clear();
        printers_.push_back(copy);
    }
    // The report goes nowhere: a run whose numbers are wanted, not its paper.
    void dropReport() { printers_.clear(); }

    void notify(const QString& text, const QString& title, Tone tone, bool withCancel) override;
    bool confirmRemoval(const QString& charge) override;
    void reportLine(const QString& line) override;
    void reportColumns(const QString& columns) override;
    void endReport() override;
    void progress(int percent) override;
    void setBusy(bool on) override;
    void doEvents() override;
    const common::Clock& clock() const override;

  private:
    // A line of the report, or the column headings from there on.
    struct Line {
        QString text;
        bool columns = false;
    };
    // The report laid out in pages, for "Page N of M": each page its lines, headings included.
    std::vector<std::vector<QString>> pages() const;
    std::vector<QString> pageHeading(int page, int pages) const;
    void printLine(const QString& line);
    platform::Platform& p_;
    std::function<void(int)> progress_;
    std::optional<Heading> heading_;
    std::vector<Line> lines_; // a report with a heading waits for its end, to be paged
    // Where the report goes, the first of them deciding where pages break.
    std::vector<platform::Printer*> printers_;
};

} // namespace interest
