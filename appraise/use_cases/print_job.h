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
};

// Prints the appraisal on the printer: the closing on the first page, the text paged within its
// margins and kept clear of the closing (first page) and the signature block (last page), the
// signature block, the border of circles and the logo, then ends the document. The border size
// and logo factor are read again for the print and kept in `settings`.
//
// Returns false when the print stopped: no border size, a border size too large to print with, or
// a signature block that cannot be placed with the settings. The user is told why and whatever
// was sent to the printer is discarded.
bool printAppraisal(platform::Platform& p, LayoutSettings& settings, const AppraisalPrint& print);

} // namespace appraise
