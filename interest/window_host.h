#pragma once
#include "interest/engine_host.h"
#include "platform/platform.h"

#include <functional>

namespace interest {

// The engine's host over the desktop platform: boxes, the printer for the report, the pointer.
class WindowHost : public EngineHost {
  public:
    // `progress` shows how far a run is.
    WindowHost(platform::Platform& p, std::function<void(int)> progress = {});

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
    platform::Platform& p_;
    std::function<void(int)> progress_;
};

} // namespace interest
