#include "item_log.h"

#include "basic_number.h"
#include "file_names.h"
#include "record_file.h"
#include "records.h"
#include "run_error.h"
#include "text_file.h"

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
