#pragma once
#include "common/page_geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace common {
class EnvFile;
}

namespace platform {

// A PDF of fixed-pitch lines in the standard Courier face, written as it goes: no text layout,
// no font to embed, the store's one-byte characters as they are (WinAnsi is the store's code
// page). For long reports, such as a posting's, where a line is a line and nothing else. Pages
// are written one by one; the number of pages ("Page 3 of 760") may be printed before it is
// known. Written through the operating-system seam; errors are run-time errors.
class CourierPdf {
  public:
    // One line of a page. With `withTotal` the number of pages follows its text.
    struct Line {
        std::string text; // Windows-1252 bytes
        bool withTotal = false;
    };

    // A new file at `path` (replaced), pages of `page`, lines of `pointSize` every `lineTwips`.
    CourierPdf(const std::string& path, const common::PageGeometry& page, double pointSize, int lineTwips,
               const std::string& title);
    ~CourierPdf();
    CourierPdf(const CourierPdf&) = delete;
    CourierPdf& operator=(const CourierPdf&) = delete;

    void addPage(const std::vector<Line>& lines);
    int pages() const { return static_cast<int>(pageObjects_.size()); }
    // The number of pages, the page tree and the rest written and made durable; the file is
    // complete. A document without a page gets one empty page.
    void finish();

  private:
    int64_t end() const; // the end of the file, what is still in the buffer included
    int newObject();     // its number, its place the current end of the file
    void write(std::string_view bytes);
    void flush();

    std::unique_ptr<common::EnvFile> file_;
    common::PageGeometry page_;
    double pointSize_;
    int lineTwips_;
    std::string title_;
    std::string buffer_;
    int64_t written_ = 0;          // bytes in the file, before the buffer
    std::vector<int64_t> offsets_; // of each object, from object 1
    std::vector<int> pageObjects_; // the page objects, in order
    bool finished_ = false;
};

// The bytes as a PDF string: parentheses and backslashes escaped, control characters as blanks.
std::string pdfString(std::string_view text);

} // namespace platform
