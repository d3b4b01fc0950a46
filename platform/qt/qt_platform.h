#pragma once
#include "platform/platform.h"
#include "platform/qt/qt_printer.h"

#include <memory>

class QWidget;

namespace platform {

// The real desktop: Qt's dialogs, the system printer, real processes and the system clock.
class QtPlatform {
  public:
    // `programName` titles the boxes and names the single-copy lock and fallback PDFs.
    explicit QtPlatform(const QString& programName);
    ~QtPlatform();
    Platform& platform() { return *platform_; }
    // The window the dialogs belong to.
    void setParentWindow(QWidget* w);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<Platform> platform_;
};

} // namespace platform
