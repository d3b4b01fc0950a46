#include "appraise/worksheet/item_log.h"

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
    const int16_t count = cint(val(TextReader("appraise.pt").readField()));
    if (count >= 32767) throw RunError(err::Overflow, "appraise.pt");
    const int16_t n = static_cast<int16_t>(count + 1);
    {
        RecordFile log("appraise.dat", itemrec::length);
        log.write(n, record);
    }
    writeLines("appraise.pt", {str(n)});
}

} // namespace appraise
