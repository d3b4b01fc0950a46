#include "platform/courier_pdf.h"

#include "common/env.h"

#include <cstdio>

namespace platform {

using namespace common;

namespace {
// The objects made before the pages, and those written at the end in the places kept for them.
constexpr int catalogObject = 1, pagesObject = 2, fontObject = 3, totalObject = 4, infoObject = 5;

std::string number(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.2f", v);
    return s;
}
} // namespace

std::string pdfString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '(';
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    out += ')';
    return out;
}

CourierPdf::CourierPdf(const std::string& path, const PageGeometry& page, double pointSize, int lineTwips,
                       const std::string& title)
    : page_(page), pointSize_(pointSize), lineTwips_(lineTwips), title_(title) {
    Env& env = Env::current();
    if (env.info(path).exists) env.remove(path);
    file_ = env.open(path, true, FileLock::Exclusive);
    file_->truncate(0);
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    offsets_.resize(infoObject, -1);
    offsets_[catalogObject - 1] = end();
    write("1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    offsets_[fontObject - 1] = end();
    write("3 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>\nendobj\n");
}

CourierPdf::~CourierPdf() = default;

int64_t CourierPdf::end() const { return written_ + static_cast<int64_t>(buffer_.size()); }

int CourierPdf::newObject() {
    offsets_.push_back(end());
    return static_cast<int>(offsets_.size());
}

void CourierPdf::write(std::string_view bytes) {
    buffer_ += bytes;
    if (buffer_.size() >= (1u << 20)) flush();
}

void CourierPdf::flush() {
    if (buffer_.empty()) return;
    file_->writeAt(written_, buffer_);
    written_ += static_cast<int64_t>(buffer_.size());
    buffer_.clear();
}

void CourierPdf::addPage(const std::vector<Line>& lines) {
    // Points from the bottom left of the paper; the first baseline a font's ascent below the top
    // of the printable area, as a printer puts it.
    const double left = page_.offsetLeft / 20.0;
    const double top = (page_.pageHeight - page_.offsetTop) / 20.0 - pointSize_ * 0.83;
    const double leading = lineTwips_ / 20.0;
    const double advance = pointSize_ * 0.6; // every Courier glyph is 600 units wide
    std::string content;
    content.reserve(lines.size() * 100 + 64);
    content +=
        "BT /F1 " + number(pointSize_) + " Tf " + number(leading) + " TL " + number(left) + ' ' + number(top) + " Td\n";
    std::string totals; // the number of pages, drawn after the text where a line ends with it
    double y = top;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) {
            content += "T*";
            y -= leading;
        }
        content += pdfString(lines[k].text);
        content += " Tj\n";
        if (lines[k].withTotal)
            totals += "q 1 0 0 1 " + number(left + advance * static_cast<double>(lines[k].text.size())) + ' ' +
                      number(y) + " cm /Tot Do Q\n";
    }
    content += "ET\n";
    content += totals;

    const int contents = newObject();
    write(std::to_string(contents) + " 0 obj\n<< /Length " + std::to_string(content.size()) + " >>\nstream\n");
    write(content);
    write("endstream\nendobj\n");
    const int pageObject = newObject();
    write(std::to_string(pageObject) + " 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " +
          number(page_.pageWidth / 20.0) + ' ' + number(page_.pageHeight / 20.0) +
          "] /Resources << /Font << /F1 3 0 R >> /XObject << /Tot 4 0 R >> >> /Contents " + std::to_string(contents) +
          " 0 R >>\nendobj\n");
    pageObjects_.push_back(pageObject);
}

void CourierPdf::finish() {
    if (finished_) return;
    if (pageObjects_.empty()) addPage({});
    const std::string total =
        "BT /F1 " + number(pointSize_) + " Tf 0 0 Td " + pdfString(std::to_string(pages())) + " Tj ET\n";
    offsets_[totalObject - 1] = end();
    write("4 0 obj\n<< /Type /XObject /Subtype /Form /BBox [0 -" + number(pointSize_) + ' ' + number(pointSize_ * 8) +
          ' ' + number(pointSize_ * 2) + "] /Resources << /Font << /F1 3 0 R >> >> /Length " +
          std::to_string(total.size()) + " >>\nstream\n" + total + "endstream\nendobj\n");
    offsets_[pagesObject - 1] = end();
    std::string kids;
    kids.reserve(pageObjects_.size() * 8);
    for (const int p : pageObjects_) kids += std::to_string(p) + " 0 R ";
    write("2 0 obj\n<< /Type /Pages /Count " + std::to_string(pages()) + " /Kids [ " + kids + "] >>\nendobj\n");
    offsets_[infoObject - 1] = end();
    write("5 0 obj\n<< /Title " + pdfString(title_) + " >>\nendobj\n");
    const int64_t xref = end();
    std::string table = "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
    for (const int64_t at : offsets_) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(at));
        table += entry;
    }
    write(table);
    write("trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" +
          std::to_string(xref) + "\n%%EOF\n");
    flush();
    file_->syncData(); // whole on the disk before it is given its name
    file_.reset();
    finished_ = true;
}

} // namespace platform
