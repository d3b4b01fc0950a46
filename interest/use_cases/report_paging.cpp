#include "interest/use_cases/report_paging.h"

namespace interest {

void ReportPaging::startPage() {
    ++pages_;
    pageStarts_(pages_);
    used_ = headingLines_;
    if (!columns_.empty()) {
        line_(columns_);
        ++used_;
    }
}

void ReportPaging::add(std::string_view text, bool columns) {
    // A page is started at the first line; column headings need a line of their own after them.
    const bool newPage = pages_ == 0 || (columns ? used_ + 2 > perPage_ : used_ + 1 > perPage_);
    if (columns) {
        columns_ = text;
        if (newPage) {
            startPage();
        } else if (!columns_.empty()) {
            line_(columns_);
            ++used_;
        }
        return;
    }
    if (newPage) startPage();
    line_(text);
    ++used_;
}

void ReportPaging::end() {
    if (pages_ == 0) startPage();
}

} // namespace interest
