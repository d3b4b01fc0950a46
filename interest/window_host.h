#pragma once
#include "interest/engine_host.h"
#include "platform/platform.h"

#include <functional>
#include <optional>

namespace interest {

// The engine's host over the desktop platform: boxes, the printer for the report, the pointer.
class WindowHost : public EngineHost {
  public:
    // The heading on every page of the report.
    struct Heading {
        QString preview; // a first line for a preview, empty for a posting
        QString posting; // "Interest posting of 12-7-98   Rate .015   Minimum 1.00"
        QString store;   // the store's folder
    };
    // `progress` shows how far a run is.
    WindowHost(platform::Platform& p, std::function<void(int)> progress = {}, std::optional<Heading> heading = {});

    void notify(const QString& text, const QString& title, Tone tone, bool withCancel) override;
    bool askRetry(const QString& text, const QString& title) override;
    bool confirmRemoval(const QString& charge) override;
    void reportLine(const QString& line) override;
    void endReport() override;
    void progress(int percent) override;
    void setBusy(bool on) override;
    void doEvents() override;
    [[noreturn]] void endProgram() override;
    const common::Clock& clock() const override;

  private:
    void pageHeading();
    platform::Platform& p_;
    std::function<void(int)> progress_;
    std::optional<Heading> heading_;
    int page_ = 0;
};

} // namespace interest
