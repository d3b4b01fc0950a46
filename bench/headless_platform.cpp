#include "bench/headless_platform.h"

#include "common/run_error.h"
#include "interest/posting_run.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

using namespace common;
using namespace platform;
using namespace interest;

struct HeadlessPlatform::Impl : MessageBox,
                                InputBox,
                                FontDialog,
                                PrintSetupDialog,
                                Printer,
                                Processes,
                                SingleInstance,
                                Clipboard,
                                Screen {
    int lines = 0, shown = 0;
    int x = 0, y = 0;
    bool open = false;
    SystemClock clock;
    Answer show(const QString&, const QString&, Buttons b, Icon) override {
        ++shown;
        return b == Buttons::YesNo ? Answer::No : (b == Buttons::Ok ? Answer::Ok : Answer::Cancel);
    }
    QString ask(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<FontChoice> choose(const FontChoice&) override { return std::nullopt; }
    bool choose() override { return false; }
    bool installed() const override { return false; }
    PageGeometry geometry() const override { return {}; }
    int currentX() const override { return x; }
    int currentY() const override { return y; }
    void setCurrentX(int v) override { x = v; }
    void setCurrentY(int v) override { y = v; }
    void setFont(const FontChoice&) override {}
    int lineHeight() const override { return 240; }
    void printLine(const QString&) override {
        ++lines;
        open = true;
    }
    void circle(int, int, int) override {}
    void picture(int, int, const QImage&) override {}
    void newPage() override {}
    void endDoc() override { open = false; }
    void killDoc() override { open = false; }
    bool inDocument() const override { return open; }
    int renderText(QTextEdit&, int first, const QRect&) override { return first; }
    void start(const std::string&, int) override {}
    [[noreturn]] void endProcess() override {
        if (onEnd) onEnd();
        std::fflush(nullptr);
        std::_Exit(4);
    }
    std::function<void()> onEnd;
    bool anotherRunning() override { return false; }
    void setText(const QString&) override {}
    void setHourglass(bool) override {}
    void doEvents() override {}
    void refresh() override {}
};

HeadlessPlatform::HeadlessPlatform(std::function<void()> onEnd) : impl_(std::make_unique<Impl>()) {
    auto& i = *impl_;
    i.onEnd = std::move(onEnd);
    platform_.reset(new Platform{i, i, i, i, i, i, i.clock, i, i, i});
}

HeadlessPlatform::~HeadlessPlatform() = default;
int HeadlessPlatform::printedLines() const { return impl_->lines; }
int HeadlessPlatform::boxes() const { return impl_->shown; }

int postHeadless(const std::string& datebox, const std::string& rate, const std::string& minimum, bool firstmon) {
    HeadlessPlatform platform;
    std::string steplabel;
    PostingInput in{datebox, rate, minimum, true, firstmon, false};
    PostingRun run(in, platform.platform(), steplabel, nullptr);
    try {
        return static_cast<int>(run.run());
    } catch (const RunError& e) {
        std::fprintf(stderr, "posting stopped at %s: %s\n", steplabel.c_str(), e.what());
        return 10;
    }
}

} // namespace bench
