// The date checks of both programs over any text.
#include "appraise/documents/fixdate.h"
#include "common/dates.h"
#include "common/run_error.h"
#include "interest/posting_date.h"
#include "store/month_files.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace common;
using namespace appraise;
using namespace interest;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string d = text;
    fixdate(d);
    const std::string n = normaliseDashedDate(text);
    if (n != "ERROR" && normaliseDashedDate(n) != n) std::abort(); // a normalised date stays as it is
    try {
        if (const auto p = parsePostingDate(text)) {
            if (p->prevMonth < 1 || p->prevMonth > 12 || p->month < 1 || p->month > 12) std::abort();
            if (parsePostingDate(p->text)->text != p->text) std::abort(); // a posting date stays as it is
        }
        (void)transactionDay(text);
        (void)monthFileName(text);
    } catch (const RunError& e) {
        if (e.number() != 6) std::abort();
    }
    return 0;
}
