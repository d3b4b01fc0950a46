#pragma once
#include "platform/platform.h"

#include <QString>
#include <memory>

namespace interest {

// A posting's report kept in the store's folder: written under a temporary name and given its
// own once whole, so that a stop never leaves a broken report where the reports are listed.
class KeptReport {
  public:
    // "Interest report 12-9-26 posted 2026-12-09 0900.pdf", or with " (2)" when that is taken.
    KeptReport(platform::Platform& p, const std::string& date);
    platform::Printer& printer() { return *printer_; }
    // The report ended and given its name; the name it is kept under.
    QString keep();
    // The report discarded, nothing of it left.
    void drop();
    const QString& name() const { return name_; }

  private:
    QString name_, partial_;
    std::unique_ptr<platform::Printer> printer_;
};

} // namespace interest
