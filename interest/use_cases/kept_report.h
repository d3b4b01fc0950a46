#pragma once
#include "common/dates.h"
#include "common/page_geometry.h"
#include "platform/courier_pdf.h"

#include <QString>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace interest {

// A posting's report kept in the store's folder as a PDF: written under a temporary name and
// given its own once whole, so that a stop never leaves a broken report where the reports are
// listed. Its pages are written on a thread of their own as the report is made, so the posting
// does not wait for them.
class KeptReport {
  public:
    // "Interest report 12-9-26 posted 2026-12-09 0900.pdf", or with " (2)" when that is taken.
    // The pages are `page`, a line every `lineTwips`.
    KeptReport(const common::Clock& clock, const std::string& date, const common::PageGeometry& page, int lineTwips);
    ~KeptReport();
    KeptReport(const KeptReport&) = delete;
    KeptReport& operator=(const KeptReport&) = delete;

    int lineTwips() const { return lineTwips_; }
    const common::PageGeometry& page() const { return page_; }
    // A page of the report, written after those before it.
    void addPage(std::vector<platform::CourierPdf::Line> lines);
    // The report ended and given its name; the name it is kept under, the next free one when
    // another report took its name meanwhile. An error writing or naming it is a run-time error,
    // and nothing of it is left.
    QString keep();
    // The report discarded, nothing of it left.
    void drop();
    QString name() const { return nameFor(number_); }

  private:
    void writePages(); // the writing thread
    void stopWriting();
    QString nameFor(int n) const; // n > 1: " (n)"
    QString stem_, partial_;
    int number_ = 1; // of the name the report takes: 1 for none, n for " (n)"
    common::PageGeometry page_;
    int lineTwips_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<platform::CourierPdf::Line>> pages_; // made, not yet written
    bool ended_ = false;
    std::exception_ptr failed_;
    std::unique_ptr<platform::CourierPdf> pdf_;
    std::thread writer_;
};

} // namespace interest
