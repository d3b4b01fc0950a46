#include "appraise/use_cases/print_job.h"

#include "appraise/printing/border_size.h"
#include "appraise/printing/closing.h"
#include "appraise/printing/inserts.h"
#include "appraise/printing/logo_settings.h"
#include "appraise/printing/print_geometry.h"
#include "common/basic_number.h"
#include "common/cp1252.h"
#include "common/file_names.h"
#include "common/run_error.h"
#include "common/text_file.h"
#include "common/trim_left_right_mid.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <optional>

namespace appraise {

using namespace common;
using namespace platform;

namespace {

// A position setting as a number; an empty setting counts as 0, letters are error 13.
int settingNumber(const std::string& text) {
    if (trim(text).empty()) return 0;
    return clng(cdbl(text));
}

// A page of the text: the characters it prints and the stretch of the page they take.
struct PageSlice {
    int first = 0, next = 0;
    Span area;
};

// One print of the text on screen, with what it learns on the way: where the closing and the
// signature block print, for the text to keep clear of them.
class PrintJob {
  public:
    PrintJob(Platform& p, Printer& out, LayoutSettings& settings, const AppraisalPrint& print)
        : p(p), out(out), settings(settings), print(print) {}

    bool run();

  private:
    // The closing at its alignment values; a setting that is not a number is shown and the
    // print goes on without it.
    void printClosing();
    // The border size and the logo factor as the files hold them now; false when the print
    // cannot go on (the user told).
    bool readBorder();
    // Places the signature block; false (the print discarded) when it cannot be placed.
    bool placeSignatureBlock();
    // Where the text's pages break, before anything of them is printed.
    // With the running head on the first page too when `headOnFirst`.
    std::vector<PageSlice> planPages(Span area0, int headHeight, bool headOnFirst) const;
    void printRunningHead(int page, int pages, int x, int y);
    void printSignature();
    void printBorder();
    void printLogo();
    void stop(const QString& message, Icon icon);

    Platform& p;
    Printer& out;
    LayoutSettings& settings;
    const AppraisalPrint& print;
    std::vector<PlacedLine> signature_;
    bool signatureBlock_ = false;
    std::optional<Span> closingSpan_, signatureSpan_;
};

// The text's margins on the page, in twips.
constexpr int marginLeft = 1840, marginTop = 3440, marginRight = 1540, marginBottom = 1440;
// How far the text keeps from what else a page holds.
constexpr int gap = 240;
const FontChoice headFont{QStringLiteral("Arial"), 8, false, false};

bool PrintJob::run() {
    printClosing();
    p.screen.setHourglass(true);
    p.screen.doEvents();
    if (!readBorder() || !placeSignatureBlock()) return false;
    const PageGeometry g = out.geometry();
    const int x0 = marginLeft - g.offsetLeft, x1 = (g.pageWidth - marginRight) - g.offsetLeft - 1;
    Span area0{marginTop - g.offsetTop, (g.pageHeight - marginBottom) - g.offsetTop - 1};
    // The text stays inside a border drawn round it: above its bottom row of circles.
    if (const Span inside = insideBorder(settings.bordersize); inside.top <= area0.top && inside.bottom > area0.top)
        area0.bottom = std::min(area0.bottom, std::max(area0.top, inside.bottom - gap - 1));
    int headHeight = 0;
    if (!print.runningHead.isEmpty()) {
        out.setFont(headFont);
        headHeight = out.lineHeight();
    }
    std::vector<PageSlice> pages = planPages(area0, headHeight, false);
    // Of several pages, the first says so too ("Page 1 of 3"), where the closing leaves it room.
    const Span firstHead{area0.top, area0.top + headHeight};
    const bool headOnFirst =
        headHeight > 0 && pages.size() > 1 &&
        !(closingSpan_ && closingSpan_->top < firstHead.bottom + gap && closingSpan_->bottom + gap > firstHead.top);
    if (headOnFirst) pages = planPages(area0, headHeight, true);
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        const PageSlice& page = pages[static_cast<size_t>(i)];
        if (i > 0) out.newPage();
        if (headHeight > 0 && (i > 0 || headOnFirst)) printRunningHead(i + 1, count, x0, area0.top);
        if (page.next > page.first)
            out.renderText(print.text, page.first, page.next,
                           QRect(QPoint(x0, page.area.top), QPoint(x1, page.area.bottom)));
        if (i == count - 1) printSignature();
        p.screen.doEvents();
        printBorder();
        printLogo();
    }
    out.endDoc();
    p.screen.setHourglass(false);
    return true;
}

void PrintJob::stop(const QString& message, Icon icon) {
    out.killDoc();
    p.screen.setHourglass(false);
    p.messages.show(message, {}, Buttons::Ok, icon);
}

bool PrintJob::readBorder() {
    if (!hasBorderSize()) {
        // Nothing is printed without a border size; the closing already sent is discarded.
        stop(QStringLiteral("You will need to set the size of the border for the printed appraisal and other layout "
                            "features for your particular printer by clicking on EDIT INSERTS and choosing BORDER "
                            "SIZE."),
             Icon::None);
        return false;
    }
    try {
        settings.bordersize = readBorderSize();
        if (hasLogoFactor()) settings.logofactor = readLogoFactor();
    } catch (const RunError&) {
        stop(QStringLiteral("The border size in bordsize.dat is too large to print with. Change it with Format and "
                            "Border Size."),
             Icon::Exclamation);
        return false;
    }
    return true;
}

bool PrintJob::placeSignatureBlock() {
    // Settings that take the signature's positions out of range stop the print before the
    // text is drawn.
    const auto block = passageLines(signatureFile);
    const bool hasBlock = block.has_value();
    const std::vector<std::string> lines = block.value_or(std::vector<std::string>{});
    try {
        signature_ = readyToSign(placeSignature(lines, settings.alignText[10], settings.align13, settings.bordersize),
                                 settings.bordersize, toAnsi(print.date));
    } catch (const RunError& e) {
        if (e.number() != err::Overflow) throw;
        stop(QStringLiteral("The signature block cannot be placed with these settings. Change %1.")
                 .arg(QString::fromStdString(e.detail())),
             Icon::Exclamation);
        return false;
    }
    signatureBlock_ = hasBlock;
    if (hasBlock && !signature_.empty()) {
        // The block's lines in the text's font, about 1.2 of its size apart.
        const auto [low, high] = std::minmax_element(signature_.begin(), signature_.end(),
                                                     [](const auto& a, const auto& b) { return a.y < b.y; });
        const int lineHeight = static_cast<int>(std::lround(print.textFont.size * 24));
        signatureSpan_ = Span{low->y, high->y + lineHeight};
    }
    return true;
}

void PrintJob::printClosing() {
    try {
        out.setCurrentY(settingNumber(settings.alignText[8]));
        out.setFont(FontChoice{QStringLiteral("Arial"), 8, false, false});
        const auto closing = passageLines(closingFile);
        if (!closing) return;
        const std::vector<std::string> lines = closingLines(*closing);
        const int top = settingNumber(settings.alignText[8]);
        out.setCurrentY(top);
        const int x = settingNumber(settings.alignText[9]);
        for (const auto& line : lines) {
            out.setCurrentX(x);
            out.printLine(fromAnsi(line));
        }
        if (!lines.empty()) closingSpan_ = Span{top, out.currentY()};
    } catch (const RunError& e) {
        p.messages.show(QString::fromStdString(str(e.number())));
        p.messages.show(QString::fromStdString(e.description()));
    }
}

std::vector<PageSlice> PrintJob::planPages(Span area0, int headHeight, bool headOnFirst) const {
    // The text is paged within its margins and kept clear of the closing on the first page, of
    // the running head on the others and of the signature block on the last: the page where the
    // rest of the text fits ends above the signature, or the text goes on to a new page.
    const QTextDocument& text = print.text;
    const int length = text.characterCount() - 1;
    std::vector<PageSlice> pages;
    int first = 0;
    for (int page = 1;; ++page) {
        std::vector<Span> printed;
        if (page == 1 && closingSpan_) printed.push_back(*closingSpan_);
        if ((page > 1 || headOnFirst) && headHeight > 0) printed.push_back(Span{area0.top, area0.top + headHeight});
        const Span full = clearOf(area0, printed, gap);
        if (signatureSpan_) printed.push_back(*signatureSpan_);
        const Span beside = clearOf(area0, printed, gap);
        // What a page holds is measured as the printer lays it out: the rectangle's last twip
        // counts.
        const int fitsFull = textFitting(text, first, full.height() + 1);
        const int fitsBeside = textFitting(text, first, beside.height() + 1);
        // The signature's page: where the rest fits beside it, or the last of the text when the
        // signature leaves a fresh page no room (settings that cannot be kept apart).
        const bool restFits = fitsFull >= length;
        const bool besideIt = restFits && !(page > 1 && fitsBeside == first);
        const Span use = besideIt ? beside : full;
        int next = std::max(first, besideIt ? fitsBeside : fitsFull);
        // The signature never goes to a page of its own: the last lines of the text go with it.
        // Only this page's lines and the few after it are looked at.
        if (signatureSpan_ && next > first && next < length) {
            const int rest = static_cast<int>(lineStarts(text, next, length, linesWithSignature).size());
            if (rest < linesWithSignature) {
                const std::vector<int> here = lineStarts(text, first, next);
                const int onPage = static_cast<int>(here.size());
                const int keep = onPage - (linesWithSignature - rest);
                if (onPage > 1) next = here[static_cast<size_t>(std::max(keep, 1))];
            }
        }
        // An item's heading goes to the page its item starts on, not alone at the foot of this one.
        if (next > first && next < length) {
            const std::vector<int> here = lineStarts(text, first, next);
            if (!here.empty() && here.back() > first &&
                text.findBlock(here.back()).text().trimmed().startsWith(QStringLiteral("Item number")))
                next = here.back();
        }
        pages.push_back(PageSlice{first, next, use});
        if (next >= length || (next == first && page > 1 && !restFits)) break;
        first = next;
    }
    return pages;
}

void PrintJob::printRunningHead(int page, int pages, int x, int y) {
    out.setFont(headFont);
    out.setCurrentY(y);
    out.setCurrentX(x);
    out.printLine(QStringLiteral("%1      Page %2 of %3").arg(print.runningHead).arg(page).arg(pages));
}

void PrintJob::printSignature() {
    if (!signatureBlock_) return;
    const FontChoice& f = print.textFont;
    out.setFont(FontChoice{f.name, f.size, f.bold, false});
    for (const PlacedLine& line : signature_) {
        out.setCurrentY(line.y);
        out.setCurrentX(line.x);
        out.printLine(fromAnsi(line.text));
    }
}

void PrintJob::printBorder() {
    for (const Circle& c : borderCircles(settings.bordersize)) out.circle(c.x, c.y, c.radius);
}

void PrintJob::printLogo() {
    // The logo, unless the store chose its name in wording or no heading at all.
    if (!print.logo.isNull() && !isSet(HeadingFlag::NameInWording) && !isSet(HeadingFlag::NoHeading))
        out.picture(static_cast<int>(std::lround(800 * settings.logofactor.toDouble())), 1, print.logo);
}

} // namespace

bool printAppraisal(Platform& p, Printer& printer, LayoutSettings& settings, const AppraisalPrint& print) {
    return PrintJob(p, printer, settings, print).run();
}

} // namespace appraise
