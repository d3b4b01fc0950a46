#include "appraise/worksheet/item_log.h"

#include <algorithm>

#include "appraise/worksheet/item_stone_records.h"
#include "common/basic_number.h"
#include "common/file_names.h"
#include "common/record_file.h"
#include "common/run_error.h"
#include "common/text_file.h"

namespace appraise {

using namespace common;

void logItem(const std::string& record, const std::function<void()>& created) {
    if (!fileExists("appraise.pt")) {
        writeLines("appraise.pt", {"0"});
        if (created) created();
    }
    int32_t count = 0;
    try {
        count = clng(val(TextReader("appraise.pt").readField()));
    } catch (const RunError& e) {
        // An empty count file counts nothing; the log itself says how far it goes.
        if (e.number() != err::PastEnd) throw;
    }
    if (count >= 32767) throw RunError(err::Overflow, "appraise.pt");
    RecordFile log("appraise.dat", itemrec::length);
    // After the count and after every record already in the log, so none is written over.
    const int64_t records =
        (log.size() + static_cast<int64_t>(itemrec::length) - 1) / static_cast<int64_t>(itemrec::length);
    const int64_t n = std::max<int64_t>(count, records) + 1;
    if (n > 32767) throw RunError(err::Overflow, "appraise.pt");
    log.write(n, record);
    log.close();
    writeLines("appraise.pt", {str(static_cast<double>(n))});
}

} // namespace appraise
