#include "interest/use_cases/line_spool.h"

#include "common/cp1252.h"
#include "common/text_file.h"

namespace interest {

using namespace common;

namespace {
constexpr size_t piece = 1u << 20;
}

LineSpool::~LineSpool() {
    try {
        clear();
    } catch (const std::exception&) {
        // left for the next start to remove
    }
}

void LineSpool::add(const QString& text, bool columns) {
    if (!file_) {
        Env& env = Env::current();
        for (int n = 1; !file_; ++n) {
            // Another computer may be making a report in the same folder.
            path_ = "Interest report lines " + std::to_string(n) + temporarySuffix;
            if (!env.info(path_).exists) file_ = env.open(path_, true, FileLock::Exclusive);
        }
    }
    buffer_ += columns ? 'C' : 'L';
    buffer_ += toAnsi(text);
    buffer_ += '\n'; // a report line holds no line end
    if (buffer_.size() >= piece) flush();
}

void LineSpool::flush() {
    if (buffer_.empty()) return;
    file_->writeAt(written_, buffer_);
    written_ += static_cast<int64_t>(buffer_.size());
    buffer_.clear();
}

void LineSpool::replay(const std::function<void(const QString&, bool)>& each) {
    if (!file_) return;
    flush();
    std::string part(piece, '\0'), line;
    for (int64_t at = 0; at < written_;) {
        const size_t got = file_->readAt(at, part.data(), part.size());
        if (got == 0) break;
        at += static_cast<int64_t>(got);
        for (size_t k = 0; k < got; ++k) {
            if (part[k] != '\n') {
                line += part[k];
                continue;
            }
            each(fromAnsi(line.substr(1)), !line.empty() && line[0] == 'C');
            line.clear();
        }
    }
}

void LineSpool::clear() {
    if (!file_) return;
    file_.reset();
    buffer_.clear();
    written_ = 0;
    Env::current().remove(path_);
}

} // namespace interest
