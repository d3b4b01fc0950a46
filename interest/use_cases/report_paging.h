#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace interest {

// The report's lines laid out in pages as they come: so many lines a page, the heading on top of
// every page, the column headings in force under it (the lines as the store's bytes). Column headings never end a page:
// their lines follow them. `pageStarts(n)` is told before the first line of page n, `line` each line of a page after
// the heading (column headings included).
class ReportPaging {
  public:
    ReportPaging(int perPage, int headingLines, std::function<void(int)> pageStarts,
                 std::function<void(std::string_view)> line)
        : perPage_(perPage), headingLines_(headingLines), pageStarts_(std::move(pageStarts)), line_(std::move(line)) {}

    // A line of the report, or (`columns`) the column headings from here on ("" for none).
    void add(std::string_view text, bool columns);
    // The report ended: a report without a line is one empty page.
    void end();
    int pages() const { return pages_; }

  private:
    void startPage();
    int perPage_, headingLines_;
    std::function<void(int)> pageStarts_;
    std::function<void(std::string_view)> line_;
    std::string columns_;
    int used_ = 0;
    int pages_ = 0;
};

} // namespace interest
