#pragma once
#include "appraise/printing/layout_settings.h"
#include "platform/platform.h"

#include <QImage>

class QTextDocument;

namespace appraise {

// What the print of an appraisal takes from the worksheet.
struct AppraisalPrint {
    // The text as shown, laid out as its text area wraps it: the printed lines break where the
    // screen's do.
    const QTextDocument& text;
    // The text's font; the signature block prints in it, upright.
    platform::FontChoice textFont;
    // The store's logo; none is printed when it is null.
    const QImage& logo;
    // Whose appraisal it is and its number ("Ann Smith, appraisal 00012001"), at the top of every
    // page of an appraisal of several, before "Page N of M" (the first page's where the closing
    // leaves it room).
    QString runningHead;
    // The appraisal's date, under the signature block.
    QString date;
};

// Prints the appraisal on `printer`: the closing on the first page; the text paged within its
// margins and kept clear of the closing (first page), the running head (every page of several) and the
// signature block (last page); the signature block ready to sign, never without the end of the
// text; the border of circles and the logo on every page; then ends the document. The border
// size and logo factor are read again for the print and kept in `settings`.
//
// Returns false when the print stopped: no border size, a border size too large to print with, or
// a signature block that cannot be placed with the settings. The user is told why and whatever
// was sent to the printer is discarded.
bool printAppraisal(platform::Platform& p, platform::Printer& printer, LayoutSettings& settings,
                    const AppraisalPrint& print);
inline bool printAppraisal(platform::Platform& p, LayoutSettings& settings, const AppraisalPrint& print) {
    return printAppraisal(p, p.printer, settings, print);
}

// The fewest lines of text that go with the signature block to its page, where the text has them.
inline constexpr int linesWithSignature = 3;

} // namespace appraise
