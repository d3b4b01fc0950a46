#include "interest/use_cases/kept_report.h"

#include "common/cp1252.h"
#include "common/env.h"
#include "common/run_error.h"
#include "common/text_file.h"

namespace interest {

using namespace common;

namespace {
constexpr size_t pagesWaiting = 64; // at most, so that a long report holds a few pages, not all
}

KeptReport::KeptReport(const Clock& clock, const std::string& date, const PageGeometry& page, int lineTwips)
    : page_(page), lineTwips_(lineTwips) {
    const QString stamp =
        clock.today().toString(QStringLiteral("yyyy-MM-dd")) + ' ' + clock.now().toString(QStringLiteral("HHmm"));
    stem_ = QStringLiteral("Interest report %1 posted %2").arg(fromAnsi(date), stamp);
    while (Env::current().info(name().toStdString()).exists) ++number_;
    partial_ = name() + QString::fromLatin1(temporarySuffix);
}

QString KeptReport::nameFor(int n) const {
    return n > 1 ? QStringLiteral("%1 (%2).pdf").arg(stem_).arg(n) : stem_ + QStringLiteral(".pdf");
}

KeptReport::~KeptReport() {
    if (!writer_.joinable()) return;
    try {
        drop(); // neither kept nor dropped: a run that ended by an error nobody caught here
    } catch (const std::exception&) {
        // the temporary is left for the next start to remove
    }
}

void KeptReport::addPage(std::vector<platform::CourierPdf::Line> lines) {
    std::unique_lock lock(mutex_);
    if (!writer_.joinable() && !failed_) writer_ = std::thread([this] { writePages(); });
    changed_.wait(lock, [this] { return pages_.size() < pagesWaiting || failed_; });
    if (failed_) return; // told at the end
    pages_.push_back(std::move(lines));
    changed_.notify_all();
}

void KeptReport::writePages() {
    try {
        {
            const std::lock_guard lock(mutex_);
            pdf_ = std::make_unique<platform::CourierPdf>(partial_.toStdString(), page_, 10, lineTwips_,
                                                          toAnsi(name().chopped(4)));
        }
        for (;;) {
            std::vector<platform::CourierPdf::Line> page;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !pages_.empty() || ended_; });
                if (pages_.empty()) return; // ended, every page written
                page = std::move(pages_.front());
                pages_.pop_front();
                changed_.notify_all();
            }
            pdf_->addPage(page);
        }
    } catch (...) {
        const std::lock_guard lock(mutex_);
        failed_ = std::current_exception();
        pages_.clear();
        changed_.notify_all();
    }
}

void KeptReport::stopWriting() {
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }
    if (writer_.joinable()) writer_.join();
}

QString KeptReport::keep() {
    if (!writer_.joinable() && !failed_) addPage({}); // a report of no page at all: one empty page
    stopWriting();
    try {
        if (failed_) std::rethrow_exception(failed_);
        pdf_->finish();
    } catch (...) {
        drop();
        throw;
    }
    pdf_.reset();
    // The name was free when the report began; a posting on another computer may have kept a
    // report under it since. The temporary name is never the answer: the next start removes it.
    for (int tries = 1; !Env::current().rename(partial_.toStdString(), name().toStdString()); ++tries) {
        if (!Env::current().info(name().toStdString()).exists || tries == 100) {
            drop();
            throw RunError(err::PathFileAccess, name().toStdString());
        }
        ++number_;
    }
    return name();
}

void KeptReport::drop() {
    stopWriting();
    pdf_.reset();
    if (Env::current().info(partial_.toStdString()).exists) Env::current().remove(partial_.toStdString());
}

} // namespace interest
