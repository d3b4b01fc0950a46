#include "store/last_posting.h"

#include "common/file_names.h"
#include "common/text_file.h"

namespace store {

using namespace common;

std::optional<LastPosting> readLastPosting() {
    if (!fileExists(lastPostingFile)) return std::nullopt;
    TextReader r(lastPostingFile);
    LastPosting last;
    last.date = r.readField();
    last.rate = r.readField();
    if (!r.atEnd()) last.minimum = r.readField();
    return last;
}

std::optional<std::string> readLastPostingDate() {
    if (!fileExists(lastPostingFile)) return std::nullopt;
    return TextReader(lastPostingFile).readField();
}

void writeLastPosting(const std::string& date, const std::string& rate, const std::string& minimum) {
    writeLines(lastPostingFile, {date, rate, minimum});
}

} // namespace store
