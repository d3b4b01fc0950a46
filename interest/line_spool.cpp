#include "interest/line_spool.h"

#include "common/text_file.h"

namespace interest {

using namespace common;

namespace {
constexpr size_t piece = 1u << 20;

// Each line: its mark, its bytes, a line end.
void replayPart(std::string_view part, std::string& carried, const std::function<void(std::string_view, bool)>& each) {
    for (size_t from = 0; from < part.size();) {
        const size_t end = part.find('\n', from);
        if (end == std::string_view::npos) {
            carried.append(part.substr(from));
            return;
        }
        std::string_view line = part.substr(from, end - from);
        if (!carried.empty()) {
            carried.append(line);
            line = carried;
        }
        if (!line.empty()) each(line.substr(1), line[0] == 'C');
        carried.clear();
        from = end + 1;
    }
}
} // namespace

LineSpool::~LineSpool() {
    try {
        clear();
    } catch (const std::exception&) {
        // left for the next start to remove
    }
}

void LineSpool::add(std::string_view line, bool marked) {
    buffer_ += marked ? 'C' : 'L';
    buffer_ += line;
    buffer_ += '\n';
    ++lines_;
    if (buffer_.size() >= (file_ ? piece : inMemory_)) toFile();
}

void LineSpool::toFile() {
    if (!file_) {
        Env& env = Env::current();
        for (int n = 1; !file_; ++n) {
            // Another computer may be making a report in the same folder.
            path_ = name_ + " " + std::to_string(n) + temporarySuffix;
            if (!env.info(path_).exists) file_ = env.open(path_, true, FileLock::Exclusive);
        }
    }
    file_->writeAt(written_, buffer_);
    written_ += static_cast<int64_t>(buffer_.size());
    buffer_.clear();
}

void LineSpool::replay(const std::function<void(std::string_view, bool)>& each) {
    std::string carried;
    if (file_) {
        std::string part(piece, '\0');
        for (int64_t at = 0; at < written_;) {
            const size_t got = file_->readAt(at, part.data(), part.size());
            if (got == 0) break;
            at += static_cast<int64_t>(got);
            replayPart(std::string_view(part).substr(0, got), carried, each);
        }
    }
    replayPart(buffer_, carried, each); // the lines not yet in the file
}

void LineSpool::clear() {
    buffer_.clear();
    lines_ = 0;
    written_ = 0;
    if (!file_) return;
    file_.reset();
    Env::current().remove(path_);
}

} // namespace interest
