#pragma once
#include "platform/platform.h"

#include <functional>
#include <memory>

namespace bench {

// A platform with no desktop: boxes take their cautious answers, the printer only counts
// lines, nothing is started. For running the posting in benchmarks and the crash test.
class HeadlessPlatform {
  public:
    // `onEnd` runs when the program ends at once; by default the process ends.
    explicit HeadlessPlatform(std::function<void()> onEnd = {});
    ~HeadlessPlatform();
    platform::Platform& platform() { return *platform_; }
    int printedLines() const;
    int boxes() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<platform::Platform> platform_;
};

// Posts interest in the current folder as the window's Start does, headless. Returns the
// run's outcome as a number (0 completed).
int postHeadless(const std::string& datebox, const std::string& rate, const std::string& minimum, bool firstmon);

// Thrown by a HeadlessPlatform whose program ends, when it was made to throw this.
struct HeadlessEnd {};

} // namespace bench
