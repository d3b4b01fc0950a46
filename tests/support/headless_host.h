#pragma once
#include "interest/engine_host.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// The Interest engine without a desktop: the removal's questions take the answers given, then
// No; the report is kept or only counted. For benchmarks, the crash test and tests.
class HeadlessHost : public interest::EngineHost {
  public:
    explicit HeadlessHost(bool keepReport = false);

    void notify(const QString& text, const QString& title, interest::Tone tone, bool withCancel) override;
    bool confirmRemoval(const QString& charge) override;
    void reportLine(const QString& line) override;
    void endReport() override;
    void progress(int) override {}
    void setBusy(bool) override {}
    void doEvents() override {}
    const common::Clock& clock() const override { return clock_; }

    int reportLines() const { return lines_; }
    int boxes() const { return static_cast<int>(shown_.size()); }
    const std::vector<std::string>& shown() const { return shown_; }
    const std::vector<std::string>& report() const { return report_; }
    // Answers for the next removals asked about (true: remove), in order; No after.
    std::vector<bool> answers;
    // Runs for every box shown, with its text.
    std::function<void(const std::string&)> onShow;

  private:
    bool nextAnswer();
    bool keepReport_;
    int lines_ = 0;
    std::vector<std::string> shown_, report_;
    common::SystemClock clock_;
};

} // namespace testsupport
