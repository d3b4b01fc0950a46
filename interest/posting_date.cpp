#include "interest/posting_date.h"

#include "common/basic_number.h"
#include "common/dates.h"
#include "common/run_error.h"
#include "common/trim_left_right_mid.h"
#include "store/month_files.h"

namespace interest {

using namespace common;

namespace {
// Day: the two characters after the first dash found from position `from` (1-based) on.
int32_t dayAfterDash(std::string_view text, size_t from, size_t to) {
    for (size_t i = from; i <= std::min(to, text.size()); ++i)
        if (text[i - 1] == '-') return clng(val(mid(text, i + 1, 2)));
    return 0;
}
} // namespace

std::string normalisePostingDate(std::string_view typed) {
    std::string normal = normaliseDashedDate(std::string(trim(typed)));
    if (normal == "ERROR") return normal;
    // Two digits of the year, as the store's dates have them ("1-15-5" is "1-15-05").
    if (normal.size() >= 2 && normal[normal.size() - 2] == '-')
        return normal.substr(0, normal.size() - 1) + '0' + normal.back();
    return normal;
}

std::optional<PostingDate> parsePostingDate(std::string_view typed) {
    PostingDate d;
    d.text = normalisePostingDate(typed);
    if (d.text == "ERROR") return std::nullopt;
    // The month file is named from the date as normalised: "01-15-05" posts to "1-05.dat", the
    // file the store's other programs name for January 2005.
    d.monthFile = store::monthFileName(d.text);
    if (!store::isMonthCode(left(d.monthFile, 4))) return std::nullopt;
    d.pointerFile = store::pointerFileName(d.monthFile);
    d.month = clng(val(left(d.text, 2)));
    d.day = dayAfterDash(d.text, 1, d.text.size());
    d.year = cint(val(right(d.text, 2)));
    d.prevMonth = d.month - 1;
    d.prevYear = d.year;
    if (d.prevMonth < 1) {
        d.prevMonth = 12;
        // Two-digit years: the month before January 00 is December 99.
        d.prevYear = d.year == 0 ? 99 : static_cast<int16_t>(d.year - 1);
    }
    return d;
}

PostingDate postingDateOf(std::string_view text) {
    if (auto d = parsePostingDate(text)) return *d;
    throw RunError(err::InvalidCall, std::string(text));
}

TransactionDay transactionDay(std::string_view txdate) {
    TransactionDay d;
    d.month = clng(val(left(txdate, 2)));
    d.day = dayAfterDash(txdate, 2, 8);
    d.year = cint(val(right(trim(txdate), 2)));
    return d;
}

} // namespace interest
