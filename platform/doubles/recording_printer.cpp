#include "platform/doubles/recording_printer.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <cmath>

namespace platform {

namespace {
QString yesNo(bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); }
} // namespace

void RecordingPrinter::started() {
    if (page_ == 0) {
        page_ = 1;
        t_.line(QStringLiteral("print page 1"));
    }
}

void RecordingPrinter::setFont(const FontChoice& f) {
    t_.line(QStringLiteral("print font %1 %2 bold=%3 italic=%4")
                .arg(quoted(f.name), numberText(f.size), yesNo(f.bold), yesNo(f.italic)));
    inner_.setFont(f);
}

void RecordingPrinter::printLine(const QString& text) {
    started();
    // A line that would not fit goes to the top of a new page.
    if (inner_.currentY() > 0 && inner_.currentY() + inner_.lineHeight() > geometry_.printableHeight) {
        const int x = inner_.currentX();
        newPage();
        inner_.setCurrentX(x);
    }
    t_.line(QStringLiteral("print text %1 %2 %3").arg(inner_.currentX()).arg(inner_.currentY()).arg(quoted(text)));
    inner_.printLine(text);
}

void RecordingPrinter::circle(int x, int y, int radius) {
    started();
    t_.line(QStringLiteral("print circle %1 %2 %3").arg(x).arg(y).arg(radius));
    inner_.circle(x, y, radius);
}

void RecordingPrinter::picture(int x, int y, const QImage& image) {
    if (image.isNull()) return;
    started();
    t_.line(QStringLiteral("print picture %1 %2 %3 %4").arg(x).arg(y).arg(image.width() * 15).arg(image.height() * 15));
    inner_.picture(x, y, image);
}

void RecordingPrinter::newPage() {
    started();
    ++page_;
    t_.line(QStringLiteral("print page %1").arg(page_));
    inner_.newPage();
}

void RecordingPrinter::previewNext() { t_.line(QStringLiteral("print preview")); }

void RecordingPrinter::endDoc() {
    if (page_ == 0) return;
    t_.line(QStringLiteral("print enddoc"));
    page_ = 0;
    inner_.endDoc();
}

void RecordingPrinter::killDoc() {
    if (page_ == 0) return;
    t_.line(QStringLiteral("print killdoc"));
    page_ = 0;
    inner_.killDoc();
}

int RecordingPrinter::renderText(const QTextDocument& text, int first, int end, const QRect& rect) {
    started();
    const int next = inner_.renderText(text, first, end, rect);
    t_.line(QStringLiteral("print richtext page=%1 rect=%2,%3,%4,%5 first=%6 next=%7")
                .arg(page_)
                .arg(rect.left())
                .arg(rect.top())
                .arg(rect.left() + rect.width())
                .arg(rect.top() + rect.height())
                .arg(first)
                .arg(next));
    // The pictures the text holds where it was printed, at their size on paper.
    const double dpi = layoutDpi(text);
    for (QTextBlock b = text.findBlock(first); b.isValid() && b.position() < next; b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.charFormat().isImageFormat() || f.position() < first || f.position() >= next) continue;
            const QTextImageFormat img = f.charFormat().toImageFormat();
            t_.line(QStringLiteral("print picture in text page=%1 %2 %3x%4")
                        .arg(page_)
                        .arg(img.name())
                        .arg(std::lround(img.width() * 1440 / dpi))
                        .arg(std::lround(img.height() * 1440 / dpi)));
        }
    return next;
}

} // namespace platform
