#include "tests/support/headless_host.h"

namespace testsupport {

HeadlessHost::HeadlessHost(bool keepReport) : keepReport_(keepReport) {}

bool HeadlessHost::nextAnswer() {
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.erase(answers.begin());
    return a;
}

void HeadlessHost::notify(const QString& text, const QString&, interest::Tone, bool) {
    shown_.push_back(text.toStdString());
    if (onShow) onShow(shown_.back());
}

bool HeadlessHost::confirmRemoval(const QString& charge) {
    notify(charge, {}, interest::Tone::Plain, false);
    return nextAnswer();
}

void HeadlessHost::reportLine(const QString& line) {
    ++lines_;
    if (keepReport_) report_.push_back(line.toStdString());
}

void HeadlessHost::endReport() {}

} // namespace testsupport
