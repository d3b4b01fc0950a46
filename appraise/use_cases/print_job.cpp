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

// One print of the text on screen, with what it learns on the way: where the closing and the
// signature block print, for the text to keep clear of them.
class PrintJob {
  public:
    PrintJob(Platform& p, LayoutSettings& settings, const AppraisalPrint& print)
        : p(p), settings(settings), print(print) {}

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
    void printText(int left, int top, int right, int bottom);
    void printSignature();
    void printBorder();
    void stop(const QString& message, Icon icon);

    Platform& p;
    LayoutSettings& settings;
    const AppraisalPrint& print;
    std::vector<PlacedLine> signature_;
    bool signatureBlock_ = false;
    std::optional<Span> closingSpan_, signatureSpan_;
};

bool PrintJob::run() {
    printClosing();
    p.screen.setHourglass(true);
    p.screen.doEvents();
    if (!readBorder() || !placeSignatureBlock()) return false;
    printText(1840, 3440, 1540, 1440);
    printSignature();
    p.screen.doEvents();
    printBorder();
    // The logo, unless the store chose its name in wording or no heading at all.
    if (!print.logo.isNull() && !isSet(HeadingFlag::NameInWording) && !isSet(HeadingFlag::NoHeading))
        p.printer.picture(static_cast<int>(std::lround(800 * settings.logofactor.toDouble())), 1, print.logo);
    p.printer.endDoc();
    p.screen.setHourglass(false);
    return true;
}

void PrintJob::stop(const QString& message, Icon icon) {
    p.printer.killDoc();
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
        signature_ = placeSignature(lines, settings.alignText[10], settings.align13, settings.bordersize);
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
        p.printer.setCurrentY(settingNumber(settings.alignText[8]));
        p.printer.setFont(FontChoice{QStringLiteral("Arial"), 8, false, false});
        const auto closing = passageLines(closingFile);
        if (!closing) return;
        const std::vector<std::string> lines = closingLines(*closing);
        const int top = settingNumber(settings.alignText[8]);
        p.printer.setCurrentY(top);
        const int x = settingNumber(settings.alignText[9]);
        for (const auto& line : lines) {
            p.printer.setCurrentX(x);
            p.printer.printLine(fromAnsi(line));
        }
        if (!lines.empty()) closingSpan_ = Span{top, p.printer.currentY()};
    } catch (const RunError& e) {
        p.messages.show(QString::fromStdString(str(e.number())));
        p.messages.show(QString::fromStdString(e.description()));
    }
}

void PrintJob::printText(int left, int top, int right, int bottom) {
    // The text is paged within its margins and kept clear of the closing on the first page and
    // of the signature block on the last: the page where the rest of the text fits ends above
    // the signature, or the text goes on to a new page.
    constexpr int gap = 240;
    const PageGeometry g = p.printer.geometry();
    const int x0 = left - g.offsetLeft, x1 = (g.pageWidth - right) - g.offsetLeft - 1;
    const Span area0{top - g.offsetTop, (g.pageHeight - bottom) - g.offsetTop - 1};
    const QTextDocument& text = print.text;
    const int length = text.characterCount() - 1;
    int first = 0;
    for (int page = 1;; ++page) {
        std::vector<Span> printed;
        if (page == 1 && closingSpan_) printed.push_back(*closingSpan_);
        const Span full = clearOf(area0, printed, gap);
        if (signatureSpan_) printed.push_back(*signatureSpan_);
        const Span beside = clearOf(area0, printed, gap);
        const int fitsFull = textFitting(text, first, full.height());
        const int fitsBeside = textFitting(text, first, beside.height());
        // The signature's page: where the rest fits beside it, or the last of the text when the
        // signature leaves a fresh page no room (settings that cannot be kept apart).
        const bool restFits = fitsFull >= length;
        const bool besideIt = restFits && !(page > 1 && fitsBeside == first);
        const Span use = besideIt ? beside : full;
        int next = first;
        if ((besideIt ? fitsBeside : fitsFull) > first)
            next = p.printer.renderText(text, first, QRect(QPoint(x0, use.top), QPoint(x1, use.bottom)));
        if (next >= length || (next == first && page > 1 && !restFits)) break;
        first = next;
        p.printer.newPage();
    }
}

void PrintJob::printSignature() {
    if (!signatureBlock_) return;
    const FontChoice& f = print.textFont;
    p.printer.setFont(FontChoice{f.name, f.size, f.bold, false});
    for (const PlacedLine& line : signature_) {
        p.printer.setCurrentY(line.y);
        p.printer.setCurrentX(line.x);
        p.printer.printLine(fromAnsi(line.text));
    }
}

void PrintJob::printBorder() {
    for (const Circle& c : borderCircles(settings.bordersize)) p.printer.circle(c.x, c.y, c.radius);
}

} // namespace

bool printAppraisal(Platform& p, LayoutSettings& settings, const AppraisalPrint& print) {
    return PrintJob(p, settings, print).run();
}

} // namespace appraise
