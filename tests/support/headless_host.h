#pragma once
#include "interest/engine_host.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// The Interest engine without a desktop: boxes take their cautious answers (Cancel, No), the
// report is kept or only counted, nothing is started. For benchmarks, the crash test and tests.
class HeadlessHost : public interest::EngineHost {
  public:
    // `onEnd` runs when the program ends at once; by default the process ends (status 4).
    explicit HeadlessHost(std::function<void()> onEnd = {}, bool keepReport = false);

    void notify(const QString& text, const QString& title, interest::Tone tone, bool withCancel) override;
    bool askRetry(const QString& text, const QString& title) override;
    bool confirmRemoval(const QString& charge) override;
    void reportLine(const QString& line) override;
    void endReport() override;
    void progress(int) override {}
    void setBusy(bool) override {}
    void doEvents() override {}
    [[noreturn]] void endProgram() override;
    const common::Clock& clock() const override { return clock_; }

    int reportLines() const { return lines_; }
    int boxes() const { return static_cast<int>(shown_.size()); }
    const std::vector<std::string>& shown() const { return shown_; }
    const std::vector<std::string>& report() const { return report_; }
    // Answers for the next boxes that ask (Retry, Yes), in order; the cautious answer after.
    std::vector<bool> answers;
    // Runs for every box shown, with its text.
    std::function<void(const std::string&)> onShow;

  private:
    bool nextAnswer();
    std::function<void()> onEnd_;
    bool keepReport_;
    int lines_ = 0;
    std::vector<std::string> shown_, report_;
    common::SystemClock clock_;
};

// Thrown by a HeadlessHost made to throw it when the program ends.
struct HeadlessEnd {};

} // namespace testsupport
